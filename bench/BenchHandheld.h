// A docked handheld in a temporary sync root, filled for a benchmark.
#pragma once

#include "vexasync/VexaSync.h"

#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace vexa::bench {

using Bytes = std::vector<std::uint8_t>;

class BenchHandheld {
public:
    BenchHandheld();
    std::shared_ptr<vexasync::RecordAdapter> open(const std::string &database) const;
    void fill(const std::string &database, const std::vector<Bytes> &records) const;
    // Writes over the database's records in order, in one change group: the
    // same logs with other contents.
    void rewrite(const std::string &database, const std::vector<Bytes> &records) const;

private:
    QTemporaryDir m_root;
};

// The middle of a few timings.
double median(std::vector<double> timings);

// A database of the docked handheld.
std::shared_ptr<vexasync::RecordAdapter> openDocked(const std::string &database);

// A 64-byte scan record with ten used channels.
Bytes scanRecord(int k);
// Scan k of a log whose every sample is a gap, each scan with a status of
// its own: 1, -1, 2, -2, ... (103 is a timed-out read).
Bytes gapScanRecord(int k);
// Index record of a Rirod log with ten two-byte parameters.
Bytes rirodIndexRecord(int scanCount, int firstScan);
// `logs` Rirod logs of `scansEach` scans.
void fillRirodLogs(const BenchHandheld &handheld, int logs, int scansEach);

} // namespace vexa::bench
