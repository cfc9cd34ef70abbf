#include "data/query.h"

#include "data/sql_query.h"
#include "data/sqlite_db.h"
#include "data/table_file.h"

#include <QUrl>

namespace zep {

Query::Query(QObject* parent) : DataSet(parent) {}

void Query::setDirectory(const QString& directory) {
    if (isActive())
        fail(QStringLiteral("Die Abfrage ist geöffnet; das Verzeichnis kann nicht geändert werden."));
    directory_ = directory;
}

void Query::setSql(const QString& sql) {
    if (isActive())
        fail(QStringLiteral("Die Abfrage ist geöffnet; der Text kann nicht geändert werden."));
    sql_ = sql;
}

void Query::openCursor() {
    const TranslatedQuery translated = translateLocalSql(sql_, directory_);
    QStringList tables;
    for (const auto& attachment : translated.attachments)
        tables << attachment.path;
    auto connection = Connection::inMemory(tables, sql_);
    for (const auto& attachment : translated.attachments) {
        QUrl uri = QUrl::fromLocalFile(attachment.path);
        uri.setQuery(QStringLiteral("mode=ro"));
        Statement attach = connection->prepare(QStringLiteral("ATTACH DATABASE ? AS %1").arg(attachment.schema));
        attach.bind(1, uri.toString(QUrl::FullyEncoded));
        attach.run();
    }
    std::vector<FieldInfo> fields;
    for (size_t i = 0; i < translated.columns.size(); ++i)
        fields.push_back(FieldInfo{translated.columns[i], int(i), false, true, translated.columns[i].name, 0});
    std::vector<std::vector<QVariant>> rows;
    {
        Statement statement = connection->prepare(translated.sql);
        const int columns = int(translated.columns.size());
        while (statement.step()) {
            std::vector<QVariant> row;
            row.reserve(size_t(columns));
            for (int c = 0; c < columns; ++c)
                row.push_back(readColumn(statement, c, translated.columns[size_t(c)].kind));
            rows.push_back(std::move(row));
        }
    }
    resetFields(std::move(fields));
    bindFilter();
    rows_ = std::move(rows);
    selectVisible();
}

void Query::closeCursor() {
    rows_.clear();
    visible_.clear();
    indexes_.clear();
}

const std::unordered_map<qint64, std::vector<int>>& Query::indexOf(int column) {
    auto it = indexes_.find(column);
    if (it != indexes_.end())
        return it->second;
    std::unordered_map<qint64, std::vector<int>>& index = indexes_[column];
    for (size_t i = 0; i < rows_.size(); ++i) {
        const QVariant& v = rows_[i][size_t(column)];
        if (v.isValid() && !v.isNull())
            index[v.toLongLong()].push_back(int(i));
    }
    return index;
}

// Entry filters name a few key values: answer them from an index of the kept result instead of
// testing every record.
bool Query::selectByIndex() {
    const auto terms = filter().equalityTerms();
    if (!terms)
        return false;
    visible_.clear();
    for (const Filter::EqualityTerm& term : *terms) {
        const auto& index = indexOf(term.column);
        for (qint64 value : term.values) {
            const auto hit = index.find(value);
            if (hit != index.end())
                visible_.insert(visible_.end(), hit->second.begin(), hit->second.end());
        }
    }
    std::sort(visible_.begin(), visible_.end());
    visible_.erase(std::unique(visible_.begin(), visible_.end()), visible_.end());
    return true;
}

void Query::selectVisible() {
    if (filterActive() && selectByIndex())
        return;
    visible_.clear();
    visible_.reserve(rows_.size());
    const bool filtering = filterActive();
    for (size_t i = 0; i < rows_.size(); ++i)
        if (!filtering || filter().matches(rows_[i].data()))
            visible_.push_back(int(i));
}

std::vector<QVariant> Query::readRecord(int row) const {
    return rows_[size_t(visible_[size_t(row)])];
}

void Query::refilter() {
    selectVisible();
    moveTo(visible_.empty() ? -1 : 0);
    notifyDataChanged();
}

bool Query::locate(QStringView fieldName, const QVariant& value) {
    const int storage = field(fieldName).info().storage;
    const QVariant wanted = coerceValue(fieldInfo(fieldPosition(fieldName)).def, value, displayName());
    for (size_t i = 0; i < visible_.size(); ++i) {
        if (compareValues(rows_[size_t(visible_[i])][size_t(storage)], wanted) == 0) {
            moveTo(int(i));
            notifyDataChanged();
            return true;
        }
    }
    return false;
}

} // namespace zep
