#include "DeletedLogArchive.h"

#include "ArchiveFile.h"
#include "core/RuntimeError.h"
#include "logbook/ScanPack.h"

#include <QDir>

#include <optional>

#include <sqlite3.h>

namespace vexa {

namespace {

// The row's scan records into `log`, or why they can't be: the count it
// lists is checked against the bytes it holds before anything is allocated.
QString readScans(ArchivedLog &log, std::int64_t listed, std::int64_t bytes,
                  const RecordBytes *blob)
{
    const QString cutShort = QStringLiteral("its scan records are cut short");
    if (listed < 0)
        return QStringLiteral("its scan count (%1) is below zero").arg(listed);
    if (listed > mostScansIn(bytes))
        return cutShort;
    if (!blob) {
        log.scanRecords.resize(static_cast<std::size_t>(listed));
        return {};
    }
    std::optional<std::vector<RecordBytes>> records = unpackScans(*blob);
    if (!records)
        return cutShort;
    if (static_cast<std::int64_t>(records->size()) != listed)
        return QStringLiteral("it lists %1 scan records but holds %2")
            .arg(listed)
            .arg(records->size());
    log.scanRecords = std::move(*records);
    return {};
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

DeletedLogArchive::DeletedLogArchive(const QString &path, Access access)
    : m_path(path),
      m_file(std::make_unique<ArchiveFile>(
          path, access == Access::ReadOnly ? ArchiveFile::Mode::Read : ArchiveFile::Mode::Write))
{}

DeletedLogArchive::~DeletedLogArchive() = default;

QString DeletedLogArchive::pathIn(const QString &userFolder)
{
    return QDir(userFolder).filePath(QStringLiteral("deleted-logs.sqlite"));
}

std::vector<std::int64_t> DeletedLogArchive::add(const std::vector<ArchivedLog> &logs)
{
    m_file->beginWrite();
    std::vector<std::int64_t> ids;
    try {
        SqlStatement log(*m_file,
                         "INSERT INTO deleted_logs(kind, index_record, scan_count,"
                         " scan_records, deleted_at, deleted_record) VALUES(?, ?, ?, ?, ?, ?)");
        const QString now = timeText(QDateTime::currentDateTimeUtc());
        for (const ArchivedLog &l : logs) {
            log.bind(1, static_cast<std::int64_t>(l.kind))
                .bind(2, l.indexRecord)
                .bind(3, static_cast<std::int64_t>(l.scanRecords.size()))
                .bind(4, packScans(l.scanRecords))
                .bind(5, now)
                .bind(6, static_cast<std::int64_t>(l.deletedRecord))
                .run();
            ids.push_back(sqlite3_last_insert_rowid(m_file->db()));
        }
        m_file->exec("COMMIT");
    } catch (...) {
        sqlite3_exec(m_file->db(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return ids;
}

void DeletedLogArchive::markRemoved(const std::vector<std::int64_t> &ids)
{
    if (!m_file->db())
        return; // no archive, no rows
    // Only a hint for the reader of the list, so it need not wait for the
    // disk.
    m_file->exec("PRAGMA synchronous=OFF; BEGIN IMMEDIATE");
    SqlStatement mark(*m_file, "UPDATE deleted_logs SET removed = 1 WHERE id = ?");
    for (const std::int64_t id : ids) {
        mark.bind(1, id);
        mark.tryStep();
    }
    m_file->exec("COMMIT; PRAGMA synchronous=FULL");
}

void DeletedLogArchive::markRestoring(std::int64_t id, vexasync::RecordId record)
{
    m_file->beginWrite(); // brings an archive made before the record columns up to date
    try {
        SqlStatement(*m_file, "UPDATE deleted_logs SET removed = 1, restored_record = ?,"
                              " restored_at = NULL WHERE id = ?")
            .bind(1, static_cast<std::int64_t>(record))
            .bind(2, id)
            .run();
        if (sqlite3_changes(m_file->db()) == 0) // purged meanwhile
            throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                               QStringLiteral("the archive has no log %1").arg(id));
        m_file->exec("COMMIT");
    } catch (...) {
        sqlite3_exec(m_file->db(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void DeletedLogArchive::markRestored(std::int64_t id)
{
    if (!m_file->db())
        return;
    SqlStatement mark(*m_file, "UPDATE deleted_logs SET restored_at = ? WHERE id = ?");
    mark.bind(1, timeText(QDateTime::currentDateTimeUtc())).bind(2, id).run();
}

std::vector<ArchivedLog> DeletedLogArchive::logs(bool withRecords) const
{
    std::vector<ArchivedLog> logs;
    if (!m_file->db())
        return logs;
    // An archive opened for reading may predate the handheld record columns.
    const QByteArray sql =
        QByteArrayLiteral("SELECT id, kind, index_record, deleted_at, removed,"
                          " coalesce(restored_at, ''), scan_count, length(scan_records), ") +
        (m_file->hasHandheldRecordColumns()
             ? "coalesce(deleted_record, 0), coalesce(restored_record, 0)"
             : "0, 0") +
        (withRecords ? ", scan_records" : "") + " FROM deleted_logs ORDER BY id";
    SqlStatement rows(*m_file, sql.constData());
    while (rows.step()) {
        ArchivedLog l;
        l.id = rows.integer(0);
        const std::int64_t kind = rows.integer(1);
        // A kind the program doesn't know stays on the tab it was listed on
        // before, where it keeps its number.
        l.kind = logKindOfTab(static_cast<int>(kind & 3));
        l.indexRecord = rows.blob(2);
        l.deletedAt = timeOf(rows.text(3));
        l.removed = rows.integer(4) != 0;
        l.restoredAt = timeOf(rows.text(5));
        l.deletedRecord = static_cast<vexasync::RecordId>(rows.integer(8));
        l.restoredRecord = static_cast<vexasync::RecordId>(rows.integer(9));
        const std::optional<RecordBytes> blob =
            withRecords ? std::optional(rows.blob(10)) : std::nullopt;
        l.damage = readScans(l, rows.integer(6), rows.integer(7), blob ? &*blob : nullptr);
        if (kind < 0 || kind > 3)
            l.damage = QStringLiteral("its kind (%1) is none the program knows").arg(kind);
        logs.push_back(std::move(l));
    }
    return logs;
}

int DeletedLogArchive::purgeBefore(const QDateTime &when)
{
    if (!m_file->db())
        return 0;
    m_file->exec("BEGIN IMMEDIATE");
    std::vector<std::int64_t> old;
    try {
        // A row whose deletion time can't be read stays.
        SqlStatement rows(*m_file, "SELECT id, deleted_at FROM deleted_logs");
        while (rows.step())
            if (const QDateTime at = timeOf(rows.text(1)); at.isValid() && at < when)
                old.push_back(rows.integer(0));
        SqlStatement purge(*m_file, "DELETE FROM deleted_logs WHERE id = ?");
        for (const std::int64_t id : old)
            purge.bind(1, id).run();
        m_file->exec("COMMIT");
    } catch (...) {
        sqlite3_exec(m_file->db(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return static_cast<int>(old.size());
}

} // namespace vexa
