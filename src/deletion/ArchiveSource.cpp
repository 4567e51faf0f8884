#include "ArchiveSource.h"

#include "DeletedLogArchive.h"
#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "store/LogSearch.h"
#include "store/MemoryDatabase.h"

namespace vexa {

ArchiveSource::ArchiveSource(const QString &path, vexasync::ByteUtility &bytes)
    : m_path(path), m_bytes(bytes)
{
    DeletedLogArchive(m_path, DeletedLogArchive::Access::ReadOnly); // fails here, not per kind
}

ArchiveSource::~ArchiveSource() = default;

std::vector<SourceLog> ArchiveSource::logs(LogKind kind)
{
    std::vector<SourceLog> logs;
    m_scans.clear();
    for (ArchivedLog &archived :
         DeletedLogArchive(m_path, DeletedLogArchive::Access::ReadOnly).logs()) {
        if (archived.kind != kind || archived.indexRecord.empty())
            continue;
        if (!archived.damage.isEmpty()) {
            logs.push_back(
                {std::nullopt,
                 QStringLiteral("%1 (archive id %2)").arg(archived.damage).arg(archived.id)});
            m_scans.push_back(
                std::make_unique<MemoryDatabase>(ScanDatabase, std::vector<RecordBytes>{}));
            continue;
        }
        try {
            RecordBytes record = archived.indexRecord;
            // Its scans are the archive row's own, from the first on.
            if (kind == LogKind::Rirod)
                IndexRecord::setFirstScanIn(m_bytes, record, 1);
            logs.push_back({readIndexEntry(m_bytes, {0, 0, 0, 0, record}, kind), {}});
        } catch (...) {
            logs.push_back(SourceLog::unreadableNow());
        }
        m_scans.push_back(
            std::make_unique<MemoryDatabase>(ScanDatabase, std::move(archived.scanRecords)));
    }
    return logs;
}

vexasync::RecordAdapter &ArchiveSource::scanRecords(std::size_t position)
{
    if (position >= m_scans.size())
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("Subscript out of range: log %1").arg(position + 1));
    return *m_scans[position];
}

} // namespace vexa
