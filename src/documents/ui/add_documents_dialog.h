#pragma once

#include "documents/document_filing.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace zep {

class Table;

// "Dokumente hinzufügen": files several files at once. Writes nothing before OK; while it files it
// shows how far it got, and "Abbrechen" or closing stops it between two files.
class AddDocumentsDialog : public QDialog {
    Q_OBJECT
public:
    AddDocumentsDialog(Table& documents, FilingTarget target, QStringList paths, QWidget* parent = nullptr);
    // Nr of the last document filed, 0 when nothing was.
    qint64 documentNumber() const { return documentNumber_; }

    void done(int result) override;

private:
    void buildControls();
    FileHandling handling() const;
    bool showProgress(int done, int total);
    void BtnOKClick();

    Table& documents_;
    FilingTarget target_;
    QStringList paths_;
    qint64 documentNumber_ = 0;
    bool running_ = false;
    bool stopRequested_ = false;
    QRadioButton* CBNone = nullptr;
    QRadioButton* CBMove = nullptr;
    QRadioButton* CBCopy = nullptr;
    QLabel* LblFortschritt = nullptr;
    QProgressBar* Fortschritt = nullptr;
    QPushButton* BtnOK = nullptr;
};

} // namespace zep
