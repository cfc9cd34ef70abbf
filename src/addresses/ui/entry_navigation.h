#pragma once

#include <QStringView>

class QTreeWidget;

namespace zep {

// The navigation buttons BtnNav1..BtnNav6 of the address and topic forms: collapse, up, down, expand,
// to the parent entry, to the parent's next sibling. The root is never selected by them.
void navigateEntryTree(QTreeWidget& tree, QStringView buttonName);

} // namespace zep
