#include "controls/ui/grid_data_link.h"

#include "controls/ui/db_grid3.h"
#include "data/data_source.h"

namespace zep {

TRkROGridDataLink::TRkROGridDataLink(TDBGrid3& grid) : grid_(grid) {}

void TRkROGridDataLink::setDataSource(DataSource* source) {
    if (source_ == source)
        return;
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source_) {
        // The data set can be exchanged under the source; activity is checked on every notice.
        connect(source_, &DataSource::stateChanged, this, &TRkROGridDataLink::onStateChanged);
        connect(source_, &DataSource::dataChanged, this, [this] {
            if (active() != wasActive_)
                onStateChanged();
            else
                grid_.dataSetChanged();
        });
        connect(source_, &DataSource::layoutChanged, this, [this] { grid_.layoutChanged(); });
        connect(source_, &DataSource::fieldChanged, grid_.viewport(), qOverload<>(&QWidget::update));
        connect(source_, &QObject::destroyed, this, &TRkROGridDataLink::onStateChanged);
    }
    onStateChanged();
}

DataSource* TRkROGridDataLink::dataSource() const {
    return source_;
}

bool TRkROGridDataLink::active() const {
    return source_ && source_->dataSet() && source_->dataSet()->isActive();
}

void TRkROGridDataLink::onStateChanged() {
    const bool nowActive = active();
    if (nowActive == wasActive_) {
        grid_.viewport()->update(); // browse, edit or insert: the record looks different
        return;
    }
    wasActive_ = nowActive;
    grid_.linkActiveChanged();
}

} // namespace zep
