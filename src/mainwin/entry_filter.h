#pragma once

#include <QList>
#include <QString>

namespace zep {

// The document list's restriction to the selected tree entry. Documents with NrFirma 0 belong to
// every entry of either tree. With the sub-entries toggle down, the descendants' numbers (in
// pre-order) are listed too; on the root the whole tree is one term "> 0".
QString entryFilterText(const QString& linkField, int selectedNumber, bool selectedIsRoot, bool withSubEntries,
                        const QList<int>& descendantNumbers);

} // namespace zep
