// The logbook as a source of logs: each with its own scan records as they
// were pulled, whatever has happened on the handheld since.
#pragma once

#include "LogbookEntry.h"
#include "store/LogSource.h"

#include <memory>

namespace vexa {

class Logbook;
class MemoryDatabase;

class LogbookSource final : public LogSource {
public:
    // The logs the filter admits, or those of `ids` alone when given.
    LogbookSource(const Logbook &logbook, vexasync::ByteUtility &bytes, LogFilter filter = {},
                  std::vector<std::int64_t> ids = {});
    ~LogbookSource() override;

    // In the logbook's order; a damaged row is an unreadable log.
    std::vector<SourceLog> logs(LogKind kind) override;
    // Read from the logbook when first asked for.
    vexasync::RecordAdapter &scanRecords(std::size_t position) override;
    // The logbook id of the log at `position` of the last listing.
    std::int64_t idAt(std::size_t position) const { return m_ids.at(position); }

private:
    // The logs of `ids` still in the logbook, in its order; perhaps of other
    // kinds too.
    std::vector<LogbookEntry> chosenLogs(LogKind kind) const;

    const Logbook &m_logbook;
    vexasync::ByteUtility &m_bytes;
    LogFilter m_filter;
    std::vector<std::int64_t> m_only;
    std::vector<std::int64_t> m_ids; // of the last listing
    std::unique_ptr<MemoryDatabase> m_scans;
};

} // namespace vexa
