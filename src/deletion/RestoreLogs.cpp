#include "RestoreLogs.h"

#include "core/RuntimeError.h"
#include "format/ScanRecord.h"
#include "store/ChangeGroup.h"
#include "store/LogSearch.h"
#include "store/SyncComponent.h"

#include <algorithm>
#include <limits>

namespace vexa {

namespace {

// Bytes 16-17 of a Rirod index record: the one field a delete or a restore
// rewrites, so two records that differ only there are the same log.
bool sameLog(LogKind kind, const RecordBytes &a, const RecordBytes &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && !(kind == LogKind::Rirod && (i == 16 || i == 17)))
            return false;
    return true;
}

// The program never creates a database (that is the component's
// administration), so a log whose database is gone stays in the archive.
std::shared_ptr<vexasync::RecordAdapter> openExisting(const SyncComponent &sync, const char *name)
{
    try {
        return sync.openDatabase(name);
    } catch (const vexasync::Error &e) {
        if (e.number() != vexasync::error::NotFound)
            throw;
        throw RuntimeError(
            e.number(), QStringLiteral("the handheld has no %1 database").arg(QLatin1String(name)));
    }
}

QString refusal(const ArchivedLog &log, vexasync::ByteUtility &bytes,
                vexasync::RecordAdapter &index)
{
    if (log.indexRecord.empty())
        return QStringLiteral("it holds scan records no log pointed at");
    try {
        readIndexEntry(bytes, {0, 0, 0, 0, log.indexRecord}, log.kind);
    } catch (...) {
        return QStringLiteral("its index record can't be read: ") + currentError().description();
    }
    for (std::size_t k = 0; k < log.scanRecords.size(); ++k)
        if (log.scanRecords[k].size() < ScanRecordSize)
            return QStringLiteral("scan record %1 is %2 bytes long; a scan record has %3")
                .arg(k + 1)
                .arg(log.scanRecords[k].size())
                .arg(ScanRecordSize);
    for (std::int32_t i = 0; i < index.recordCount(); ++i)
        if (sameLog(log.kind, index.readByIndex(i).bytes, log.indexRecord))
            return QStringLiteral("it is still on the handheld");
    return {};
}

void putBack(const ArchivedLog &log, vexasync::ByteUtility &bytes, vexasync::RecordAdapter &index,
             vexasync::RecordAdapter *scans)
{
    ChangeGroup group(index);
    RecordBytes record = log.indexRecord;
    if (scans) {
        const std::int64_t first = std::int64_t{scans->recordCount()} + 1;
        if (first + std::int64_t(log.scanRecords.size()) - 1 >
            std::numeric_limits<std::int16_t>::max())
            throw RuntimeError(ErrorNumber::Overflow,
                               QStringLiteral("Overflow: the scan database has no room for %1 "
                                              "scans after its %2")
                                   .arg(log.scanRecords.size())
                                   .arg(first - 1));
        for (const RecordBytes &scan : log.scanRecords)
            scans->write(0, 0, 0, scan);
        bytes.writeInt16(record, 16, true, static_cast<std::int16_t>(first));
    }
    index.write(0, 0, 0, record);
    group.commit();
}

} // namespace

std::vector<RestoreOutcome> restoreLogs(DeletedLogArchive &archive,
                                        const std::vector<std::int64_t> &ids,
                                        const SyncComponent &sync)
{
    const auto bytes = sync.createByteUtility();
    std::vector<RestoreOutcome> outcomes;
    const std::vector<ArchivedLog> logs = archive.logs();
    for (const std::int64_t id : ids) {
        RestoreOutcome outcome{id, false, {}};
        const auto log = std::find_if(logs.begin(), logs.end(),
                                      [&](const ArchivedLog &l) { return l.id == id; });
        try {
            if (log == logs.end())
                throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                                   QStringLiteral("the archive has no log %1").arg(id));
            const LogKindInfo &info = logKindInfo(log->kind);
            const auto index = openExisting(sync, info.indexDatabase);
            outcome.reason = refusal(*log, *bytes, *index);
            if (outcome.reason.isEmpty()) {
                const auto scans =
                    log->kind == LogKind::Rirod ? openExisting(sync, ScanDatabase) : nullptr;
                putBack(*log, *bytes, *index, scans.get());
                archive.markRestored(id);
                outcome.restored = true;
            }
        } catch (...) {
            outcome.reason = currentError().description();
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}

} // namespace vexa
