#include "printing/print_line.h"

#include <algorithm>

namespace zep {

QString SubstitutePrintLine(const QString& line, const QStringList& knownNames, const PrintFieldText& fieldText) {
    QString output;
    QString name;
    bool inPlaceholder = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'[') {
            name.clear();
            inPlaceholder = line.indexOf(u']', i) >= 0;
        } else if (!inPlaceholder) {
            output += c;
        } else if (c == u']') {
            inPlaceholder = false;
            const std::optional<QString> text =
                knownNames.contains(name, Qt::CaseInsensitive) ? fieldText(name) : std::nullopt;
            output += text ? *text : name;
        } else {
            name += c;
        }
    }
    return output;
}

bool isBlankPrintLine(const QString& line) {
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u' '; });
}

} // namespace zep
