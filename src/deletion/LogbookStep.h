// The step every delete command takes before it changes the handheld: the
// logs it is about to remove held in the logbook, on disk, and afterwards
// what became of each.
#pragma once

#include "DeleteCommands.h"
#include "HandheldLock.h"
#include "logbook/Logbook.h"

#include <memory>

namespace vexa {

// The handheld user's logs locked, then the services' logbook opened (none
// when they name none). Throws RuntimeError when either can't be.
struct HeldLogbook {
    std::unique_ptr<HandheldLock> lock;
    std::unique_ptr<Logbook> logbook;
};
HeldLogbook lockAndOpenLogbook(const DeleteServices &services);

// Inside the command's change group: the logs on these lines (none: all)
// held in the logbook, on disk, before the handheld changes. Throws
// RuntimeError when one of those on these lines (none: all) can't be held.
void holdInLogbook(Logbook *logbook, LogKind kind, const DeleteServices &services,
                   vexasync::ByteUtility &bytes,
                   const std::optional<std::vector<int>> &lines = std::nullopt);

// Inside Delete All's change group on the Rirod tab: the scan records no
// log points at, which the command removes too, kept apart in the logbook.
void holdStrayScans(Logbook *logbook, const DeleteServices &services, vexasync::ByteUtility &bytes);

// After the handheld's commit: these records of the tab (none: all)
// deleted, the kept ones of those held left on the handheld. The delete has
// happened whatever this meets; a log left unconfirmed is settled by the
// next pull.
void markDeletedInLogbook(Logbook *logbook, LogKind kind, const DeleteServices &services,
                          const std::optional<std::vector<std::uint64_t>> &records,
                          const std::vector<std::uint64_t> &kept = {});

} // namespace vexa
