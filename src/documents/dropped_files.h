#pragma once

#include <QStringList>

namespace zep {

// The paths dropped onto the document list that can be filed, in their order: directories are left
// out (a path that no longer exists is kept, so that filing can name it).
QStringList filesAmongDropped(const QStringList& paths);

} // namespace zep
