// Logs of the logbook put back on the docked handheld.
#pragma once

#include "core/CommandHost.h"
#include "core/CommandOutcome.h"

#include <cstdint>
#include <vector>

namespace vexa {

class Logbook;
class SyncComponent;

struct LogbookRestoreServices {
    const SyncComponent &sync;
    CommandHost &host; // yielded to once a log is on the handheld
    // Logs of another handheld user go to the docked handheld too.
    bool toDocked = false;
};

// Each log under the handheld user's lock and in a change group of its own, which
// also holds the look at the handheld. Refused with the reason: a log still
// on the handheld, one cut short or of the wrong size, one whose database
// the handheld lacks, one of another user unless toDocked. The logbook
// records the log put back before the handheld's commit. A result per id.
CommandOutcome restoreFromLogbook(Logbook &logbook, const std::vector<std::int64_t> &ids,
                                  const LogbookRestoreServices &services);

} // namespace vexa
