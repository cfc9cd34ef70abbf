#include "mainwin/address_summary.h"

#include "data/dataset.h"

namespace zep {

namespace {

const QString Indent = QStringLiteral("    ");

struct LabelledField {
    const char16_t* field;
    const char16_t* label; // empty: the value stands alone
};

// Appends the lines of one group and, when there are any, its heading in front of them.
class GroupBuilder {
public:
    GroupBuilder(std::vector<SummaryLine>& lines, const SummaryFieldReader& field) : lines_(lines), field_(field) {}

    void begin() { start_ = lines_.size(); }
    void end(const QString& heading) {
        if (lines_.size() > start_)
            lines_.insert(lines_.begin() + std::ptrdiff_t(start_), SummaryLine{heading, true});
    }

    void add(std::initializer_list<LabelledField> fields) {
        for (const LabelledField& entry : fields) {
            const QString value = field_(QString::fromUtf16(entry.field));
            if (value.isEmpty())
                continue;
            const QString label = QString::fromUtf16(entry.label);
            lines_.push_back({label.isEmpty() ? Indent + value : Indent + label + QStringLiteral(": ") + value});
        }
    }

    // Postcode and town share a line; a postcode without town keeps its trailing blank.
    void addPostcodeAndTown() {
        const QString postcode = field_(QStringLiteral("PLZ1"));
        const QString town = field_(QStringLiteral("Ort"));
        if (postcode.isEmpty() && town.isEmpty())
            return;
        lines_.push_back({postcode.isEmpty() ? Indent + town : Indent + postcode + u' ' + town});
    }

private:
    std::vector<SummaryLine>& lines_;
    const SummaryFieldReader& field_;
    size_t start_ = 0;
};

QString escapedLine(const SummaryLine& line) {
    const QString text = line.text.toHtmlEscaped();
    return line.heading ? QStringLiteral("<b>") + text + QStringLiteral("</b>") : text;
}

} // namespace

std::vector<SummaryLine> addressSummaryLines(const SummaryFieldReader& field) {
    std::vector<SummaryLine> lines;
    GroupBuilder group(lines, field);

    group.begin();
    group.add({{u"Tel1", u"Tel1"},
               {u"Tel2", u"Tel2"},
               {u"Tel3", u"Tel3"},
               {u"Tel4", u"Tel4"},
               {u"Tel5", u"Tel5"},
               {u"Tel6", u"Tel6"},
               {u"Fax", u"Fax1"},
               {u"Fax2", u"Fax2"},
               {u"Mail", u"Mail1"},
               {u"Mail2", u"Mail2"},
               {u"Internet1", u"Internet1"},
               {u"Internet2", u"Internet2"}});
    group.end(QStringLiteral("Kommunikation:"));

    group.begin();
    group.add({{u"Strasse", u""}});
    group.addPostcodeAndTown();
    group.end(QStringLiteral("Anschrift:"));

    group.begin();
    group.add({{u"Feld1", u"Feld1"},
               {u"Feld2", u"Feld2"},
               {u"Feld3", u"Feld3"},
               {u"Feld4", u"Feld4"},
               {u"Feld5", u"Feld5"},
               {u"Feld6", u"Feld6"},
               {u"Datum1", u"Datum1"},
               {u"Datum2", u"Datum2"},
               {u"Zahl1", u"Zahl1"},
               {u"Zahl2", u"Zahl2"}});
    group.end(QStringLiteral("Weitere Felder:"));

    group.begin();
    group.add({{u"BBank", u""}, {u"BBLZ", u"BLZ"}, {u"BKonto", u"Konto"}});
    group.end(QStringLiteral("Bankverbindung:"));

    group.begin();
    group.add({{u"AnredeBrief", u""}, {u"Anrede", u""}, {u"Herr_Frau", u""}, {u"Grusswort", u""}});
    group.end(QStringLiteral("Serienbrief:"));
    return lines;
}

// Blanks are kept as typed: every line is preformatted.
QString addressSummaryHtml(const std::vector<SummaryLine>& lines) {
    QString html;
    for (const SummaryLine& line : lines)
        html += QStringLiteral("<p style=\"margin:0; white-space:pre\">") + escapedLine(line) + QStringLiteral("</p>");
    return html;
}

SummaryFieldReader currentRecordReader(DataSet& dataSet) {
    return [&dataSet](const QString& name) {
        const int position = dataSet.fieldPosition(name);
        if (position < 0 || dataSet.isEmpty())
            return QString();
        const FieldRef field = dataSet.field(position);
        return field.isNull() ? QString() : field.asString();
    };
}

QString ShowAddressSummary(DataSet& addresses) {
    return addressSummaryHtml(addressSummaryLines(currentRecordReader(addresses)));
}

} // namespace zep
