#include "addresses/address_template.h"

#include "data/dataset.h"
#include "data/table.h"

#include <QRegularExpression>

namespace zep {

namespace {

// The lines of a memo: a final line break ends the last line and starts none.
QStringList templateLines(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(lineBreak);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString fillLine(const QString& line, const AddressFieldText& fieldText) {
    QString output;
    QString name;
    bool inPlaceholder = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'[') {
            name.clear();
            inPlaceholder = line.indexOf(u']', i) >= 0;
        }
        if (!inPlaceholder) {
            output.append(c);
        } else if (c == u']') {
            inPlaceholder = false;
            output.append(fieldText(name).value_or(name));
        } else if (c != u'[') {
            name.append(c);
        }
    }
    return output;
}

} // namespace

QString FillAddressTemplate(const QString& templateText, const AddressFieldText& fieldText) {
    QString result;
    for (const QString& line : templateLines(templateText))
        result += fillLine(line, fieldText) + QStringLiteral("\r\n");
    return result;
}

AddressFieldText currentRecordFields(DataSet& address) {
    return [&address](const QString& name) -> std::optional<QString> {
        for (const QString& field : address.fieldNames()) {
            if (field.compare(name, Qt::CaseInsensitive) == 0)
                return address.isEmpty() ? QString() : address.field(field).asString();
        }
        return std::nullopt;
    };
}

std::optional<QString> addressClipboardText(Table& templates, DataSet& address, int currentTemplate) {
    if (currentTemplate < 1 || !templates.isActive() || !address.isActive())
        return std::nullopt;
    if (!templates.locate(u"Nr", currentTemplate))
        return std::nullopt;
    return FillAddressTemplate(templates.field(2).asString(), currentRecordFields(address));
}

} // namespace zep
