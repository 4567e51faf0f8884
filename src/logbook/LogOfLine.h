// Which logbook log a line of the main window's list is: the handheld's
// log at that line, recognised as the pull recognises it, or pulled in
// first when the logbook doesn't hold it.
#pragma once

#include "format/LogKind.h"
#include "vexasync/VexaSync.h"

#include <cstdint>

namespace vexa {

class Logbook;
class SyncComponent;

// `line` from 0 in the kind's index; `record` is the handheld record the
// caller listed there: a line that holds another record now is refused
// rather than shown as the wrong log. Throws RuntimeError when the line
// holds no such log, the log can't be read or the logbook can't be written.
std::int64_t logbookLogAt(Logbook &logbook, const SyncComponent &sync, vexasync::ByteUtility &bytes,
                          std::uint32_t user, LogKind kind, vexasync::RecordAdapter &index,
                          vexasync::RecordAdapter *scans, int line, vexasync::RecordId record);

} // namespace vexa
