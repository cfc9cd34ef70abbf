#include "tools/ui/tree_rebuild_dialog.h"

#include "app/interaction.h"
#include "app/program_info.h"
#include "app/ui/named_controls.h"
#include "app/ui/wait_cursor.h"
#include "data/engine_error.h"
#include "data/format_error.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

namespace {

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TreeRebuildDialog::TreeRebuildDialog(const TreeRebuildJob& job, const QString& treeCaption, QWidget* parent)
    : QDialog(parent), job_(job) {
    setObjectName(QStringLiteral("TDBReadWin"));
    setWindowTitle(QStringLiteral("Einlesen der Baumstruktur"));
    buildControls();
    Label2->setText(treeCaption);
    G1->setValue(0);
}

void TreeRebuildDialog::buildControls() {
    Label1 = makeLabel(QStringLiteral("Label1"),
                       QStringLiteral("Neuaufbau der Baumstruktur aus den Daten der Datenbank"), this);
    Label2 = makeLabel(QStringLiteral("Label2"), QString(), this);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    G1 = new QProgressBar(this);
    G1->setObjectName(QStringLiteral("G1"));
    G1->setRange(0, 1);
    BitBtn1 = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = makeButton(QStringLiteral("BitBtn2"), QStringLiteral("Abbrechen"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(6);
    layout->addWidget(G1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(BitBtn1, &QPushButton::clicked, this, &TreeRebuildDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TreeRebuildDialog::reject);
}

// Abort, Esc and the window's close button: while the rebuild runs they stop it, and the window
// closes once it has stopped.
void TreeRebuildDialog::reject() {
    if (running_) {
        stopRequested_ = true;
        return;
    }
    QDialog::reject();
}

bool TreeRebuildDialog::showProgress(int placed, int total) {
    if (G1->maximum() != total)
        G1->setRange(0, total);
    const int step = std::max(1, total / 100);
    if (placed % step == 0 || placed == total) {
        G1->setValue(placed);
        // Paints the gauge and lets Abort through.
        QApplication::processEvents();
    }
    return !stopRequested_;
}

void TreeRebuildDialog::BitBtn1Click() {
    running_ = true;
    stopRequested_ = false;
    BitBtn1->setEnabled(false);
    bool rebuilt = false;
    QString failure;
    {
        WaitCursor wait;
        try {
            rebuilt = rebuildTreeFile(job_, [this](int placed, int total) { return showProgress(placed, total); });
        } catch (const FileError& error) {
            failure = error.message();
        } catch (const EngineError& error) {
            failure = error.message();
        }
    }
    running_ = false;
    BitBtn1->setEnabled(true);
    if (rebuilt) {
        accept();
    } else if (!failure.isEmpty()) {
        G1->setValue(0);
        Interaction::instance().error(failure, ApplicationName.toString());
    } else {
        QDialog::reject(); // stopped by Abort
    }
}

bool RebuildTree(const TreeRebuildJob& job, const QString& treeCaption, QWidget* parent) {
    TreeRebuildDialog dialog(job, treeCaption, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace zep
