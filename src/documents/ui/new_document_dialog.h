#pragma once

#include "data/data_source.h"
#include "documents/document_creation.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;
class QTimer;

namespace zep {

class ProgramLauncher;
class TDBCtrlGrid;
class TDM;
class TIconListPainter;
class TemplateFileList;

// "Neues Dokument": files a copy of a template of the chosen application under the selected entry.
class NewDocumentDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int PanelHeight = 21;

    // filesDir is the client's "Files" folder (ending in "/"), templatesDir the installation's.
    NewDocumentDialog(TDM& dm, QString linkField, qint64 entryNumber, QString filesDir, QString templatesDir,
                      ProgramLauncher& launcher, QWidget* parent = nullptr);
    ~NewDocumentDialog() override;

    // The new document's Nr once the dialog has closed; filed only when it closed with OK.
    qint64 documentNumber() const { return documentNumber_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    QWidget* buildApplicationGroup();
    QWidget* buildFilingGroup();
    QWidget* buildTemplateGroup();
    QWidget* buildButtonPanel();
    void FormShow();
    void paintPanel(QPainter& painter, const QRect& panel, int row, bool current);
    void applicationChanged();
    void updateOk();
    void BtnOKClick();
    void BtnVorNeuClick();

    TDM& dm_;
    QString linkField_;
    qint64 entryNumber_;
    QString filesDir_;
    QString templatesDir_;
    ProgramLauncher& launcher_;
    DocumentCreation filing_;
    DataSource DPro;
    std::unique_ptr<TIconListPainter> icons_;
    qint64 documentNumber_ = 0;
    bool shown_ = false;
    TDBCtrlGrid* Grid = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BtnOK = nullptr;
    TemplateFileList* FLB = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace zep
