// Archived logs put back on the docked handheld: scans appended at the end
// of the scan database, the index record's first-scan field pointed at them.
#pragma once

#include "DeletedLogArchive.h"
#include "core/CommandOutcome.h"

namespace vexa {

class SyncComponent;

// Each log in a change group of its own; a log whose kind or records don't
// fit, that is still on the handheld or whose database the handheld lacks,
// is refused with the reason. A result per archive row asked for.
CommandOutcome restoreLogs(DeletedLogArchive &archive, const std::vector<std::int64_t> &ids,
                           const SyncComponent &sync);

} // namespace vexa
