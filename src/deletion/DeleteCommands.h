// Delete... and Delete All...: logs removed from the handheld in one change
// group, so that a failure, a crash or the handheld pulled out leaves it as
// it was, and every log left points at its own scan records.
#pragma once

#include "core/CommandHost.h"
#include "core/CommandOutcome.h"
#include "format/LogIndexEntry.h"
#include "format/LogKind.h"

#include <optional>
#include <vector>

namespace vexa {

class SyncComponent;

struct DeleteServices {
    const SyncComponent &sync;
    vexasync::RecordAdapter &index;
    vexasync::RecordAdapter *scans; // the Rirod tab's scan database
    CommandHost &host;
    UserInterface &ui;
    // The logbook that holds every log the command removes before the
    // handheld changes, then marks each deleted; none for callers that keep
    // none. One that can't be written stops the command before any change.
    std::optional<QString> logbookPath = std::nullopt;
    // The user whose handheld the list came from: while another handheld or
    // none is docked, the command fails before any change. 0: not checked.
    std::uint32_t listedUser = 0;
};

struct DeleteRequest {
    LogKind kind;
    std::vector<int> selectedLines;
    int lineCount;  // lines in the list: index records 0 .. lineCount - 1
    SavedLogs logs; // as the search left them
};

// Each selected line, in the order deleted, with whether it was.
CommandOutcome deleteSelectedLogs(const DeleteRequest &request, const DeleteServices &services);

CommandOutcome deleteAllLogs(LogKind kind, const DeleteServices &services);

} // namespace vexa
