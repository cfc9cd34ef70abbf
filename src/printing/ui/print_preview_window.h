#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace zep {

// The preview beside a print dialog: a paint box filling the window, drawn by the dialog, and a
// button between full screen and normal size. Always on top, at the bottom right of the screen.
class PrintPreviewWindow : public QWidget {
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter& painter, const QRect& box)>;

    PrintPreviewWindow(const QString& objectName, const Painter& painter, QWidget* parent = nullptr);

    void placeAtBottomRight();
    // The screen's pixels per inch, for the font height rule.
    int screenDpiY() const;

    QWidget* PB = nullptr;
    QPushButton* BtnVoll = nullptr;
    QLabel* LblHelp = nullptr;

private:
    void BtnVollClick();
    void changeEvent(QEvent* event) override;
};

} // namespace zep
