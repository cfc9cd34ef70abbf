#include "app/font_string.h"

#include <QList>

#include <algorithm>

namespace zep {

namespace {

QChar flag(bool on) {
    return on ? u'1' : u'0';
}

bool isFlagField(QStringView field) {
    return field.size() == 4 && std::all_of(field.begin(), field.end(), [](QChar c) { return c == u'0' || c == u'1'; });
}

void applyFlags(QStringView field, FontDescription& font) {
    if (!isFlagField(field))
        return;
    font.bold = field[0] == u'1';
    font.italic = field[1] == u'1';
    font.underline = field[2] == u'1';
    font.strikeOut = field[3] == u'1';
}

void applySize(QStringView field, FontDescription& font) {
    bool ok = false;
    const int size = field.toInt(&ok);
    if (ok && size > 0)
        font.pointSize = size;
}

} // namespace

QString encodeFontString(const FontDescription& font) {
    const QString flags = QString() + flag(font.bold) + flag(font.italic) + flag(font.underline) + flag(font.strikeOut);
    return font.name + u';' + flags + u';' + QString::number(font.pointSize) + u';';
}

FontDescription applyFontString(QStringView text, FontDescription base) {
    const QList<QStringView> fields = text.split(u';');
    if (!fields.value(0).isEmpty())
        base.name = fields[0].toString();
    applyFlags(fields.value(1), base);
    applySize(fields.value(2), base);
    return base;
}

} // namespace zep
