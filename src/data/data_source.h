#pragma once

#include "data/dataset.h"

#include <QObject>
#include <QPointer>

namespace zep {

// What bound controls and detail tables listen to: the notifications of one data set, which can
// be exchanged at run time.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(DataSet* dataSet = nullptr, QObject* parent = nullptr);

    DataSet* dataSet() const { return dataSet_; }
    void setDataSet(DataSet* dataSet);
    bool isEditing() const { return dataSet_ && dataSet_->isEditing(); }
    DataSetState state() const { return dataSet_ ? dataSet_->state() : DataSetState::Inactive; }

signals:
    void dataChanged();
    void fieldChanged(int position);
    void stateChanged();
    void layoutChanged();
    void updatingRecord();

private:
    QPointer<DataSet> dataSet_;
    QMetaObject::Connection connections_[5];
};

} // namespace zep
