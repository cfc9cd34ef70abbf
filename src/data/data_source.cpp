#include "data/data_source.h"

namespace zep {

DataSource::DataSource(DataSet* dataSet, QObject* parent) : QObject(parent) {
    setDataSet(dataSet);
}

void DataSource::setDataSet(DataSet* dataSet) {
    if (dataSet_ == dataSet)
        return;
    for (auto& connection : connections_)
        disconnect(connection);
    dataSet_ = dataSet;
    if (dataSet_) {
        connections_[0] = connect(dataSet_, &DataSet::dataChanged, this, &DataSource::dataChanged);
        connections_[1] = connect(dataSet_, &DataSet::stateChanged, this, &DataSource::stateChanged);
        connections_[2] = connect(dataSet_, &DataSet::layoutChanged, this, &DataSource::layoutChanged);
        connections_[3] = connect(dataSet_, &DataSet::fieldChanged, this, &DataSource::fieldChanged);
        connections_[4] = connect(dataSet_, &DataSet::updatingRecord, this, &DataSource::updatingRecord);
    }
    emit dataChanged();
}

} // namespace zep
