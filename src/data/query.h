#pragma once

#include "data/dataset.h"

#include <unordered_map>

namespace zep {

// A read-only query over the table files of one directory. Opening runs the SQL once and keeps the
// result; a filter then selects among the kept records without running the SQL again.
class Query : public DataSet {
    Q_OBJECT
public:
    explicit Query(QObject* parent = nullptr);

    void setDirectory(const QString& directory);
    const QString& directory() const { return directory_; }
    void setSql(const QString& sql);
    const QString& sql() const { return sql_; }
    QString displayName() const override { return QStringLiteral("Abfrage"); }

    // Moves to the first visible record whose field equals the value; not found leaves the cursor.
    bool locate(QStringView fieldName, const QVariant& value);

protected:
    void openCursor() override;
    void closeCursor() override;
    int visibleCount() const override { return int(visible_.size()); }
    std::vector<QVariant> readRecord(int row) const override;
    void refilter() override;

private:
    void selectVisible();
    bool selectByIndex();
    const std::unordered_map<qint64, std::vector<int>>& indexOf(int column);

    QString directory_;
    QString sql_;
    std::vector<std::vector<QVariant>> rows_;
    std::vector<int> visible_;
    std::unordered_map<int, std::unordered_map<qint64, std::vector<int>>> indexes_; // built on first use
};

} // namespace zep
