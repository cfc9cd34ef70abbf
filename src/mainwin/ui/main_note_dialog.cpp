#include "mainwin/ui/main_note_dialog.h"

#include "mainwin/ui/note_editor_window.h"

#include <QFile>

namespace zep {

int RICHING(const QString& path, QWidget* parent) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    NoteEditorWindow window(path, QString::fromUtf8(file.readAll()), parent);
    file.close();
    window.exec();
    return window.savedChange() ? 1 : 0;
}

} // namespace zep
