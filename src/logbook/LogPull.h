// The pull: every log of the docked handheld that the logbook does not hold
// yet, copied in, in one transaction. Logs it holds are recognised by their
// index records without reading a scan, and the ones no longer on the
// handheld are marked gone, never removed.
#pragma once

#include <QStringList>

#include "format/LogKind.h"
#include "vexasync/VexaSync.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vexa {

class Logbook;
class LogbookFile;
class SyncComponent;

struct PullOutcome {
    int added = 0;
    int held = 0;           // on the handheld and in the logbook already
    int gone = 0;           // held as on the handheld, but no longer there
    QStringList unreadable; // one line per log that can't be read, and why
    // The positions of those logs in their index, from 1; 0: none listed.
    std::vector<int> unreadableAt;
};

// "3 new logs pulled, 8 held already.", and on a line of its own how many
// left the handheld, when any did.
QString pulledText(const PullOutcome &outcome);

// Reads every kind inside one change group of the handheld, which it
// leaves unchanged. Throws RuntimeError when nothing is docked or the
// logbook can't be written; a log that can't be read is reported in the
// outcome and the others are pulled.
PullOutcome pullHandheld(Logbook &logbook, const SyncComponent &sync, vexasync::ByteUtility &bytes);

// The pull of one kind, inside the caller's change group and with its open
// databases: every readable log of the kind on these lines (none: all)
// held, complete, and on disk when this returns; a log already held costs
// no scan read, and each is marked unconfirmed until markDeleted() or the
// next pull. Throws RuntimeError when the logbook can't be written.
PullOutcome holdKind(Logbook &logbook, const SyncComponent &sync, vexasync::ByteUtility &bytes,
                     std::uint32_t user, LogKind kind, vexasync::RecordAdapter &index,
                     vexasync::RecordAdapter *scans,
                     const std::optional<std::vector<int>> &lines = std::nullopt);

// The pull of one kind as holdKind pulls it, inside the caller's write on
// the logbook's file, marking nothing unconfirmed.
PullOutcome pullKindInside(LogbookFile &file, const SyncComponent &sync,
                           vexasync::ByteUtility &bytes, std::uint32_t user, LogKind kind,
                           vexasync::RecordAdapter &index, vexasync::RecordAdapter *scans,
                           const std::optional<std::vector<int>> &lines = std::nullopt);

} // namespace vexa
