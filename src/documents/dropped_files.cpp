#include "documents/dropped_files.h"

#include <QFileInfo>

namespace zep {

QStringList filesAmongDropped(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir())
            files.append(path);
    }
    return files;
}

} // namespace zep
