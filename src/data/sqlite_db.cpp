#include "data/sqlite_db.h"

#include "app/safe_file.h"
#include "data/collation.h"
#include "data/engine_error.h"
#include "data/format_error.h"
#include "data/sql_query.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <map>
#include <sqlite3.h>

namespace zep {
namespace {

QString sqliteMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

// Each file once, quoted, in the order given.
QStringList quotedNames(const QStringList& files) {
    QStringList names;
    for (const QString& file : files)
        if (!names.contains(quoted(file)))
            names << quoted(file);
    return names;
}

// "a", "b" oder "c".
QString alternatives(QStringList names) {
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" oder ") + last;
}

QString corruptMessage(const QStringList& names) {
    return (names.size() > 1 ? QStringLiteral("Eine der Dateien %1 ist keine gültige Tabelle oder beschädigt.")
                             : QStringLiteral("Die Datei %1 ist keine gültige Tabelle oder beschädigt."))
        .arg(alternatives(names));
}

// The German sentence for the common causes, naming the file, or for several files "one of"
// them (SQLite does not tell which one failed); SQLite's own text follows only as a detail line.
// A plain error on a query's connection is the query's fault and names its text instead.
QString describeFailure(sqlite3* db, const FailureSubject& subject) {
    const int primary = sqlite3_extended_errcode(db) & 0xff;
    if (primary == SQLITE_ERROR && !subject.query.isEmpty())
        return queryErrorMessage(subject.query, sqliteMessage(db));
    const QStringList names = quotedNames(subject.files);
    const bool several = names.size() > 1;
    const QString place = alternatives(names);
    const auto sentence = [&](const QString& one, const QString& many) {
        return (several ? many : one).arg(place);
    };
    const QString detail = QStringLiteral("\nEinzelheiten: ") + sqliteMessage(db);
    if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
        return corruptMessage(names);
    if (primary == SQLITE_CONSTRAINT)
        return sentence(QStringLiteral("Schlüsselverletzung in %1: Ein Wert verletzt eine Regel der Tabelle."),
                        QStringLiteral("Schlüsselverletzung in einer der Dateien %1: Ein Wert verletzt eine Regel "
                                       "der Tabelle.")) +
               detail;
    if (primary == SQLITE_FULL)
        return sentence(QStringLiteral("Der Datenträger ist voll; %1 wurde nicht geändert."),
                        QStringLiteral("Der Datenträger ist voll; keine der Dateien %1 wurde geändert."));
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return sentence(QStringLiteral("Die Tabelle %1 wird gerade von einem anderen Programm benutzt. Bitte "
                                       "versuchen Sie es später noch einmal."),
                        QStringLiteral("Eine der Tabellen %1 wird gerade von einem anderen Programm benutzt. Bitte "
                                       "versuchen Sie es später noch einmal.")) +
               detail;
    if (primary == SQLITE_READONLY)
        return sentence(QStringLiteral("Auf %1 kann nicht geschrieben werden: Die Datei oder der Datenträger ist "
                                       "schreibgeschützt."),
                        QStringLiteral("Auf eine der Dateien %1 kann nicht geschrieben werden: Die Datei oder der "
                                       "Datenträger ist schreibgeschützt.")) +
               detail;
    if (primary == SQLITE_PERM || primary == SQLITE_AUTH)
        return sentence(QStringLiteral("Der Zugriff auf %1 wurde verweigert."),
                        QStringLiteral("Der Zugriff auf eine der Dateien %1 wurde verweigert.")) +
               detail;
    if (primary == SQLITE_CANTOPEN)
        return sentence(QStringLiteral("Die Tabelle %1 kann nicht geöffnet werden: Die Datei fehlt oder der Zugriff "
                                       "wurde verweigert."),
                        QStringLiteral("Eine der Tabellen %1 kann nicht geöffnet werden: Die Datei fehlt oder der "
                                       "Zugriff wurde verweigert.")) +
               detail;
    if (primary == SQLITE_IOERR)
        return sentence(QStringLiteral("Beim Lesen oder Schreiben von %1 meldet der Datenträger einen Fehler."),
                        QStringLiteral("Beim Lesen oder Schreiben einer der Dateien %1 meldet der Datenträger einen "
                                       "Fehler.")) +
               detail;
    return sentence(QStringLiteral("Datenbankfehler in %1."),
                    QStringLiteral("Datenbankfehler in einer der Dateien %1.")) +
           detail;
}

bool hasDatabaseHeader(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArrayView("SQLite format 3\0", 16);
}

void settleUpgradeBackup(const QString& path) {
    const QString backup = path + QString::fromUtf16(kUpgradeBackupSuffix);
    if (!QFileInfo::exists(backup))
        return;
    try {
        if (hasDatabaseHeader(path)) {
            removeDurably(backup);
            return;
        }
        // A journal of the damaged file must not be played into the old one.
        removeDurably(path + QStringLiteral("-journal"));
        renameDurably(backup, path);
    } catch (const FileError& error) {
        throw EngineError(
            QStringLiteral("Die Sicherung der Tabelle \"%1\" aus einer Aktualisierung kann nicht aufgeräumt werden.\n")
                .arg(path) +
            error.message());
    }
}

std::map<QString, std::weak_ptr<Connection>>& openFiles() {
    static std::map<QString, std::weak_ptr<Connection>> files;
    return files;
}

} // namespace

QString corruptTableMessage(const QString& path) {
    return corruptMessage({quoted(path)});
}

Connection::Connection(sqlite3* db, QString path, FailureSubject subject)
    : db_(db), path_(std::move(path)), subject_(std::move(subject)) {
    registerCollation(db_);
    sqlite3_busy_timeout(db_, 2000);
    sqlite3_extended_result_codes(db_, 1);
}

Connection::~Connection() {
    for (auto& [sql, cached] : cache_)
        sqlite3_finalize(cached.stmt);
    sqlite3_close_v2(db_);
}

std::shared_ptr<Connection> Connection::forFile(const QString& path) {
    const QString key = QFileInfo(path).absoluteFilePath();
    auto& files = openFiles();
    if (auto existing = files[key].lock())
        return existing;
    settleUpgradeBackup(key);
    if (!QFileInfo::exists(key))
        throw EngineError(QStringLiteral("Die Tabelle \"%1\" existiert nicht.").arg(key));
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(key.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = describeFailure(db, FailureSubject{{key}, {}});
        sqlite3_close_v2(db);
        throw EngineError(message);
    }
    std::shared_ptr<Connection> connection(new Connection(db, key, FailureSubject{{key}, {}}));
    connection->exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    connection->exec(QStringLiteral("PRAGMA synchronous=FULL"));
    files[key] = connection;
    return connection;
}

std::unique_ptr<Connection> Connection::inMemory(const QStringList& tables, const QString& query) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        sqlite3_close_v2(db);
        throw EngineError(QStringLiteral("Die Abfrage-Datenbank konnte nicht angelegt werden."));
    }
    return std::unique_ptr<Connection>(new Connection(db, QStringLiteral(":memory:"), FailureSubject{tables, query}));
}

Statement Connection::prepare(const QString& sql) {
    const std::string key = sql.toStdString();
    auto it = cache_.find(key);
    if (it != cache_.end() && !it->second.busy) {
        it->second.busy = true;
        return Statement(*this, it->second.stmt, false);
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, key.c_str(), int(key.size()), &stmt, nullptr) != SQLITE_OK)
        throw EngineError(describeFailure(db_, subject_));
    if (it != cache_.end())
        return Statement(*this, stmt, true);
    cache_.emplace(key, Cached{stmt, true});
    return Statement(*this, stmt, false);
}

void Connection::exec(const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        sqlite3_free(error);
        throw EngineError(describeFailure(db_, subject_));
    }
}

qint64 Connection::lastInsertRowId() const {
    return sqlite3_last_insert_rowid(db_);
}
int Connection::changes() const {
    return sqlite3_changes(db_);
}
QString Connection::errorMessage() const {
    return describeFailure(db_, subject_);
}

void Connection::rollbackIfActive() noexcept {
    if (!sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Connection::release(sqlite3_stmt* stmt) {
    for (auto& [sql, cached] : cache_) {
        if (cached.stmt == stmt) {
            cached.busy = false;
            return;
        }
    }
}

Statement::~Statement() {
    if (!stmt_)
        return;
    if (owned_) {
        sqlite3_finalize(stmt_);
        return;
    }
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    connection_->release(stmt_);
}

void Statement::bind(int index, const QVariant& value) {
    int rc = SQLITE_OK;
    if (!value.isValid() || value.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (value.metaType().id()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(stmt_, index, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        case QMetaType::QDate: {
            const QByteArray iso = value.toDate().toString(Qt::ISODate).toUtf8();
            rc = sqlite3_bind_text(stmt_, index, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throw EngineError(connection_->errorMessage());
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw EngineError(connection_->errorMessage());
}

void Statement::run() {
    while (step()) {
    }
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}
bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}
qint64 Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}
double Statement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

QString Statement::text(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, column));
}

QVariant Statement::raw(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(integer(column));
    case SQLITE_FLOAT:
        return QVariant(real(column));
    default:
        return QVariant(text(column));
    }
}

} // namespace zep
