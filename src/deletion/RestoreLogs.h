// Archived logs put back on the docked handheld: scans appended at the end
// of the scan database, the index record's first-scan field pointed at them.
#pragma once

#include "DeletedLogArchive.h"
#include "core/CommandHost.h"
#include "core/CommandOutcome.h"
#include "format/IndexRecord.h"

namespace vexa {

class SyncComponent;

struct RestoreServices {
    const SyncComponent &sync;
    // Yielded to once a log is on the handheld, before the archive records it.
    CommandHost &host;
    // The user whose archive it is: while another handheld or none is
    // docked, each log is refused. 0: not checked.
    std::uint32_t archiveUser = 0;
};

// Each log under the archive's lock and in a change group of its own, which
// also holds the look at where the log is now: on the handheld (a restore
// asked again, or cut short after the handheld's commit, reports it
// restored), in a later row (it was deleted again), or only in its row. A
// row whose records don't agree with each other or with its kind, or whose
// database the handheld lacks, is refused with the reason. A result per
// archive row asked for.
CommandOutcome restoreLogs(DeletedLogArchive &archive, const std::vector<std::int64_t> &ids,
                           const RestoreServices &services);

// The steps restores share. A database the handheld lacks is an error that
// says so.
std::shared_ptr<vexasync::RecordAdapter> openExisting(const SyncComponent &sync, const char *name);
// Why the records can't make the log they say they are; empty: they can.
// keeper: what holds them ("archive", "logbook").
QString refusal(const ArchivedLog &log, vexasync::ByteUtility &bytes, const QString &keeper);
// Inside the caller's change group: the scans appended, the index record
// pointed at them and written; its id.
vexasync::RecordId putBack(const ArchivedLog &log, IndexRecord record, vexasync::ByteUtility &bytes,
                           vexasync::RecordAdapter &index, vexasync::RecordAdapter *scans);

} // namespace vexa
