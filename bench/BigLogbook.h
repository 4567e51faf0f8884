// A logbook of its own holding one 32,767-scan Rirod log and 99 of 300
// scans, pulled from a docked handheld; those 99 copied until it holds
// 10,099 logs (3,062,167 scans). The handheld keeps the long log alone.
// Made once per benchmark program.
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

// The handheld's records of `database` replaced by `records`, in one change
// group.
void replaceRecords(const BenchHandheld &handheld, const std::string &database,
                    const std::vector<Bytes> &records);

} // namespace vexa::bench
