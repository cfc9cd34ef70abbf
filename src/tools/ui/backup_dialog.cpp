#include "tools/ui/backup_dialog.h"

#include "app/install_paths.h"
#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"
#include "app/ui/wait_cursor.h"
#include "tools/backup.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

BackupDialog::BackupDialog(const QString& dataDir, const QString& backupDir, QWidget* parent)
    : QDialog(parent), dataDir_(dataDir), backupDir_(backupDir) {
    setObjectName(QStringLiteral("TDBSaveWin"));
    setWindowTitle(QStringLiteral("Datensicherung"));
    buildControls();
    FormShow();
}

void BackupDialog::buildControls() {
    Label1 = new QLabel(QStringLiteral("Die Datenbankdateien werden gesichert nach:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    LblZiel = new QLabel(this);
    LblZiel->setObjectName(QStringLiteral("LblZiel"));
    QFont bold = LblZiel->font();
    bold.setBold(true);
    LblZiel->setFont(bold);
    LblZiel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Gauge1 = new QProgressBar(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    BitBtn1 = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = makeButton(QStringLiteral("BitBtn2"), QStringLiteral("Abbrechen"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(LblZiel);
    layout->addSpacing(6);
    layout->addWidget(Gauge1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    connect(BitBtn1, &QPushButton::clicked, this, &BackupDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &BackupDialog::reject);
}

void BackupDialog::FormShow() {
    target_ = joinPath(backupDir_, nextBackupDirectoryName(backupDir_));
    LblZiel->setText(QDir::toNativeSeparators(target_));
    Gauge1->setRange(0, 1);
    Gauge1->setValue(0);
}

// OK closes the window in every case; an incomplete backup is reported before.
void BackupDialog::BitBtn1Click() {
    if (!QDir().mkdir(target_)) {
        Interaction::instance().warning(QStringLiteral("Verzeichnis kann nicht erstellt werden"),
                                        ApplicationName.toString());
        accept();
        return;
    }
    BitBtn1->setEnabled(false);
    BitBtn2->setEnabled(false);
    BackupResult result;
    {
        WaitCursor wait;
        result = backupClientData(dataDir_, target_, [this](int done, int total, const QString&) {
            Gauge1->setRange(0, std::max(total, 1));
            Gauge1->setValue(done + 1);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }
    if (!result.complete())
        Interaction::instance().warning(incompleteBackupMessage(result), ApplicationName.toString());
    accept();
}

void ShowBackupWindow(const QString& dataDir, const QString& backupDir, QWidget* parent) {
    BackupDialog dialog(dataDir, backupDir, parent);
    dialog.exec();
}

} // namespace zep
