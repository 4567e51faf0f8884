// A docked handheld holding one 32,767-scan Rirod log and 99 of 300 scans,
// pulled into a logbook of its own; those 99 copied until the logbook holds
// 10,000 logs (3,032,467 scans). Made once per benchmark program.
#pragma once

#include "BenchHandheld.h"

#include "store/SyncComponent.h"

#include <QTemporaryDir>

namespace vexa::bench {

struct BigLogbook {
    BigLogbook();
    QString path() const { return folder.filePath("logbook.sqlite"); }

    BenchHandheld handheld;
    const SyncComponent sync;
    std::unique_ptr<vexasync::ByteUtility> bytes = sync.createByteUtility();
    QTemporaryDir folder;
};

BigLogbook &bigLogbook();

} // namespace vexa::bench
