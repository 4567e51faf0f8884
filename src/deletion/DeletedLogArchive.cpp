#include "DeletedLogArchive.h"

#include "core/RuntimeError.h"

#include <QDir>

#include <sqlite3.h>

namespace vexa {

namespace {

class Statement {
public:
    Statement(sqlite3 *db, const char *sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool ok() const { return m_stmt != nullptr; }
    Statement &bind(int column, std::int64_t value)
    {
        sqlite3_bind_int64(m_stmt, column, value);
        return *this;
    }
    Statement &bind(int column, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, column, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement &bind(int column, const RecordBytes &bytes)
    {
        // A zero-length blob, not NULL, for an empty record.
        sqlite3_bind_blob(m_stmt, column,
                          bytes.empty() ? static_cast<const void *>("") : bytes.data(),
                          static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // True while a row is there; false when done (and reset).
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        sqlite3_reset(m_stmt);
        m_failed = rc != SQLITE_DONE;
        return false;
    }
    bool failed() const { return m_failed; }
    std::int64_t integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString text(int column) const
    {
        return QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)));
    }
    RecordBytes blob(int column) const
    {
        const auto *data = static_cast<const std::uint8_t *>(sqlite3_column_blob(m_stmt, column));
        return RecordBytes(data, data + sqlite3_column_bytes(m_stmt, column));
    }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    bool m_failed = false;
};

QString timeText(const QDateTime &t)
{
    return t.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime timeOf(const QString &text)
{
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, Qt::ISODateWithMs);
}

} // namespace

DeletedLogArchive::DeletedLogArchive(const QString &path) : m_path(path)
{
    const QByteArray file = QDir::toNativeSeparators(path).toUtf8();
    if (sqlite3_open_v2(file.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        fail(QStringLiteral("can't open"));
    sqlite3_busy_timeout(m_db, 5000);
    // FULL: a commit is on the disk before the handheld is touched.
    exec("PRAGMA synchronous=FULL;"
         "PRAGMA foreign_keys=ON;"
         "CREATE TABLE IF NOT EXISTS deleted_logs("
         " id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, index_record BLOB NOT NULL,"
         " deleted_at TEXT NOT NULL, removed INTEGER NOT NULL DEFAULT 0, restored_at TEXT);"
         "CREATE TABLE IF NOT EXISTS deleted_scans("
         " log_id INTEGER NOT NULL REFERENCES deleted_logs(id) ON DELETE CASCADE,"
         " position INTEGER NOT NULL, record BLOB NOT NULL, PRIMARY KEY(log_id, position))"
         " WITHOUT ROWID;");
}

DeletedLogArchive::~DeletedLogArchive()
{
    sqlite3_close(m_db);
}

QString DeletedLogArchive::pathIn(const QString &userFolder)
{
    return QDir(userFolder).filePath(QStringLiteral("deleted-logs.sqlite"));
}

void DeletedLogArchive::fail(const QString &what) const
{
    const QString reason =
        m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
    throw RuntimeError(ErrorNumber::PathFileAccessError,
                       QStringLiteral("Path/File access error: the archive of deleted logs %1 "
                                      "%2 (%3)")
                           .arg(QDir::toNativeSeparators(m_path), what, reason));
}

void DeletedLogArchive::exec(const char *sql) const
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QStringLiteral("can't be written"));
}

std::vector<std::int64_t> DeletedLogArchive::add(const std::vector<ArchivedLog> &logs)
{
    exec("BEGIN IMMEDIATE");
    std::vector<std::int64_t> ids;
    try {
        Statement log(m_db, "INSERT INTO deleted_logs(kind, index_record, deleted_at)"
                            " VALUES(?, ?, ?)");
        Statement scan(m_db, "INSERT INTO deleted_scans(log_id, position, record) VALUES(?,?,?)");
        if (!log.ok() || !scan.ok())
            fail(QStringLiteral("can't be written"));
        const QString now = timeText(QDateTime::currentDateTimeUtc());
        for (const ArchivedLog &l : logs) {
            log.bind(1, static_cast<std::int64_t>(l.kind)).bind(2, l.indexRecord).bind(3, now);
            if (log.step() || log.failed())
                fail(QStringLiteral("can't be written"));
            ids.push_back(sqlite3_last_insert_rowid(m_db));
            for (std::size_t k = 0; k < l.scanRecords.size(); ++k) {
                scan.bind(1, ids.back())
                    .bind(2, static_cast<std::int64_t>(k))
                    .bind(3, l.scanRecords[k]);
                if (scan.step() || scan.failed())
                    fail(QStringLiteral("can't be written"));
            }
        }
        exec("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return ids;
}

void DeletedLogArchive::markRemoved(const std::vector<std::int64_t> &ids)
{
    exec("BEGIN IMMEDIATE");
    Statement mark(m_db, "UPDATE deleted_logs SET removed = 1 WHERE id = ?");
    for (const std::int64_t id : ids) {
        mark.bind(1, id);
        mark.step();
    }
    exec("COMMIT");
}

void DeletedLogArchive::markRestored(std::int64_t id)
{
    Statement mark(m_db, "UPDATE deleted_logs SET restored_at = ? WHERE id = ?");
    mark.bind(1, timeText(QDateTime::currentDateTimeUtc())).bind(2, id);
    if (mark.step() || mark.failed())
        fail(QStringLiteral("can't be written"));
}

std::vector<ArchivedLog> DeletedLogArchive::logs(bool withRecords) const
{
    std::vector<ArchivedLog> logs;
    Statement rows(m_db, "SELECT id, kind, index_record, deleted_at, removed,"
                         " coalesce(restored_at, ''),"
                         " (SELECT count(*) FROM deleted_scans WHERE log_id = id)"
                         " FROM deleted_logs ORDER BY id");
    Statement scans(m_db, "SELECT record FROM deleted_scans WHERE log_id = ? ORDER BY position");
    if (!rows.ok() || !scans.ok())
        fail(QStringLiteral("can't be read"));
    while (rows.step()) {
        ArchivedLog l;
        l.id = rows.integer(0);
        l.kind = logKindOfTab(static_cast<int>(rows.integer(1) & 3));
        l.indexRecord = rows.blob(2);
        l.deletedAt = timeOf(rows.text(3));
        l.removed = rows.integer(4) != 0;
        l.restoredAt = timeOf(rows.text(5));
        if (withRecords) {
            scans.bind(1, l.id);
            while (scans.step())
                l.scanRecords.push_back(scans.blob(0));
        } else {
            l.scanRecords.resize(static_cast<std::size_t>(rows.integer(6)));
        }
        logs.push_back(std::move(l));
    }
    if (rows.failed())
        fail(QStringLiteral("can't be read"));
    return logs;
}

int DeletedLogArchive::purgeBefore(const QDateTime &when)
{
    Statement purge(m_db, "DELETE FROM deleted_logs WHERE deleted_at < ?");
    purge.bind(1, timeText(when));
    if (purge.step() || purge.failed())
        fail(QStringLiteral("can't be written"));
    return sqlite3_changes(m_db);
}

} // namespace vexa
