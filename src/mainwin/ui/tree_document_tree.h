#pragma once

class QTreeWidget;

namespace zep {

// Fills the resubmission tree (TVD) with its fixed nodes; "Heute" is the fourth node in pre-order.
// The nodes carry number 0 and their state image as type.
void fillDocumentTree(QTreeWidget& tree);

} // namespace zep
