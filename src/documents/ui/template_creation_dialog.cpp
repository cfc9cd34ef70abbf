#include "documents/ui/template_creation_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"
#include "documents/shell_open.h"
#include "documents/template_creation.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

TemplateCreationDialog::TemplateCreationDialog(QString programPath, QString extension, QString templatesDir,
                                               ProgramLauncher& launcher, QWidget* parent)
    : QDialog(parent), programPath_(std::move(programPath)), extension_(std::move(extension)),
      templatesDir_(std::move(templatesDir)), launcher_(launcher) {
    setObjectName(QStringLiteral("TN03"));
    setWindowTitle(QStringLiteral("Vorlage erstellen"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setBackgroundRole(QPalette::Window);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setPlainText(templateCreationLines(templatesDir_).join(u'\n'));
    auto* start = makeButton(QStringLiteral("BtnStart"), QStringLiteral("Anwendung starten"), this);
    auto* copy = makeButton(QStringLiteral("BtnCopy"), QStringLiteral("Datei kopieren"), this);
    auto* abort = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("Abbrechen"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start);
    buttons->addWidget(copy);
    buttons->addStretch();
    buttons->addWidget(abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
    resize(520, 260);
    connect(start, &QPushButton::clicked, this, &TemplateCreationDialog::BtnStartClick);
    connect(copy, &QPushButton::clicked, this, &TemplateCreationDialog::BtnCopyClick);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
}

// The application runs in the templates directory, so its first "save" lands there.
void TemplateCreationDialog::BtnStartClick() {
    ShellOpen(launcher_, programPath_, QString(), templatesDir_);
    accept();
}

void TemplateCreationDialog::BtnCopyClick() {
    const QString chosen = Interaction::instance().openFileName(QStringLiteral("Datei kopieren"), QDir::homePath(),
                                                                templateFileFilter(extension_));
    if (chosen.isEmpty())
        return;
    const QString failure = copyIntoTemplates(chosen, templatesDir_);
    if (!failure.isEmpty()) {
        Interaction::instance().error(failure, ApplicationName.toString());
        return;
    }
    accept();
}

} // namespace zep
