#pragma once

#include <QColor>
#include <QFrame>
#include <QPolygon>

namespace zep {

// Strip above or below a tree with a triangle pointing the way it scrolls. It is active from a
// mouse press until the pointer leaves it; drags passing over it are reported to the owner.
class TOverPanel : public QFrame {
    Q_OBJECT
public:
    enum OverStyle { osOben, osUnten };

    explicit TOverPanel(QWidget* parent = nullptr);

    QColor NormalColor() const { return normalColor_; }
    void setNormalColor(const QColor& color);
    QColor ActiveColor() const { return activeColor_; }
    void setActiveColor(const QColor& color);
    OverStyle Style() const { return style_; }
    void setStyle(OverStyle style);

    bool isActive() const { return active_; }
    // Raises OnBeginOver or OnEndOver when the state changes.
    void setActive(bool active);

    // The triangle for the current size and style, in widget pixels.
    QPolygon trianglePoints() const;

signals:
    void OnBeginOver();
    void OnEndOver();
    void OnDragEnter();
    void OnDragLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;

private:
    void leave();

    QColor normalColor_ = Qt::blue;
    QColor activeColor_ = Qt::red;
    OverStyle style_ = osOben;
    bool active_ = false;
    bool grabbing_ = false;
};

} // namespace zep
