#pragma once

#include "documents/document_filing.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zep {

class TDM;

// "Dokument hinzufügen": files one existing file under the selected entry, kept where it is or
// copied or moved into the client's "Files" folder.
class AddDocumentDialog : public QDialog {
    Q_OBJECT
public:
    AddDocumentDialog(TDM& dm, FilingTarget target, QString source, QWidget* parent = nullptr);
    // The new document's Nr once the dialog has closed with OK, else 0.
    qint64 documentNumber() const { return documentNumber_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    QWidget* buildFileGroup();
    void updateOk();
    void updatePaths();
    FileHandling handling() const;
    void BtnOKClick();

    TDM& dm_;
    FilingTarget target_;
    QString source_;
    DocumentAdding adding_;
    qint64 documentNumber_ = 0;
    bool begun_ = false;
    QLineEdit* Edit1 = nullptr;
    QLabel* I1 = nullptr;
    QLineEdit* Lbl_Von = nullptr;
    QLineEdit* Lbl_Nach = nullptr;
    QRadioButton* CBNone = nullptr;
    QRadioButton* CBMove = nullptr;
    QRadioButton* CBCopy = nullptr;
    QPushButton* BtnOK = nullptr;
};

// Files the paths under the target: one through "Dokument hinzufügen", several through "Dokumente
// hinzufügen". The Nr of the (last) document filed, 0 when nothing was.
qint64 addDocuments(TDM& dm, const FilingTarget& target, const QStringList& paths, QWidget* parent);

} // namespace zep
