// Logs put back on the docked handheld: scans appended at the end of the
// scan database, the index record's first-scan field pointed at them.
#pragma once

#include "DeletedLogArchive.h"
#include "format/IndexRecord.h"

namespace vexa {

class SyncComponent;

// A database the handheld lacks is an error that says so.
std::shared_ptr<vexasync::RecordAdapter> openExisting(const SyncComponent &sync, const char *name);
// Why the logbook's records can't make the log they say they are; empty:
// they can.
QString refusal(const ArchivedLog &log, vexasync::ByteUtility &bytes);
// Inside the caller's change group: the scans appended, the index record
// pointed at them and written; its id.
vexasync::RecordId putBack(const ArchivedLog &log, IndexRecord record, vexasync::ByteUtility &bytes,
                           vexasync::RecordAdapter &index, vexasync::RecordAdapter *scans);

} // namespace vexa
