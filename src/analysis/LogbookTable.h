// A table from logs of the logbook: the chosen Rirod logs read straight
// from their packed records, those that can't be used named.
#pragma once

#include "CellTable.h"

#include "logbook/LogbookEntry.h"

#include <QString>

namespace vexa {

class Logbook;

struct LeftOutLog {
    std::int64_t id;
    QString why; // "lacks MAP, ECT", or why it can't be read
};

struct LogbookTable {
    std::optional<CellTable> table;
    std::vector<CountedScan> points; // every scan that counts, whatever the cells' minimum
    int logsUsed = 0;
    std::vector<LeftOutLog> leftOut; // in the logbook's order
};

// The Rirod logs the filter admits, or those of `ids` alone when given.
LogbookTable logbookTable(const Logbook &logbook, vexasync::ByteUtility &bytes,
                          const TableRequest &request, const LogFilter &filter,
                          const std::vector<std::int64_t> &ids = {});

} // namespace vexa
