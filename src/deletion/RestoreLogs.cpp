#include "RestoreLogs.h"

#include "ArchiveLock.h"
#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "format/ScanRecord.h"
#include "store/ChangeGroup.h"
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

QString refusal(const ArchivedLog &log, vexasync::ByteUtility &bytes, const QString &keeper)
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
            return QStringLiteral("the %1 holds %2 scan records for it; a log of the %3 "
                                  "tab has none")
                .arg(keeper)
                .arg(scans)
                .arg(QLatin1String(logKindInfo(log.kind).caption));
    } else if (const std::int16_t counted = IndexRecord::scanCountIn(bytes, log.indexRecord);
               static_cast<std::size_t>(std::max<int>(counted, 0)) != scans) {
        return QStringLiteral("its index record counts %1 scans; the %2 holds %3")
            .arg(counted)
            .arg(keeper)
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

namespace {

// Where a row's log is now, told by the handheld's record ids the archive
// kept; by its content for rows written before those were kept.
class Whereabouts {
public:
    enum class Place { OnlyInItsRow, OnHandheld, InLaterRow };

    Whereabouts(const IndexRecord &log, vexasync::ByteUtility &bytes,
                vexasync::RecordAdapter &index)
        : m_log(log), m_bytes(bytes), m_index(index)
    {}

    Place of(const ArchivedLog &row, const std::vector<ArchivedLog> &rows)
    {
        if (row.restoredRecord != 0) // restored, or a restore cut short
            return holds(row.restoredRecord)                     ? Place::OnHandheld
                   : deletedLater(row.restoredRecord, row, rows) ? Place::InLaterRow
                                                                 : Place::OnlyInItsRow;
        if (row.restoredAt.isValid())
            return anyCopy() ? Place::OnHandheld : Place::OnlyInItsRow;
        if (row.removed) // twins on the handheld are other logs
            return Place::OnlyInItsRow;
        // Not confirmed: the delete may have been cut short either side of
        // the handheld's commit.
        if (row.deletedRecord == 0)
            return anyCopy() ? Place::OnHandheld : Place::OnlyInItsRow;
        return holds(row.deletedRecord)                     ? Place::OnHandheld
               : deletedLater(row.deletedRecord, row, rows) ? Place::InLaterRow
                                                            : Place::OnlyInItsRow;
    }
    std::int64_t laterRow() const { return m_laterRow; }

private:
    bool isTheLog(const RecordBytes &record) const
    {
        try {
            return record.size() == m_log.size() &&
                   IndexRecord::parse(m_bytes, record, m_log.kind(), 1).isSameLog(m_log);
        } catch (...) {
            return false;
        }
    }
    bool holds(vexasync::RecordId id) const
    {
        vexasync::Record record;
        try {
            record = m_index.readById(id);
        } catch (const vexasync::Error &e) {
            if (e.number() == vexasync::error::NotFound)
                return false;
            throw;
        }
        return isTheLog(record.bytes);
    }
    // A delete after the row's took that record, so the log went there.
    bool deletedLater(vexasync::RecordId id, const ArchivedLog &row,
                      const std::vector<ArchivedLog> &rows)
    {
        for (const ArchivedLog &later : rows)
            if (later.id > row.id && later.deletedRecord == id && isTheLog(later.indexRecord)) {
                m_laterRow = later.id;
                return true;
            }
        return false;
    }
    bool anyCopy() const
    {
        for (std::int32_t i = 0; i < m_index.recordCount(); ++i)
            if (isTheLog(m_index.readByIndex(i).bytes))
                return true;
        return false;
    }

    const IndexRecord &m_log;
    vexasync::ByteUtility &m_bytes;
    vexasync::RecordAdapter &m_index;
    std::int64_t m_laterRow = 0;
};

} // namespace

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

namespace {

void checkArchiveUserDocked(const RestoreServices &services)
{
    if (services.archiveUser == 0 || services.sync.dockedUser() == services.archiveUser)
        return;
    QString owner = QStringLiteral("user %1").arg(services.archiveUser);
    try {
        owner = QString::fromStdString(
            services.sync.createUserDirectory()->userName(services.archiveUser));
    } catch (...) {
    }
    throw RuntimeError(vexasync::error::NotDocked,
                       QStringLiteral("the handheld docked now is not %1's, whose archive this "
                                      "is: dock it, then restore again")
                           .arg(owner));
}

// The log on `logs`' row `id`; its outcome.
LogOutcome restoreLog(DeletedLogArchive &archive, const ArchivedLog &log,
                      vexasync::ByteUtility &bytes, const RestoreServices &services)
{
    LogOutcome outcome{log.id, false, refusal(log, bytes, QStringLiteral("archive"))};
    if (!outcome.detail.isEmpty())
        return outcome;
    const ArchiveLock lock(archive.path());
    checkArchiveUserDocked(services);
    const auto index = openExisting(services.sync, logKindInfo(log.kind).indexDatabase);
    const auto scans =
        log.kind == LogKind::Rirod ? openExisting(services.sync, ScanDatabase) : nullptr;
    ChangeGroup group(*index);
    const std::vector<ArchivedLog> rows = archive.logs(false); // as other commands left them
    const auto now = std::find_if(rows.begin(), rows.end(),
                                  [&](const ArchivedLog &row) { return row.id == log.id; });
    if (now == rows.end())
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("the archive has no log %1").arg(log.id));
    const IndexRecord record = IndexRecord::parse(bytes, log.indexRecord, log.kind, 1);
    Whereabouts whereabouts(record, bytes, *index);
    const Whereabouts::Place place = whereabouts.of(*now, rows);
    const bool restoring = now->restoredRecord != 0 || now->restoredAt.isValid();
    if (place != Whereabouts::Place::OnlyInItsRow) {
        if (now->restoredRecord != 0 && !now->restoredAt.isValid())
            archive.markRestored(log.id); // a restore cut short after the handheld's commit
        if (place == Whereabouts::Place::InLaterRow)
            outcome.detail = QStringLiteral("it was deleted again later: restore log %1 instead")
                                 .arg(whereabouts.laterRow());
        else if (!restoring)
            outcome.detail = QStringLiteral("it is still on the handheld");
        else if (now->restoredAt.isValid())
            outcome.detail = QStringLiteral("it was restored already");
        outcome.done = place == Whereabouts::Place::OnHandheld && restoring;
        return outcome;
    }
    archive.markRestoring(log.id, putBack(log, record, bytes, *index, scans.get()));
    group.commit();
    outcome.done = true;
    services.host.yield();
    try {
        archive.markRestored(log.id);
    } catch (...) {
        outcome.detail = QStringLiteral("the archive could not record it: %1; restore it again "
                                        "to record it")
                             .arg(currentError().description());
    }
    return outcome;
}

} // namespace

CommandOutcome restoreLogs(DeletedLogArchive &archive, const std::vector<std::int64_t> &ids,
                           const RestoreServices &services)
{
    const auto bytes = services.sync.createByteUtility();
    CommandOutcome outcomes{CommandOutcome::Status::Completed, {}, {}};
    // Records never change once archived; what became of them is read again
    // for each log, under the lock.
    const std::vector<ArchivedLog> logs = archive.logs();
    for (const std::int64_t id : ids) {
        const auto log = std::find_if(logs.begin(), logs.end(),
                                      [&](const ArchivedLog &l) { return l.id == id; });
        LogOutcome outcome{id, false, {}};
        try {
            if (log == logs.end())
                throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                                   QStringLiteral("the archive has no log %1").arg(id));
            outcome = restoreLog(archive, *log, *bytes, services);
        } catch (...) {
            outcome.detail = currentError().description();
        }
        outcomes.logs.push_back(outcome);
    }
    return outcomes;
}

} // namespace vexa
