#include "documents/ui/document_delete_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"
#include "data/engine_error.h"
#include "data/table.h"
#include "documents/document_path.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

DocumentDeleteDialog::DocumentDeleteDialog(Table& documents, bool resubmissionView, QString linkField, QString filesDir,
                                           QWidget* parent)
    : QDialog(parent), documents_(documents), plan_(planDocumentDeletion(documents, resubmissionView)),
      linkField_(std::move(linkField)), filesDir_(std::move(filesDir)) {
    setObjectName(QStringLiteral("TA03"));
    setWindowTitle(QStringLiteral("Dokument löschen"));
    auto* title = new QLabel(plan_.title, this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    CB = new QCheckBox(QStringLiteral("Datei auch vom Datenträger löschen"), this);
    CB->setObjectName(QStringLiteral("CB"));
    CB->setVisible(plan_.fileOffered);
    auto* ok = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* abort = makeButton(QStringLiteral("BitBtn3"), QStringLiteral("Abbrechen"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(CB);
    layout->addLayout(buttons);
    setMinimumWidth(360);
    connect(ok, &QPushButton::clicked, this, &DocumentDeleteDialog::BitBtn1Click);
    connect(abort, &QPushButton::clicked, this, &QDialog::reject);
}

// A file the Datei cannot name, or one outside "Files" the user does not let go, keeps the dialog open.
bool DocumentDeleteDialog::fileMayGo() {
    if (!plan_.full || !plan_.fileOffered || !CB->isChecked())
        return true;
    const DocumentPath file = fileOfDeletedDocument(documents_.field(u"Datei").asString(), filesDir_);
    if (!file.resolved()) {
        Interaction::instance().error(file.refusal, ApplicationName.toString());
        return false;
    }
    const QString question = outsideFilesTrashQuestion(file.path, filesDir_);
    return question.isEmpty() ||
           Interaction::instance().askYesNo(question, ApplicationName.toString(), QuestionLook::Warning) == Answer::Yes;
}

void DocumentDeleteDialog::BitBtn1Click() {
    if (!fileMayGo())
        return;
    QString failure;
    try {
        failure = deleteDocument(documents_, plan_, CB->isChecked(), linkField_, filesDir_);
    } catch (const EngineError& error) {
        Interaction::instance().error(error.message(), ApplicationName.toString());
        return;
    }
    if (!failure.isEmpty())
        Interaction::instance().error(failure, ApplicationName.toString());
    accept();
}

} // namespace zep
