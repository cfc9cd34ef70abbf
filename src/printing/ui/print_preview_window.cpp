#include "printing/ui/print_preview_window.h"

#include "app/ui/window_placer.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace zep {

namespace {

class PaintBox : public QWidget {
public:
    PaintBox(const PrintPreviewWindow::Painter& painter, QWidget* parent) : QWidget(parent), painter_(painter) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Base));
        painter_(painter, rect());
    }

private:
    PrintPreviewWindow::Painter painter_;
};

} // namespace

PrintPreviewWindow::PrintPreviewWindow(const QString& objectName, const Painter& painter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(objectName);
    setWindowTitle(QStringLiteral("Vorschau"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    PB = new PaintBox(painter, this);
    PB->setObjectName(QStringLiteral("PB"));
    layout->addWidget(PB, 1);
    BtnVoll = new QPushButton(QStringLiteral("Vollbild"), this);
    BtnVoll->setObjectName(QStringLiteral("BtnVoll"));
    layout->addWidget(BtnVoll, 0, Qt::AlignRight);
    LblHelp = new QLabel(this);
    LblHelp->setObjectName(QStringLiteral("LblHelp"));
    LblHelp->hide();
    connect(BtnVoll, &QPushButton::clicked, this, &PrintPreviewWindow::BtnVollClick);
    resize(300, 420);
    setProperty(StatedPlaceProperty, QStringLiteral("screenBottomRight"));
}

// The stated place, kept wholly on the usable area of the screen by the one window placer.
void PrintPreviewWindow::placeAtBottomRight() {
    setProperty(StatedPlaceProperty, QStringLiteral("screenBottomRight"));
    placeWindow(*this);
}

int PrintPreviewWindow::screenDpiY() const {
    return LblHelp->logicalDpiY();
}

void PrintPreviewWindow::BtnVollClick() {
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

void PrintPreviewWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        BtnVoll->setText(isMaximized() ? QStringLiteral("Verkleinern") : QStringLiteral("Vollbild"));
    QWidget::changeEvent(event);
}

} // namespace zep
