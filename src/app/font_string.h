#pragma once

#include <QString>
#include <QStringView>

namespace zep {

// A font as the settings keep it, without a GUI font object.
struct FontDescription {
    QString name;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int pointSize = 0;

    friend bool operator==(const FontDescription&, const FontDescription&) = default;
};

// "name;flags;size;" where flags are four "0"/"1" for bold, italic, underline and strike-out.
QString encodeFontString(const FontDescription& font);

// Applies the readable parts of a font string to a base font: the name when not empty, the flags
// only when exactly four "0"/"1" characters, the size only when a positive integer. Whatever is
// missing or malformed keeps the base's value, so an empty string returns the base unchanged.
FontDescription applyFontString(QStringView text, FontDescription base);

} // namespace zep
