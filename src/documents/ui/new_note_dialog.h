#pragma once

#include "documents/note_filing.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zep {

class TDM;

// "Neue Notiz": files a note, a document without a file, under the selected entry.
class NewNoteDialog : public QDialog {
    Q_OBJECT
public:
    NewNoteDialog(TDM& dm, QString linkField, qint64 entryNumber, QWidget* parent = nullptr);
    // The note's Nr once the dialog has closed; filed only when it closed with OK.
    qint64 noteNumber() const { return noteNumber_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void updateOk();
    void BtnOKClick();

    TDM& dm_;
    QString linkField_;
    qint64 entryNumber_;
    NoteFiling filing_;
    qint64 noteNumber_ = 0;
    bool begun_ = false;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BtnOK = nullptr;
};

} // namespace zep
