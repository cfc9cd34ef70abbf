#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace zep {

class Statement;

// What a connection's failures name: its table files, and on a query's connection the query's text.
struct FailureSubject {
    QStringList files;
    QString query;
};

// The old file of a table kept beside it while an upgrade replaces the table. It is removed once every
// table of the directory is replaced; one left behind by an interrupted run is settled at the next open.
inline constexpr char16_t kUpgradeBackupSuffix[] = u".upgrade-alt";

// The message for a file that is not a table of the program, or a damaged one.
QString corruptTableMessage(const QString& path);

// One SQLite connection. Table files are opened in rollback-journal mode with full synchronous
// writes, so every committed statement is on disk when it returns and the file alone is consistent.
class Connection {
public:
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The one connection of this process to a table file (shared by every table object on it). The
    // first open settles an upgrade backup left beside the file: it replaces a file that is not an
    // SQLite database, and is removed otherwise.
    static std::shared_ptr<Connection> forFile(const QString& path);
    // A private in-memory connection to which the table files of a query are attached. Its failures
    // name all those files, since SQLite's error does not tell which one failed, and a plain SQL
    // error names the query.
    static std::unique_ptr<Connection> inMemory(const QStringList& tables, const QString& query);

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

    // Prepared statements are cached per SQL text; the returned statement is reset when released.
    Statement prepare(const QString& sql);
    void exec(const QString& sql);
    qint64 lastInsertRowId() const;
    int changes() const;
    QString errorMessage() const;
    // Rolls back an open transaction, and does nothing when SQLite has already ended it. Never
    // throws: it runs while the first failure is on its way to the caller.
    void rollbackIfActive() noexcept;

private:
    Connection(sqlite3* db, QString path, FailureSubject subject);
    sqlite3* db_;
    QString path_;
    FailureSubject subject_;
    friend class Statement;
    struct Cached {
        sqlite3_stmt* stmt;
        bool busy;
    };
    std::unordered_map<std::string, Cached> cache_;
    void release(sqlite3_stmt* stmt);
};

// A cached statement in use: bind, step, read; reset and unbound again when it goes out of scope,
// so no statement stays open between calls (an open statement would block writers of other connections).
class Statement {
public:
    Statement(Connection& connection, sqlite3_stmt* stmt, bool owned)
        : connection_(&connection), stmt_(stmt), owned_(owned) {}
    Statement(Statement&& other) noexcept : connection_(other.connection_), stmt_(other.stmt_), owned_(other.owned_) {
        other.stmt_ = nullptr;
    }
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const QVariant& value); // 1-based
    bool step();                                 // true while a row is available
    void run();                                  // steps to completion
    int columnCount() const;
    bool isNull(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    QString text(int column) const;
    QVariant raw(int column) const; // by the stored type

private:
    friend class Connection;
    Connection* connection_;
    sqlite3_stmt* stmt_;
    bool owned_; // a second use of a cached text while the first is running gets its own statement
};

// Runs a function inside one transaction; rolls back when it throws. After a full disk or an I/O
// error SQLite may already have rolled back on its own; then the first cause is what the caller sees.
template <typename F> void inTransaction(Connection& connection, F&& work) {
    connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        work();
        connection.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        connection.rollbackIfActive();
        throw;
    }
}

} // namespace zep
