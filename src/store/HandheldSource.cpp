#include "HandheldSource.h"

#include "LogSearch.h"
#include "SyncComponent.h"
#include "core/RuntimeError.h"

namespace vexa {

SourceLog SourceLog::unreadableNow()
{
    const RuntimeError error = currentError();
    return {
        std::nullopt,
        QStringLiteral("%1 (error %2)").arg(error.description(), errorNumberText(error.number()))};
}

HandheldSource::HandheldSource(const SyncComponent &sync, vexasync::ByteUtility &bytes)
    : m_sync(sync), m_bytes(bytes)
{}

std::vector<SourceLog> HandheldSource::logs(LogKind kind)
{
    std::shared_ptr<vexasync::RecordAdapter> index;
    try {
        index = m_sync.openDatabase(logKindInfo(kind).indexDatabase, vexasync::mode::Read);
    } catch (const vexasync::Error &e) {
        if (e.number() == vexasync::error::NotFound)
            return {}; // as the window shows it
        throw;
    }
    std::vector<SourceLog> logs;
    for (std::int32_t r = 0; r < index->recordCount(); ++r) {
        try {
            logs.push_back({readIndexEntry(m_bytes, index->readByIndex(r), kind), {}});
        } catch (...) {
            logs.push_back(SourceLog::unreadableNow());
        }
    }
    return logs;
}

vexasync::RecordAdapter &HandheldSource::scanRecords(std::size_t)
{
    if (!m_scans)
        m_scans = m_sync.openDatabase(ScanDatabase, vexasync::mode::Read);
    return *m_scans;
}

} // namespace vexa
