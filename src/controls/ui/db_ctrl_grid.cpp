#include "controls/ui/db_ctrl_grid.h"

#include "data/data_source.h"

#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

namespace zep {

class TDBCtrlGrid::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(TDBCtrlGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!grid_.painter_)
            return;
        painter->save();
        painter->setClipRect(option.rect);
        painter->translate(option.rect.topLeft());
        grid_.painter_(*painter, QRect(QPoint(0, 0), option.rect.size()), index.row(),
                       index.row() == grid_.currentRow());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(0, grid_.panelHeight_);
    }

private:
    TDBCtrlGrid& grid_;
};

TDBCtrlGrid::TDBCtrlGrid(DataSource& source, int panelHeight, int visiblePanels, QWidget* parent)
    : QListWidget(parent), source_(source), panelHeight_(panelHeight) {
    setItemDelegate(new Delegate(*this));
    setUniformItemSizes(true);
    setFrameShape(QFrame::StyledPanel);
    setFixedHeight(panelHeight * visiblePanels + 2 * frameWidth());
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    connect(&source_, &DataSource::dataChanged, this, &TDBCtrlGrid::followDataSet);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        DataSet* set = source_.dataSet();
        if (following_ || row < 0 || set == nullptr || !set->isActive())
            return;
        const QScopedValueRollback<bool> guard(following_, true);
        set->setRecNo(row + 1);
        viewport()->update();
    });
    refill();
}

void TDBCtrlGrid::refill() {
    const QScopedValueRollback<bool> guard(following_, true);
    DataSet* set = source_.dataSet();
    const int count = set != nullptr ? set->recordCount() : 0;
    if (this->count() != count) {
        clear();
        for (int row = 0; row < count; ++row)
            addItem(QString());
    }
    setCurrentRow(count > 0 ? set->recNo() - 1 : -1);
    viewport()->update();
}

void TDBCtrlGrid::followDataSet() {
    if (!following_)
        refill();
}

} // namespace zep
