#include "LogbookSource.h"

#include "Logbook.h"
#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "store/MemoryDatabase.h"

#include <algorithm>

namespace vexa {

LogbookSource::LogbookSource(const Logbook &logbook, vexasync::ByteUtility &bytes, LogFilter filter,
                             std::vector<std::int64_t> ids)
    : m_logbook(logbook), m_bytes(bytes), m_filter(std::move(filter)), m_only(std::move(ids))
{}

LogbookSource::~LogbookSource() = default;

std::vector<LogbookEntry> LogbookSource::chosenLogs(LogKind kind) const
{
    // A few logs are looked up one by one: a logbook of thousands is not
    // read to find them.
    constexpr std::size_t MostLookedUp = 64;
    if (m_only.size() > MostLookedUp)
        return m_logbook.logs({kind, {}, {}, {}, {}, {}});
    std::vector<std::int64_t> ids = m_only;
    std::sort(ids.begin(), ids.end()); // the logbook's order
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::vector<LogbookEntry> entries;
    for (const std::int64_t id : ids) {
        try {
            entries.push_back(m_logbook.log(id));
        } catch (const RuntimeError &e) {
            if (e.number() != ErrorNumber::SubscriptOutOfRange)
                throw;
        }
    }
    return entries;
}

std::vector<SourceLog> LogbookSource::logs(LogKind kind)
{
    LogFilter filter = m_filter;
    filter.kind = kind;
    std::vector<SourceLog> logs;
    m_ids.clear();
    for (const LogbookEntry &e : m_only.empty() ? m_logbook.logs(filter) : chosenLogs(kind)) {
        if (e.kind != kind ||
            (!m_only.empty() && std::find(m_only.begin(), m_only.end(), e.id) == m_only.end()))
            continue;
        m_ids.push_back(e.id);
        if (!e.damage.isEmpty()) {
            logs.push_back(
                {std::nullopt, QStringLiteral("%1 (logbook id %2)").arg(e.damage).arg(e.id)});
            continue;
        }
        try {
            RecordBytes record = e.indexRecord;
            // Its scans are the log's own, from the first on.
            if (kind == LogKind::Rirod)
                IndexRecord::setFirstScanIn(m_bytes, record, 1);
            logs.push_back({readIndexEntry(m_bytes, {0, 0, 0, 0, record}, kind), {}});
        } catch (...) {
            logs.push_back(SourceLog::unreadableNow());
        }
    }
    return logs;
}

vexasync::RecordAdapter &LogbookSource::scanRecords(std::size_t position)
{
    if (position >= m_ids.size())
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("Subscript out of range: log %1").arg(position + 1));
    m_scans = std::make_unique<MemoryDatabase>(ScanDatabase, m_logbook.scans(m_ids[position]));
    return *m_scans;
}

} // namespace vexa
