#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zep {

// The backup window (TDBSaveWin): shows the next numbered directory below the client's backup
// directory; OK creates it, copies every file of the data directory into it with the gauge
// following the files, reports an incomplete backup with the files that failed, and closes.
// Abort closes without a backup.
class BackupDialog : public QDialog {
    Q_OBJECT

public:
    BackupDialog(const QString& dataDir, const QString& backupDir, QWidget* parent = nullptr);

    QString targetDirectory() const { return target_; }

private:
    void buildControls();
    void FormShow();
    void BitBtn1Click();

    QString dataDir_;
    QString backupDir_;
    QString target_;
    QLabel* Label1 = nullptr;
    QLabel* LblZiel = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

// Shows the backup window for the open client, modally.
void ShowBackupWindow(const QString& dataDir, const QString& backupDir, QWidget* parent);

} // namespace zep
