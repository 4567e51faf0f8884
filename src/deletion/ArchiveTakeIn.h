// The archive of deleted logs that deletes wrote before the logbook kept
// them, taken into the logbook once: each row for the handheld user whose
// folder holds the file, its state kept. The file is only read.
#pragma once

#include <QString>
#include <QStringList>

#include "vexasync/VexaSync.h"

#include <cstdint>

namespace vexa {

class Logbook;
class SyncComponent;

struct TakeInOutcome {
    bool taken = false;  // false: no such file, or taken before
    int logs = 0;        // new in the logbook
    int held = 0;        // the logbook held them already (logs or scans of no log)
    int stray = 0;       // rows of scans no log pointed at, newly kept apart
    QStringList damaged; // one line per row that costs only itself
};

// Throws RuntimeError when the archive can't be read or the logbook can't
// be written; nothing is then recorded as taken, and the next call tries
// again.
TakeInOutcome takeInArchive(Logbook &logbook, const QString &archivePath, std::uint32_t user,
                            const QString &userName, vexasync::ByteUtility &bytes);

// The archive in the docked handheld user's folder, if any.
TakeInOutcome takeInDockedArchive(Logbook &logbook, const SyncComponent &sync);

} // namespace vexa
