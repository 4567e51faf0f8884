// The pull: every log of the docked handheld that the logbook does not hold
// yet, copied in, in one transaction. Logs it holds are recognised by their
// index records without reading a scan, and the ones no longer on the
// handheld are marked gone, never removed.
#pragma once

#include <QStringList>

namespace vexasync {
class ByteUtility;
}

namespace vexa {

class Logbook;
class SyncComponent;

struct PullOutcome {
    int added = 0;
    int held = 0;           // on the handheld and in the logbook already
    int gone = 0;           // held as on the handheld, but no longer there
    QStringList unreadable; // one line per log that can't be read, and why
};

// Reads every kind inside one change group of the handheld, which it
// leaves unchanged. Throws RuntimeError when nothing is docked or the
// logbook can't be written; a log that can't be read is reported in the
// outcome and the others are pulled.
PullOutcome pullHandheld(Logbook &logbook, const SyncComponent &sync, vexasync::ByteUtility &bytes);

} // namespace vexa
