#include "ArchiveStep.h"

#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "logbook/LogPull.h"
#include "store/SyncComponent.h"

#include <algorithm>
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
    LockedArchive opened;
    if (services.logbookPath)
        opened.logbook = std::make_unique<Logbook>(*services.logbookPath);
    if (!services.archivePath) {
        if (services.logbookPath)
            opened.lock = std::make_unique<ArchiveLock>(*services.logbookPath);
        return opened;
    }
    if (services.archivePath->isEmpty())
        throw RuntimeError(ErrorNumber::PathNotFound,
                           QStringLiteral("Path not found: no folder for the archive of deleted "
                                          "logs (no handheld user is docked)"));
    opened.archive = std::make_unique<DeletedLogArchive>(*services.archivePath);
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

namespace {

std::uint32_t userOf(const DeleteServices &services)
{
    return services.listedUser != 0 ? services.listedUser : services.sync.dockedUser();
}

} // namespace

void holdInLogbook(Logbook *logbook, LogKind kind, const DeleteServices &services,
                   vexasync::ByteUtility &bytes, const std::optional<std::vector<int>> &lines)
{
    if (!logbook)
        return;
    const PullOutcome held =
        holdKind(*logbook, services.sync, bytes, userOf(services), kind, services.index,
                 kind == LogKind::Rirod ? services.scans : nullptr, lines);
    for (std::size_t i = 0; i < held.unreadableAt.size(); ++i) {
        const int position = held.unreadableAt[i];
        if (position == 0 || !lines ||
            std::find(lines->begin(), lines->end(), position - 1) != lines->end())
            throw RuntimeError(ErrorNumber::InternalError,
                               QStringLiteral("The logbook can't keep a log about to be deleted: "
                                              "%1; nothing was deleted")
                                   .arg(held.unreadable.value(static_cast<qsizetype>(i))));
    }
}

void markDeletedInLogbook(Logbook *logbook, LogKind kind, const DeleteServices &services,
                          const std::optional<std::vector<std::uint64_t>> &records,
                          const std::vector<std::uint64_t> &kept)
{
    if (!logbook || (records && records->empty() && kept.empty()))
        return;
    try {
        logbook->markDeleted(userOf(services), kind, records, kept);
    } catch (...) {
        // Left unconfirmed in the logbook: the next pull settles it.
    }
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
