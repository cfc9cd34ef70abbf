#pragma once

#include <QObject>
#include <QPointer>

namespace zep {

class DataSource;
class TDBGrid3;

// Listens to the grid's data source and tells the grid what to update.
class TRkROGridDataLink : public QObject {
    Q_OBJECT
public:
    explicit TRkROGridDataLink(TDBGrid3& grid);

    DataSource* dataSource() const;
    void setDataSource(DataSource* source);
    // The source has an open data set.
    bool active() const;

private:
    void onStateChanged();

    TDBGrid3& grid_;
    QPointer<DataSource> source_;
    bool wasActive_ = false;
};

} // namespace zep
