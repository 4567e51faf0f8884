// The command line of list and export: the filters and the choice of logs.
#pragma once

#include "LogbookCommands.h"

#include "analysis/CellTable.h"
#include "export/BatchSave.h"
#include "logbook/LogbookEntry.h"

namespace vexa {
struct OutputFormat;
}

namespace vexa::logbook {

struct ListOptions {
    LogFilter filter;
    bool json = false;
};

struct ExportOptions {
    LogFilter filter;
    bool all = false;
    std::vector<std::int64_t> ids;
    const OutputFormat *format = nullptr;
    QString out;
    BatchSave::Existing existing = BatchSave::Existing::LeaveAndFail;
};

struct TableOptions {
    LogFilter filter;
    bool all = false;
    std::vector<std::int64_t> ids;
    TableRequest request;
    CellStat stat = CellStat::Mean;
};

// YYYY-MM-DD; invalid otherwise.
QDate dateOf(const std::string &arg);
// Throw UsageError for a wrong command line.
ListOptions parseListOptions(const Args &args);
ExportOptions parseExportOptions(const Args &args);
TableOptions parseTableOptions(const Args &args);

// The words and codes --help shows.
std::string filterHelp();
std::string formatHelp();

} // namespace vexa::logbook
