#include "printing/ui/print_status_window.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zep {

PrintStatusWindow::PrintStatusWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TPrtStatusWin"));
    setWindowTitle(QStringLiteral("Drucker Status"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panelLayout = new QHBoxLayout(panel);
    auto* icon = new QLabel(panel);
    icon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(32, 32));
    panelLayout->addWidget(icon);
    panelLayout->addWidget(new QLabel(QStringLiteral("Der Druckauftrag wird erstellt."), panel), 1);
    layout->addWidget(panel);
    DruckLbl = new QLabel(this);
    DruckLbl->setObjectName(QStringLiteral("DruckLbl"));
    SeiteLbl = new QLabel(this);
    SeiteLbl->setObjectName(QStringLiteral("SeiteLbl"));
    layout->addWidget(DruckLbl);
    layout->addWidget(SeiteLbl);
    BitBtn11 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Abbruch"), this);
    BitBtn11->setObjectName(QStringLiteral("BitBtn11"));
    layout->addWidget(BitBtn11, 0, Qt::AlignHCenter);
    connect(BitBtn11, &QPushButton::clicked, this, &PrintStatusWindow::BitBtn11Click);
    setMinimumWidth(320);
}

void PrintStatusWindow::setPrinterName(const QString& name) {
    DruckLbl->setText(QStringLiteral("Drucker: ") + name);
}

void PrintStatusWindow::setPage(int page) {
    SeiteLbl->setVisible(page > 0);
    SeiteLbl->setText(QStringLiteral("Seite ") + QString::number(page));
    SeiteLbl->repaint();
}

void PrintStatusWindow::showEvent(QShowEvent* event) {
    aborted_ = false;
    QWidget::showEvent(event);
}

void PrintStatusWindow::BitBtn11Click() {
    aborted_ = true;
    close();
    QApplication::processEvents();
}

} // namespace zep
