#pragma once

#include "mainwin/tree_model.h"

#include <QString>
#include <QStringView>

namespace zep {

// The entry search compares captions with only the letters a to z upper-cased: an umlaut or any
// other character must match as it stands.
QString foldSearchText(QStringView text);

// True when the caption, folded the same way, begins with the folded search text. An empty search
// text matches nothing.
bool captionMatchesSearch(QStringView caption, QStringView foldedText);

// The first node from start on, in pre-order with collapsed branches, whose caption begins with text
// (compared as above); nullptr when none does or text is empty.
TreeModel::Node* findEntryByCaption(TreeModel::Node* start, QStringView text);

} // namespace zep
