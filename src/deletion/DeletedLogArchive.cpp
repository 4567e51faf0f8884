#include "DeletedLogArchive.h"

#include "core/RuntimeError.h"

#include <QDir>

#include <optional>

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

// A log's scan records in one blob, each after its length (4 bytes, little-endian):
// one row a log keeps the archive step cheap beside the delete it guards.
RecordBytes packed(const std::vector<RecordBytes> &records)
{
    std::size_t size = 0;
    for (const RecordBytes &r : records)
        size += 4 + r.size();
    RecordBytes blob;
    blob.reserve(size);
    for (const RecordBytes &r : records) {
        const auto n = static_cast<std::uint32_t>(r.size());
        for (int shift = 0; shift < 32; shift += 8)
            blob.push_back(static_cast<std::uint8_t>(n >> shift));
        blob.insert(blob.end(), r.begin(), r.end());
    }
    return blob;
}

// Empty when the blob is not what packed() wrote.
std::optional<std::vector<RecordBytes>> unpacked(const RecordBytes &blob)
{
    std::vector<RecordBytes> records;
    std::size_t at = 0;
    while (at < blob.size()) {
        if (blob.size() - at < 4)
            return std::nullopt;
        std::uint32_t n = 0;
        for (int k = 0; k < 4; ++k)
            n |= static_cast<std::uint32_t>(blob[at + k]) << (8 * k);
        at += 4;
        if (blob.size() - at < n)
            return std::nullopt;
        records.emplace_back(blob.begin() + static_cast<std::ptrdiff_t>(at),
                             blob.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    }
    return records;
}

QString timeText(const QDateTime &t)
{
    return t.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime timeOf(const QString &text)
{
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, Qt::ISODateWithMs);
}

} // namespace

DeletedLogArchive::DeletedLogArchive(const QString &path, Access access) : m_path(path)
{
    const QByteArray file = QDir::toNativeSeparators(path).toUtf8();
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY
                                                 : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(file.constData(), &m_db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(m_db); // a handle comes back even when the open fails
        m_db = nullptr;
        fail(QStringLiteral("can't be opened"));
    }
    sqlite3_busy_timeout(m_db, 5000);
    if (access == Access::ReadOnly)
        return;
    try {
        // FULL: a commit is on the disk before the handheld is touched.
        exec("PRAGMA synchronous=FULL;"
             "CREATE TABLE IF NOT EXISTS deleted_logs("
             " id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, index_record BLOB NOT NULL,"
             " scan_count INTEGER NOT NULL, scan_records BLOB NOT NULL,"
             " deleted_at TEXT NOT NULL, removed INTEGER NOT NULL DEFAULT 0, restored_at TEXT);");
        if (sqlite3_db_readonly(m_db, "main") == 1)
            throw RuntimeError(ErrorNumber::PathFileAccessError,
                               QStringLiteral("Path/File access error: the archive of deleted "
                                              "logs %1 is read-only: nothing was changed; make "
                                              "it writable and try again")
                                   .arg(QDir::toNativeSeparators(m_path)));
        addHandheldRecordColumns();
    } catch (...) {
        sqlite3_close(m_db); // no destructor runs for a constructor that throws
        m_db = nullptr;
        throw;
    }
}

bool DeletedLogArchive::hasColumn(const char *name) const
{
    return sqlite3_table_column_metadata(m_db, "main", "deleted_logs", name, nullptr, nullptr,
                                         nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Archives written before these columns tell a log by its content alone.
void DeletedLogArchive::addHandheldRecordColumns()
{
    for (const char *column : {"deleted_record", "restored_record"}) {
        if (hasColumn(column))
            continue;
        const QByteArray sql =
            QByteArrayLiteral("ALTER TABLE deleted_logs ADD COLUMN ") + column + " INTEGER";
        // Another process may have added it meanwhile.
        if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK &&
            !hasColumn(column))
            fail(QStringLiteral("can't be written"));
    }
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
        Statement log(m_db, "INSERT INTO deleted_logs(kind, index_record, scan_count,"
                            " scan_records, deleted_at, deleted_record) VALUES(?, ?, ?, ?, ?, ?)");
        if (!log.ok())
            fail(QStringLiteral("can't be written"));
        const QString now = timeText(QDateTime::currentDateTimeUtc());
        for (const ArchivedLog &l : logs) {
            log.bind(1, static_cast<std::int64_t>(l.kind))
                .bind(2, l.indexRecord)
                .bind(3, static_cast<std::int64_t>(l.scanRecords.size()))
                .bind(4, packed(l.scanRecords))
                .bind(5, now)
                .bind(6, static_cast<std::int64_t>(l.deletedRecord));
            if (log.step() || log.failed())
                fail(QStringLiteral("can't be written"));
            ids.push_back(sqlite3_last_insert_rowid(m_db));
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
    // Only a hint for the reader of the list: a restore checks the handheld
    // itself, so this mark need not wait for the disk.
    exec("PRAGMA synchronous=OFF; BEGIN IMMEDIATE");
    Statement mark(m_db, "UPDATE deleted_logs SET removed = 1 WHERE id = ?");
    for (const std::int64_t id : ids) {
        mark.bind(1, id);
        mark.step();
    }
    exec("COMMIT; PRAGMA synchronous=FULL");
}

void DeletedLogArchive::markRestoring(std::int64_t id, vexasync::RecordId record)
{
    Statement mark(m_db, "UPDATE deleted_logs SET removed = 1, restored_record = ?,"
                         " restored_at = NULL WHERE id = ?");
    mark.bind(1, static_cast<std::int64_t>(record)).bind(2, id);
    if (mark.step() || mark.failed())
        fail(QStringLiteral("can't be written"));
    if (sqlite3_changes(m_db) == 0) // purged meanwhile
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("the archive has no log %1").arg(id));
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
    // Archives opened read-only may predate the handheld record columns.
    const QByteArray sql =
        QByteArrayLiteral("SELECT id, kind, index_record, deleted_at, removed,"
                          " coalesce(restored_at, ''), scan_count, ") +
        (hasColumn("restored_record") ? "coalesce(deleted_record, 0), coalesce(restored_record, 0)"
                                      : "0, 0") +
        (withRecords ? ", scan_records" : "") + " FROM deleted_logs ORDER BY id";
    Statement rows(m_db, sql.constData());
    if (!rows.ok())
        fail(QStringLiteral("can't be read"));
    while (rows.step()) {
        ArchivedLog l;
        l.id = rows.integer(0);
        const std::int64_t kind = rows.integer(1);
        l.kind = logKindOfTab(static_cast<int>(kind & 3));
        if (kind < 0 || kind > 3)
            l.damage = QStringLiteral("its kind (%1) is none of the four kinds of log").arg(kind);
        l.indexRecord = rows.blob(2);
        l.deletedAt = timeOf(rows.text(3));
        l.removed = rows.integer(4) != 0;
        l.restoredAt = timeOf(rows.text(5));
        l.deletedRecord = static_cast<vexasync::RecordId>(rows.integer(7));
        l.restoredRecord = static_cast<vexasync::RecordId>(rows.integer(8));
        const auto count = static_cast<std::size_t>(rows.integer(6));
        if (!withRecords) {
            l.scanRecords.resize(count);
        } else if (auto records = unpacked(rows.blob(9)); records && records->size() == count) {
            l.scanRecords = std::move(*records);
        } else {
            fail(QStringLiteral("is damaged (log %1)").arg(l.id));
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
