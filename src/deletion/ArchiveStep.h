// The step every delete command takes before it changes the handheld: the
// records it is about to remove, read as they are, into the archive.
#pragma once

#include "ArchiveLock.h"
#include "DeleteCommands.h"
#include "DeletedLogArchive.h"
#include "DeletionPlan.h"
#include "logbook/Logbook.h"

#include <map>
#include <memory>

namespace vexa {

// The services' archive and logbook, opened and locked; none when they name
// none.
struct LockedArchive {
    std::unique_ptr<DeletedLogArchive> archive;
    std::unique_ptr<Logbook> logbook;
    std::unique_ptr<ArchiveLock> lock;
};
LockedArchive openArchive(const DeleteServices &services);

// Inside the command's change group, so that what is archived is what the
// group removes. The archive rows of the logs on these lines, by line.
std::map<int, std::int64_t> archiveLogs(DeletedLogArchive *archive, const std::vector<int> &lines,
                                        const std::vector<LogPlace> &places, LogKind kind,
                                        const DeleteServices &services);

// Every index record of the tab, each with the scans it points at, and on
// the Rirod tab the scan records no log points at; the rows' ids.
std::vector<std::int64_t> archiveEverything(DeletedLogArchive *archive, LogKind kind,
                                            const DeleteServices &services);

// Inside the command's change group: the logs on these lines (none: all)
// held in the logbook, on disk, before the handheld changes. Throws RuntimeError when
// one of those on these lines (none: all) can't be held.
void holdInLogbook(Logbook *logbook, LogKind kind, const DeleteServices &services,
                   vexasync::ByteUtility &bytes,
                   const std::optional<std::vector<int>> &lines = std::nullopt);
// After the handheld's commit: these records of the tab (none: all)
// deleted, the kept ones of those held left on the handheld.
void markDeletedInLogbook(Logbook *logbook, LogKind kind, const DeleteServices &services,
                          const std::optional<std::vector<std::uint64_t>> &records,
                          const std::vector<std::uint64_t> &kept = {});

// After the handheld's commit. The delete has happened whatever this meets;
// a log left unmarked is still restorable, as restore checks the handheld.
void markArchivedRemoved(DeletedLogArchive *archive, const std::vector<std::int64_t> &ids);

} // namespace vexa
