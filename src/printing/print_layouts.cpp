#include "printing/print_layouts.h"

#include "data/table.h"

namespace zep {

namespace {

QString text(DataSet& table, const QString& name) {
    return table.field(name).asString();
}

QString numbered(const char16_t* prefix, int i) {
    return QString::fromUtf16(prefix) + QString::number(i);
}

void setNumber(Table& table, const QString& name, const QString& value) {
    table.field(name).setValue(printFieldValue(value));
}

void setText(Table& table, const QString& name, const QString& value) {
    table.field(name).setValue(value);
}

PrintFont readFont(DataSet& table, const QString& suffix) {
    return decodePrintFont(text(table, QStringLiteral("FN") + suffix), text(table, QStringLiteral("FS") + suffix),
                           text(table, QStringLiteral("FG") + suffix));
}

void writeFont(Table& table, const QString& suffix, const PrintFont& font) {
    setText(table, QStringLiteral("FN") + suffix, font.name.left(PrintFontNameLength));
    setText(table, QStringLiteral("FS") + suffix, encodePrintFontStyle(font));
    setText(table, QStringLiteral("FG") + suffix, QString::number(font.pointSize));
}

} // namespace

AddressListLayout readAddressListLayout(DataSet& table) {
    AddressListLayout layout;
    layout.pageWidth = text(table, QStringLiteral("B"));
    layout.pageHeight = text(table, QStringLiteral("H"));
    layout.top = text(table, QStringLiteral("RO"));
    layout.bottom = text(table, QStringLiteral("RU"));
    layout.left = text(table, QStringLiteral("RL"));
    layout.right = text(table, QStringLiteral("RR"));
    layout.font = readFont(table, QString());
    for (int i = 1; i <= PrintLineCount; ++i)
        layout.lines[size_t(i - 1)] = text(table, numbered(u"T", i));
    return layout;
}

void writeAddressListLayout(Table& table, const QString& name, const AddressListLayout& layout) {
    setText(table, QStringLiteral("Bezeichnung"), name);
    setNumber(table, QStringLiteral("B"), layout.pageWidth);
    setNumber(table, QStringLiteral("H"), layout.pageHeight);
    setNumber(table, QStringLiteral("RO"), layout.top);
    setNumber(table, QStringLiteral("RU"), layout.bottom);
    setNumber(table, QStringLiteral("RL"), layout.left);
    setNumber(table, QStringLiteral("RR"), layout.right);
    writeFont(table, QString(), layout.font);
    for (int i = 1; i <= PrintLineCount; ++i)
        setText(table, numbered(u"T", i), layout.lines[size_t(i - 1)]);
}

EnvelopeLayout readEnvelopeLayout(DataSet& table) {
    EnvelopeLayout layout;
    layout.width = text(table, QStringLiteral("B"));
    layout.height = text(table, QStringLiteral("H"));
    for (int i = 1; i <= PrintLineCount; ++i) {
        EnvelopeLine& line = layout.lines[size_t(i - 1)];
        line.text = text(table, numbered(u"T", i));
        line.x = text(table, numbered(u"X", i));
        line.y = text(table, numbered(u"Y", i));
        line.angle = text(table, numbered(u"W", i));
        line.font = readFont(table, QString::number(i));
    }
    return layout;
}

void writeEnvelopeLayout(Table& table, const QString& name, const EnvelopeLayout& layout) {
    setText(table, QStringLiteral("Bezeichnung"), name);
    setNumber(table, QStringLiteral("B"), layout.width);
    setNumber(table, QStringLiteral("H"), layout.height);
    for (int i = 1; i <= PrintLineCount; ++i) {
        const EnvelopeLine& line = layout.lines[size_t(i - 1)];
        setText(table, numbered(u"T", i), line.text);
        setNumber(table, numbered(u"X", i), line.x);
        setNumber(table, numbered(u"Y", i), line.y);
        setNumber(table, numbered(u"W", i), line.angle);
        writeFont(table, QString::number(i), line.font);
    }
}

std::vector<LayoutName> readLayoutNames(DataSet& table) {
    std::vector<LayoutName> names;
    table.first();
    while (!table.eof()) {
        names.push_back({text(table, QStringLiteral("Bezeichnung")), int(table.field(u"Nr").asInteger())});
        table.next();
    }
    return names;
}

PrintFieldText recordFieldText(DataSet& record) {
    return [&record](const QString& name) -> std::optional<QString> {
        if (record.fieldPosition(name) < 0)
            return std::nullopt;
        return record.field(name).asString();
    };
}

} // namespace zep
