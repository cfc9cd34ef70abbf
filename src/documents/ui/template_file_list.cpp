#include "documents/ui/template_file_list.h"

#include "addresses/entry_documents.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "documents/shell_open.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>

namespace zep {

TemplateFileList::TemplateFileList(QString templatesDir, QWidget* parent)
    : QListWidget(parent), templatesDir_(std::move(templatesDir)) {}

void TemplateFileList::setMask(const QString& mask) {
    mask_ = mask;
    fill();
}

QString TemplateFileList::selectedTemplate() const {
    const QListWidgetItem* item = currentItem();
    return item != nullptr && item->isSelected() ? QDir(templatesDir_).filePath(item->text()) : QString();
}

QStringList TemplateFileList::files() const {
    const QString mask = mask_.isEmpty() ? QStringLiteral("*") : mask_;
    return QDir(templatesDir_).entryList({mask}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

void TemplateFileList::fill() {
    const QListWidgetItem* current = currentItem();
    const QString selected = current != nullptr && current->isSelected() ? current->text() : QString();
    clear();
    const QFileIconProvider icons;
    for (const QString& name : files()) {
        auto* item = new QListWidgetItem(icons.icon(QFileInfo(QDir(templatesDir_).filePath(name))), name, this);
        if (name == selected)
            setCurrentItem(item);
    }
    emit filesRead();
}

void TemplateFileList::SyncFileList() {
    QStringList shown;
    for (int row = 0; row < count(); ++row)
        shown << item(row)->text();
    if (shown != files())
        fill();
}

void TemplateFileList::editSelected(ProgramLauncher& launcher) {
    const QString file = selectedTemplate();
    if (file.isEmpty())
        return;
    ShellOpen(launcher, QString(), file, QString());
    fill();
}

void TemplateFileList::deleteSelected() {
    const QString file = selectedTemplate();
    if (file.isEmpty())
        return;
    if (!moveFileToTrash(file))
        Interaction::instance().error(
            QStringLiteral("Die Datei \"%1\" konnte nicht in den Papierkorb verschoben werden.").arg(file),
            ApplicationName.toString());
    fill();
}

} // namespace zep
