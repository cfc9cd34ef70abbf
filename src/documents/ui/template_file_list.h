#pragma once

#include <QListWidget>

namespace zep {

class ProgramLauncher;

// The template files of one extension in the templates directory, with the desktop's file glyphs.
// The owner's timer calls SyncFileList, so files saved or removed outside the program show up.
class TemplateFileList : public QListWidget {
    Q_OBJECT
public:
    TemplateFileList(QString templatesDir, QWidget* parent = nullptr);

    // A file mask such as "*.odt"; matched without regard to case. An empty mask lists every file.
    void setMask(const QString& mask);
    // The full path of the selected file; empty when none is selected.
    QString selectedTemplate() const;
    // Reads the list again; the selected file stays selected.
    void fill();
    // Reads the list again only when the directory changed.
    void SyncFileList();
    // Opens the selected template through its own association, then reads the list again.
    void editSelected(ProgramLauncher& launcher);
    // Moves the selected template into the trash without asking, then reads the list again.
    void deleteSelected();

signals:
    // After every reading of the directory.
    void filesRead();

private:
    QStringList files() const;

    QString templatesDir_;
    QString mask_;
};

} // namespace zep
