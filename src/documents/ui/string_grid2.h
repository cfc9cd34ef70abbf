#pragma once

#include <QColor>
#include <QFont>
#include <QTableWidget>

namespace zep {

// A string grid that paints its cells itself: the current cell (or row, when whole rows are
// selected) filled with SelectedColor and framed raised, other cells with a raised edge on their
// right and bottom, the heading row in FixedFont. With FixRowClick the heading cells act as buttons
// and raise OnFixedRowClick.
class TStringGrid2 : public QTableWidget {
    Q_OBJECT
public:
    explicit TStringGrid2(QWidget* parent = nullptr);

    QColor SelectedColor() const { return selectedColor_; }
    void setSelectedColor(const QColor& color);
    QFont FixedFont() const;
    void setFixedFont(const QFont& font);
    bool FixRowClick() const { return fixRowClick_; }
    void setFixRowClick(bool enabled);

signals:
    void OnFixedRowClick(int column, int row);

private:
    QColor selectedColor_;
    bool fixRowClick_ = false;
};

} // namespace zep
