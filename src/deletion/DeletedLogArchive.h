// Every log a delete command removes, kept on the desktop: its index record
// and scan records, bytes as read, written and synced before the handheld
// changes. One SQLite file per handheld user, beside its backup folder.
#pragma once

#include "format/LogKind.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <vector>

struct sqlite3;

namespace vexa {

using RecordBytes = std::vector<std::uint8_t>;

struct ArchivedLog {
    std::int64_t id = 0;
    LogKind kind = LogKind::Rirod;
    RecordBytes indexRecord; // empty: scan records no log pointed at
    std::vector<RecordBytes> scanRecords;
    QDateTime deletedAt;
    bool removed = false; // the delete went through for this log
    QDateTime restoredAt; // invalid until restored
};

class DeletedLogArchive {
public:
    enum class Access { Write, ReadOnly };
    // Opens the archive, creating it when missing (ReadOnly: never, and
    // never writes). Throws RuntimeError (path/file access) when it can't be
    // opened or written.
    explicit DeletedLogArchive(const QString &path, Access access = Access::Write);
    ~DeletedLogArchive();
    DeletedLogArchive(const DeletedLogArchive &) = delete;
    DeletedLogArchive &operator=(const DeletedLogArchive &) = delete;

    // "<user folder>/deleted-logs.sqlite"
    static QString pathIn(const QString &userFolder);
    QString path() const { return m_path; }

    // One transaction, on disk when this returns; the new rows' ids in order.
    std::vector<std::int64_t> add(const std::vector<ArchivedLog> &logs);
    void markRemoved(const std::vector<std::int64_t> &ids);
    void markRestored(std::int64_t id);

    // Oldest first; without records, only their counts and sizes are read.
    std::vector<ArchivedLog> logs(bool withRecords = true) const;
    // Removes the rows deleted before `when`; returns how many.
    int purgeBefore(const QDateTime &when);

private:
    void exec(const char *sql) const;
    [[noreturn]] void fail(const QString &what) const;

    QString m_path;
    sqlite3 *m_db = nullptr;
};

} // namespace vexa
