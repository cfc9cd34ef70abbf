#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace zep {

class ProgramLauncher;

// "Vorlage erstellen": helps to put a first template of an application into the templates
// directory, by starting the application there or by copying a file in.
class TemplateCreationDialog : public QDialog {
    Q_OBJECT
public:
    TemplateCreationDialog(QString programPath, QString extension, QString templatesDir, ProgramLauncher& launcher,
                           QWidget* parent = nullptr);

private:
    void BtnStartClick();
    void BtnCopyClick();

    QString programPath_;
    QString extension_;
    QString templatesDir_;
    ProgramLauncher& launcher_;
    QPlainTextEdit* Memo1 = nullptr;
};

} // namespace zep
