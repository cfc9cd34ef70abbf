#include "data/dataset.h"

#include "data/engine_error.h"

#include <QDate>
#include <utility>

namespace zep {

QVariant FieldRef::value() const {
    return dataSet_->value(position_);
}
QString FieldRef::asString() const {
    return valueText(value());
}
qint64 FieldRef::asInteger() const {
    return value().toLongLong();
}
double FieldRef::asFloat() const {
    return value().toDouble();
}
QDate FieldRef::asDate() const {
    return value().toDate();
}
bool FieldRef::asBoolean() const {
    return value().toBool();
}
bool FieldRef::isNull() const {
    const QVariant v = value();
    return !v.isValid() || v.isNull();
}
void FieldRef::setValue(const QVariant& value) const {
    dataSet_->setValue(position_, value);
}
void FieldRef::clear() const {
    dataSet_->setValue(position_, QVariant());
}
const FieldInfo& FieldRef::info() const {
    return dataSet_->fieldInfo(position_);
}

DataSet::DataSet(QObject* parent) : QObject(parent) {}
DataSet::~DataSet() = default;

void DataSet::fail(const QString& message) const {
    throw EngineError(message);
}

void DataSet::open() {
    if (isActive())
        return;
    openCursor();
    state_ = DataSetState::Browse;
    moveTo(visibleCount() > 0 ? 0 : -1);
    emit stateChanged();
    emit opened();
    notifyDataChanged();
}

void DataSet::close() {
    if (!isActive())
        return;
    closeCursor();
    current_ = -1;
    bof_ = eof_ = true;
    buffer_.assign(buffer_.size(), QVariant());
    setState(DataSetState::Inactive);
    notifyDataChanged();
}

void DataSet::setState(DataSetState state) {
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged();
}

void DataSet::notifyDataChanged() {
    if (disableCount_ > 0) {
        dataChangePending_ = true;
        return;
    }
    emit dataChanged();
}

void DataSet::disableControls() {
    ++disableCount_;
}

void DataSet::enableControls() {
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0 && dataChangePending_) {
        dataChangePending_ = false;
        emit dataChanged();
    }
}

void DataSet::moveTo(int row) {
    current_ = row;
    bof_ = eof_ = row < 0;
    if (row < 0) {
        buffer_.assign(buffer_.size(), QVariant());
        return;
    }
    loadRecord(row);
}

void DataSet::checkBrowseMode() {
    if (isEditing())
        post();
}

void DataSet::updateFromControls() {
    updateRefusal_.clear();
    emit updatingRecord();
    if (!updateRefusal_.isEmpty())
        fail(std::exchange(updateRefusal_, QString()));
}

void DataSet::refuseUpdate(const QString& message) {
    if (updateRefusal_.isEmpty())
        updateRefusal_ = message;
}

void DataSet::first() {
    checkBrowseMode();
    beforeMove();
    moveTo(visibleCount() > 0 ? 0 : -1);
    notifyDataChanged();
}

void DataSet::last() {
    checkBrowseMode();
    beforeMove();
    moveTo(visibleCount() - 1);
    notifyDataChanged();
}

void DataSet::next() {
    moveBy(1);
}
void DataSet::prior() {
    moveBy(-1);
}

int DataSet::moveBy(int distance) {
    checkBrowseMode();
    beforeMove();
    const int count = visibleCount();
    if (count == 0) {
        bof_ = eof_ = true;
        return 0;
    }
    const int target = std::clamp(current_ + distance, 0, count - 1);
    const int moved = target - current_;
    if (moved != 0)
        moveTo(target);
    // Only a move that ran out of records reaches the beginning or the end.
    bof_ = distance < 0 && moved != distance;
    eof_ = distance > 0 && moved != distance;
    if (moved != 0)
        notifyDataChanged();
    return moved;
}

void DataSet::setRecNo(int recNo) {
    checkBrowseMode();
    beforeMove();
    const int count = visibleCount();
    moveTo(count == 0 ? -1 : std::clamp(recNo - 1, 0, count - 1));
    notifyDataChanged();
}

int DataSet::fieldPosition(QStringView name) const {
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].def.name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int DataSet::storageOf(QStringView name) const {
    const int position = fieldPosition(name);
    return position < 0 ? -1 : fields_[size_t(position)].storage;
}

FieldRef DataSet::field(QStringView name) {
    const int position = fieldPosition(name);
    if (position < 0)
        fail(QStringLiteral("Das Feld \"%1\" gibt es in \"%2\" nicht.").arg(name.toString(), displayName()));
    return FieldRef(*this, position);
}

QStringList DataSet::fieldNames() const {
    QStringList names;
    for (const FieldInfo& f : fields_)
        names << f.def.name;
    return names;
}

QVariant DataSet::value(int position) const {
    const size_t storage = size_t(fields_[size_t(position)].storage);
    return storage < buffer_.size() ? buffer_[storage] : QVariant();
}

QVariant DataSet::valueAt(int row, int position) const {
    if (row == current_)
        return value(position);
    if (row < 0 || row >= visibleCount())
        return {};
    const std::vector<QVariant> record = readRecord(row);
    return record[size_t(fields_[size_t(position)].storage)];
}

void DataSet::setValue(int, const QVariant&) {
    fail(QStringLiteral("\"%1\" kann nicht geändert werden.").arg(displayName()));
}

void DataSet::edit() {
    fail(QStringLiteral("\"%1\" kann nicht geändert werden.").arg(displayName()));
}
void DataSet::append() {
    edit();
}
void DataSet::post() {
    edit();
}
void DataSet::cancel() {}
void DataSet::deleteRecord() {
    edit();
}

FieldInfo& DataSet::info(QStringView name) {
    const int position = fieldPosition(name);
    if (position < 0)
        fail(QStringLiteral("Das Feld \"%1\" gibt es in \"%2\" nicht.").arg(name.toString(), displayName()));
    return fields_[size_t(position)];
}

void DataSet::resetFields(std::vector<FieldInfo> fields) {
    fields_ = std::move(fields);
    buffer_.assign(fields_.size(), QVariant());
}

void DataSet::hideAllFields() {
    for (FieldInfo& f : fields_)
        f.visible = false;
    emit layoutChanged();
}

void DataSet::setFieldVisible(QStringView name, bool visible) {
    info(name).visible = visible;
    emit layoutChanged();
}

void DataSet::setFieldPosition(QStringView name, int position) {
    const int from = fieldPosition(name);
    info(name);
    const int to = std::clamp(position, 0, fieldCount() - 1);
    FieldInfo moved = fields_[size_t(from)];
    fields_.erase(fields_.begin() + from);
    fields_.insert(fields_.begin() + to, moved);
    emit layoutChanged();
}

void DataSet::setDisplayLabel(QStringView name, const QString& label) {
    info(name).displayLabel = label;
    emit layoutChanged();
}

void DataSet::setDisplayWidth(QStringView name, int width) {
    info(name).displayWidth = width;
    emit layoutChanged();
}

std::vector<int> DataSet::visibleFields() const {
    std::vector<int> positions;
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].visible)
            positions.push_back(int(i));
    return positions;
}

void DataSet::bindFilter() {
    bindFilter(filter_);
}

void DataSet::bindFilter(Filter& filter) const {
    filter.bind(
        [this](QStringView name) -> std::optional<Filter::Column> {
            const int position = fieldPosition(name);
            if (position < 0)
                return std::nullopt;
            const FieldInfo& f = fields_[size_t(position)];
            return Filter::Column{f.storage, f.def.kind};
        },
        displayName());
}

void DataSet::setFilterText(const QString& text) {
    Filter parsed = Filter::parse(text);
    checkBrowseMode();
    if (isActive())
        bindFilter(parsed);
    filter_ = std::move(parsed);
    if (isActive() && filtered_)
        refilter();
}

void DataSet::setFiltered(bool filtered) {
    if (filtered_ == filtered)
        return;
    checkBrowseMode();
    filtered_ = filtered;
    if (isActive()) {
        if (!filter_.isBound())
            bindFilter();
        refilter();
    }
}

} // namespace zep
