#pragma once

#include "data/data_source.h"
#include "documents/document_copying.h"

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace zep {

class TDM;

// "Dokument kopieren": copies the current document with its file under another entry of the active
// tree, into the client's "Files" folder, the source's folder or another folder.
class CopyDocumentDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int CompactHeight = 292;
    static constexpr int FullHeight = 457;

    // Throws EngineError when the documents table cannot be opened for the copy.
    CopyDocumentDialog(TDM& dm, QString linkField, qint64 targetNumber, QString filesDir, QWidget* parent = nullptr);
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    QGroupBox* buildFileGroup();
    void buildDirectoryChooser();
    void radioClicked();
    void driveChanged();
    void dirBoxClicked();
    void recomputeTarget();
    void updateOk();
    void showDirectoryChooser(bool show);
    QString selectedDirectory() const;
    void BtnOKClick();

    TDM& dm_;
    QString linkField_;
    qint64 targetNumber_;
    QString filesDir_;
    CopySource source_;
    QString targetDirectory_;
    QString targetFile_;
    DocumentCopying copying_;
    DataSource DZiel;
    bool created_ = false;
    QLineEdit* Edit1 = nullptr;
    QRadioButton* RB_ZEP = nullptr;
    QRadioButton* RB_SAME = nullptr;
    QRadioButton* RB_OTHER = nullptr;
    QLineEdit* EditZFile = nullptr;
    QComboBox* DriveComboBox1 = nullptr;
    QTreeView* DirBox = nullptr;
    QFileSystemModel* directories_ = nullptr;
    QPushButton* BtnOK = nullptr;
};

} // namespace zep
