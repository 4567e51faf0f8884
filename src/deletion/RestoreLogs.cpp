#include "RestoreLogs.h"

#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "format/ScanRecord.h"
#include "store/SyncComponent.h"

#include <algorithm>
#include <limits>

namespace vexa {

namespace {

constexpr std::int64_t LastFirstScan = std::numeric_limits<std::int16_t>::max();

} // namespace

// The program never creates a database (that is the component's
// administration), so a log whose database is gone stays where it is kept.
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

QString refusal(const ArchivedLog &log, vexasync::ByteUtility &bytes)
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
    const std::size_t scans = log.scanRecords.size();
    if (log.kind != LogKind::Rirod) {
        if (scans != 0)
            return QStringLiteral("the logbook holds %1 scan records for it; a log of the %2 "
                                  "tab has none")
                .arg(scans)
                .arg(QLatin1String(logKindInfo(log.kind).caption));
    } else if (const std::int16_t counted = IndexRecord::scanCountIn(bytes, log.indexRecord);
               static_cast<std::size_t>(std::max<int>(counted, 0)) != scans) {
        return QStringLiteral("its index record counts %1 scans; the logbook holds %2")
            .arg(counted)
            .arg(scans);
    }
    for (std::size_t k = 0; k < scans; ++k)
        if (log.scanRecords[k].size() < ScanRecordSize)
            return QStringLiteral("scan record %1 is %2 bytes long; a scan record has %3")
                .arg(k + 1)
                .arg(log.scanRecords[k].size())
                .arg(ScanRecordSize);
    return {};
}

vexasync::RecordId putBack(const ArchivedLog &log, IndexRecord record, vexasync::ByteUtility &bytes,
                           vexasync::RecordAdapter &index, vexasync::RecordAdapter *scans)
{
    if (scans) {
        const std::int64_t count = scans->recordCount();
        const auto n = static_cast<std::int64_t>(log.scanRecords.size());
        // A log without scans points where its scans would start, so that
        // deletes before it move it as they move the others; in a full scan
        // database that is the last place the field can name.
        const std::int64_t first = std::min(count + 1, LastFirstScan);
        if (count + n > LastFirstScan)
            throw RuntimeError(ErrorNumber::Overflow,
                               QStringLiteral("Overflow: the scan database has no room for %1 "
                                              "scans after its %2")
                                   .arg(n)
                                   .arg(count));
        for (const RecordBytes &scan : log.scanRecords)
            scans->write(0, 0, 0, scan);
        record.setFirstScan(static_cast<std::int16_t>(first));
    }
    return index.write(0, 0, 0, record.render(bytes));
}

} // namespace vexa
