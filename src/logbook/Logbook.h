// Every log the program has seen on a handheld, kept once on the desktop in
// one SQLite file that every program of the project shares: listed,
// described, noted, exported and purged from here with no handheld docked.
#pragma once

#include "LogbookEntry.h"
#include "ScanPack.h"

#include <map>
#include <memory>
#include <vector>

namespace vexa {

class LogbookFile;

class Logbook {
public:
    enum class Access { Write, ReadOnly };
    // ReadOnly never creates or changes the file. Throws RuntimeError when
    // the file can't be opened or is no logbook this program can use.
    explicit Logbook(const QString &path, Access access = Access::Write);
    ~Logbook();
    Logbook(const Logbook &) = delete;
    Logbook &operator=(const Logbook &) = delete;

    // "VEXASynch/logbook.sqlite" in the generic data folder.
    static QString defaultPath();
    const QString &path() const;
    LogbookFile &file() const { return *m_file; }

    // Oldest first, a damaged row too (its damage says why).
    std::vector<LogbookEntry> logs(const LogFilter &filter = {}) const;
    // Throws RuntimeError when there is no such log.
    LogbookEntry log(std::int64_t id) const;
    // The log's scan records as read from the handheld; throws RuntimeError,
    // with the log's id, when they can't be read whole.
    std::vector<RecordBytes> scans(std::int64_t id) const;
    // The same records left where the blob holds them.
    PackedScans packedScans(std::int64_t id) const;
    std::vector<HistoryEvent> history(std::int64_t id) const;
    void setNote(std::int64_t id, const QString &note);
    // Removes the logs no handheld holds (deleted or gone) last seen before
    // the start of `day` (local time); returns how many.
    int purgeBefore(const QDate &day);
    // The ids purgeBefore(day) would remove now.
    std::vector<std::int64_t> purgeable(const QDate &day) const;

    // The program deleted these logs from the user's handheld, named by the
    // handheld's record ids (none: every log of the kind it held there).
    // Those at `kept`, which the delete left, are on the handheld still.
    void markDeleted(std::uint32_t user, LogKind kind,
                     const std::optional<std::vector<std::uint64_t>> &records,
                     const std::vector<std::uint64_t> &kept = {});

    // The log was written back to its user's handheld as `record`: kept
    // before the handheld's commit, so that a restore cut short before it
    // is told by the record not holding the log.
    void markPutBack(std::int64_t id, std::uint64_t record);

    // When the user's handheld was last pulled without a change: a hint
    // kept beside the logbook (its path and "-seen"), written without
    // waiting for the disk; the logs on that handheld were seen then.
    void noteSighting(std::uint32_t user, const QDateTime &at);

    // Times as the file keeps them.
    static QString timeText(const QDateTime &t);
    static QDateTime timeOf(const QString &text);

private:
    std::map<std::uint32_t, QDateTime> sightings() const;
    void applySightings(std::vector<LogbookEntry> &logs) const;

    std::unique_ptr<LogbookFile> m_file;
};

} // namespace vexa
