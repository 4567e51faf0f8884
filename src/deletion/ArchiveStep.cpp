#include "ArchiveStep.h"

#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "store/SyncComponent.h"

#include <set>

namespace vexa {

namespace {

std::vector<RecordBytes> scanRecords(vexasync::RecordAdapter &scans, const LogPlace &place)
{
    const ScanRange range = scanRange(place);
    std::vector<RecordBytes> records;
    if (range.count == 0)
        return records;
    // The ids the delete will remove, so the archive holds exactly those.
    for (const vexasync::RecordId id : scans.idsOfRange(range.start, range.count))
        records.push_back(scans.readById(id).bytes);
    return records;
}

} // namespace

LockedArchive openArchive(const DeleteServices &services)
{
    if (!services.archivePath)
        return {};
    if (services.archivePath->isEmpty())
        throw RuntimeError(ErrorNumber::PathNotFound,
                           QStringLiteral("Path not found: no folder for the archive of deleted "
                                          "logs (no handheld user is docked)"));
    LockedArchive opened{std::make_unique<DeletedLogArchive>(*services.archivePath), nullptr};
    opened.lock = std::make_unique<ArchiveLock>(*services.archivePath);
    return opened;
}

std::map<int, std::int64_t> archiveLogs(DeletedLogArchive *archive, const std::vector<int> &lines,
                                        const std::vector<LogPlace> &places, LogKind kind,
                                        const DeleteServices &services)
{
    std::map<int, std::int64_t> rows;
    if (!archive)
        return rows;
    std::vector<ArchivedLog> logs;
    for (const int line : lines) {
        if (line < 0 || line >= static_cast<int>(places.size()))
            throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                               QStringLiteral("Subscript out of range: list line %1").arg(line));
        ArchivedLog log;
        log.kind = kind;
        vexasync::Record record = services.index.readByIndex(line);
        log.indexRecord = std::move(record.bytes);
        log.deletedRecord = record.id;
        if (kind == LogKind::Rirod)
            log.scanRecords = scanRecords(*services.scans, places[static_cast<std::size_t>(line)]);
        logs.push_back(std::move(log));
    }
    const std::vector<std::int64_t> ids = archive->add(logs);
    for (std::size_t i = 0; i < lines.size(); ++i)
        rows[lines[i]] = ids[i];
    return rows;
}

std::vector<std::int64_t> archiveEverything(DeletedLogArchive *archive, LogKind kind,
                                            const DeleteServices &services)
{
    if (!archive)
        return {};
    const auto bytes = services.sync.createByteUtility();
    std::vector<ArchivedLog> logs;
    std::set<vexasync::RecordId> pointedAt;
    for (std::int32_t i = 0; i < services.index.recordCount(); ++i) {
        ArchivedLog log;
        log.kind = kind;
        vexasync::Record record = services.index.readByIndex(i);
        log.indexRecord = std::move(record.bytes);
        log.deletedRecord = record.id;
        if (kind == LogKind::Rirod && services.scans &&
            log.indexRecord.size() >= IndexRecord::ScanFieldsEnd) {
            const LogPlace place{0, IndexRecord::firstScanIn(*bytes, log.indexRecord),
                                 IndexRecord::scanCountIn(*bytes, log.indexRecord)};
            const ScanRange range = scanRange(place);
            if (range.count > 0)
                for (const auto id : services.scans->idsOfRange(range.start, range.count)) {
                    log.scanRecords.push_back(services.scans->readById(id).bytes);
                    pointedAt.insert(id);
                }
        }
        logs.push_back(std::move(log));
    }
    if (kind == LogKind::Rirod && services.scans) {
        ArchivedLog orphans; // no index record: kept, never restored as a log
        orphans.kind = kind;
        for (std::int32_t i = 0; i < services.scans->recordCount(); ++i) {
            vexasync::Record r = services.scans->readByIndex(i);
            if (!pointedAt.contains(r.id))
                orphans.scanRecords.push_back(std::move(r.bytes));
        }
        if (!orphans.scanRecords.empty())
            logs.push_back(std::move(orphans));
    }
    return archive->add(logs);
}

void markArchivedRemoved(DeletedLogArchive *archive, const std::vector<std::int64_t> &ids)
{
    if (!archive || ids.empty())
        return;
    try {
        archive->markRemoved(ids);
    } catch (...) {
    }
}

} // namespace vexa
