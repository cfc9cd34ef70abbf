#pragma once

#include <QString>
#include <QStringView>

namespace zep {

// The entry search compares captions with only the letters a to z upper-cased: an umlaut or any
// other character must match as it stands.
QString foldSearchText(QStringView text);

// True when the caption, folded the same way, begins with the folded search text. An empty search
// text matches nothing.
bool captionMatchesSearch(QStringView caption, QStringView foldedText);

} // namespace zep
