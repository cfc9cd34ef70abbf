#include "documents/template_creation.h"

#include "data/services.h"

#include <QDir>
#include <QFileInfo>

namespace zep {

QStringList templateCreationLines(const QString& templatesDir) {
    return {
        QStringLiteral("1. Möglichkeit:"),
        QStringLiteral("Starten Sie die Anwendung und speichern Sie eine Datei in das Vorlagenverzeichnis von ZEP."),
        QStringLiteral(" "),
        QStringLiteral("2. Möglichkeit:"),
        QStringLiteral("Kopieren Sie eine entsprechende Datei in das Vorlagenverzeichnis von ZEP."),
        QStringLiteral(" "),
        QStringLiteral("Vorlagenverzeichnis von ZEP:"),
        QDir::toNativeSeparators(QDir(templatesDir).absolutePath())};
}

QString templateFileFilter(const QString& extension) {
    return extension + QStringLiteral(" (*.") + extension + QStringLiteral(");;ALLE (*)");
}

QString copyIntoTemplates(const QString& file, const QString& templatesDir) {
    const QString target = QDir(templatesDir).filePath(QFileInfo(file).fileName());
    if (FILECOPY(file, target))
        return {};
    return QStringLiteral("Die Datei \"%1\" konnte nicht nach \"%2\" kopiert werden.").arg(file, target);
}

} // namespace zep
