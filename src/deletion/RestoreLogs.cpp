#include "RestoreLogs.h"

#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "format/ScanRecord.h"
#include "store/ChangeGroup.h"
#include "store/SyncComponent.h"

#include <algorithm>
#include <limits>

namespace vexa {

namespace {

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

bool isOnHandheld(const IndexRecord &log, vexasync::ByteUtility &bytes,
                  vexasync::RecordAdapter &index)
{
    for (std::int32_t i = 0; i < index.recordCount(); ++i) {
        const vexasync::Record r = index.readByIndex(i);
        // A record of another length is another log; one of this length parses.
        if (r.bytes.size() == log.size() &&
            IndexRecord::parse(bytes, r.bytes, log.kind(), i + 1).isSameLog(log))
            return true;
    }
    return false;
}

QString refusal(const ArchivedLog &log, vexasync::ByteUtility &bytes,
                vexasync::RecordAdapter &index)
{
    if (!log.damage.isEmpty())
        return log.damage;
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
    if (isOnHandheld(IndexRecord::parse(bytes, log.indexRecord, log.kind, 1), bytes, index))
        return QStringLiteral("it is still on the handheld");
    return {};
}

void putBack(const ArchivedLog &log, vexasync::ByteUtility &bytes, vexasync::RecordAdapter &index,
             vexasync::RecordAdapter *scans)
{
    ChangeGroup group(index);
    IndexRecord record = IndexRecord::parse(bytes, log.indexRecord, log.kind, 1);
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
        record.setFirstScan(static_cast<std::int16_t>(first));
    }
    index.write(0, 0, 0, record.render(bytes));
    group.commit();
}

} // namespace

CommandOutcome restoreLogs(DeletedLogArchive &archive, const std::vector<std::int64_t> &ids,
                           const SyncComponent &sync)
{
    const auto bytes = sync.createByteUtility();
    CommandOutcome outcomes{CommandOutcome::Status::Completed, {}, {}};
    const std::vector<ArchivedLog> logs = archive.logs();
    for (const std::int64_t id : ids) {
        LogOutcome outcome{id, false, {}};
        const auto log = std::find_if(logs.begin(), logs.end(),
                                      [&](const ArchivedLog &l) { return l.id == id; });
        try {
            if (log == logs.end())
                throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                                   QStringLiteral("the archive has no log %1").arg(id));
            const LogKindInfo &info = logKindInfo(log->kind);
            const auto index = openExisting(sync, info.indexDatabase);
            outcome.detail = refusal(*log, *bytes, *index);
            if (outcome.detail.isEmpty()) {
                const auto scans =
                    log->kind == LogKind::Rirod ? openExisting(sync, ScanDatabase) : nullptr;
                putBack(*log, *bytes, *index, scans.get());
                archive.markRestored(id);
                outcome.done = true;
            }
        } catch (...) {
            outcome.detail = currentError().description();
        }
        outcomes.logs.push_back(outcome);
    }
    return outcomes;
}

} // namespace vexa
