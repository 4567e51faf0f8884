// Every log a delete command removes, kept on the desktop: its index record
// and scan records, bytes as read, written and synced before the handheld
// changes. One SQLite file per handheld user, beside its backup folder.
#pragma once

#include "format/LogKind.h"
#include "logbook/ScanPack.h"
#include "vexasync/VexaSync.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace vexa {

class ArchiveFile;

struct ArchivedLog {
    std::int64_t id = 0;
    LogKind kind = LogKind::Rirod;
    RecordBytes indexRecord; // empty: scan records no log pointed at
    std::vector<RecordBytes> scanRecords;
    QDateTime deletedAt;
    bool removed = false; // the delete went through for this log
    QDateTime restoredAt; // invalid until restored
    // The handheld's ids of the log's index record, 0 when not known: the
    // one the delete removed, and the one a restore wrote (kept before that
    // restore's commit, so that a restore cut short is told from one done).
    vexasync::RecordId deletedRecord = 0;
    vexasync::RecordId restoredRecord = 0;
    QString damage; // empty: the row reads whole; else why it doesn't
};

class DeletedLogArchive {
public:
    enum class Access { Write, ReadOnly };
    // Opens the archive; a missing one is made by the first add() (ReadOnly:
    // never, and never writes: a missing, empty or other file is an error).
    // Throws RuntimeError when it can't be opened or is not an archive, or
    // (Write) when the file is read-only.
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
    // On disk before the handheld's commit of the restore: the log is
    // removed and being restored as `record`.
    void markRestoring(std::int64_t id, vexasync::RecordId record);
    void markRestored(std::int64_t id);

    // Oldest first, a damaged row too (its damage says why); without
    // records, only their counts and sizes are read.
    std::vector<ArchivedLog> logs(bool withRecords = true) const;
    // Removes the rows whose deletion time is known and before `when`;
    // returns how many.
    int purgeBefore(const QDateTime &when);

private:
    QString m_path;
    std::unique_ptr<ArchiveFile> m_file;
};

} // namespace vexa
