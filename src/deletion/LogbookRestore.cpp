#include "LogbookRestore.h"

#include "HandheldLock.h"
#include "RestoreLogs.h"
#include "core/RuntimeError.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookFile.h"
#include "store/ChangeGroup.h"
#include "store/SyncComponent.h"

namespace vexa {

namespace {

// Whether the handheld's record `id` holds the log.
bool holds(vexasync::RecordAdapter &index, std::uint64_t id, const IndexRecord &log,
           vexasync::ByteUtility &bytes)
{
    try {
        const vexasync::Record record = index.readById(static_cast<vexasync::RecordId>(id));
        return record.bytes.size() == log.size() &&
               IndexRecord::parse(bytes, record.bytes, log.kind(), 1).isSameLog(log);
    } catch (const vexasync::Error &e) {
        if (e.number() == vexasync::error::NotFound)
            return false;
        throw;
    } catch (...) {
        return false;
    }
}

std::optional<std::uint64_t> handheldRecord(const Logbook &logbook, std::int64_t id)
{
    SqlStatement row(logbook.file(), "SELECT handheld_record FROM logs WHERE id = ?");
    row.bind(1, id);
    if (!row.step() || row.isNull(0))
        return std::nullopt;
    return static_cast<std::uint64_t>(row.integer(0));
}

QString userName(const SyncComponent &sync, std::uint32_t user)
{
    try {
        return QString::fromStdString(sync.createUserDirectory()->userName(user));
    } catch (...) {
        return QStringLiteral("user %1").arg(user);
    }
}

LogOutcome restoreOne(Logbook &logbook, std::int64_t id, vexasync::ByteUtility &bytes,
                      const LogbookRestoreServices &services)
{
    const LogbookEntry entry = logbook.log(id);
    if (!entry.damage.isEmpty())
        return {id, false, entry.damage};
    ArchivedLog log;
    log.kind = entry.kind;
    log.indexRecord = entry.indexRecord;
    log.scanRecords = logbook.scans(id);
    LogOutcome outcome{id, false, refusal(log, bytes)};
    if (!outcome.detail.isEmpty())
        return outcome;
    const std::uint32_t docked = services.sync.dockedUser();
    if (docked == 0)
        throw RuntimeError(vexasync::error::NotDocked, QStringLiteral("no handheld is docked"));
    if (docked != entry.user && !services.toDocked)
        return {id, false,
                QStringLiteral("it is %1's log, and the handheld docked now is %2's: dock %1's, "
                               "or give --to-docked")
                    .arg(entry.userName, userName(services.sync, docked))};
    const HandheldLock lock(services.sync.userFolder(docked));
    const auto index = openExisting(services.sync, logKindInfo(log.kind).indexDatabase);
    const auto scans =
        log.kind == LogKind::Rirod ? openExisting(services.sync, ScanDatabase) : nullptr;
    ChangeGroup group(*index);
    // As other commands left it, read inside the group.
    const LogState state = logbook.log(id).state;
    const IndexRecord record = IndexRecord::parse(bytes, log.indexRecord, log.kind, 1);
    if (state == LogState::Unconfirmed)
        return {id, false,
                QStringLiteral("its delete was never confirmed: pull from its handheld first")};
    if (const auto at = handheldRecord(logbook, id);
        at && isOnHandheld(state) && holds(*index, *at, record, bytes)) {
        outcome.done = state == LogState::PutBack; // a restore cut short after the commit
        outcome.detail = outcome.done ? QStringLiteral("it was restored already")
                                      : QStringLiteral("it is still on the handheld");
        return outcome;
    }
    logbook.markPutBack(id, putBack(log, record, bytes, *index, scans.get()));
    group.commit();
    outcome.done = true;
    services.host.yield();
    return outcome;
}

} // namespace

CommandOutcome restoreFromLogbook(Logbook &logbook, const std::vector<std::int64_t> &ids,
                                  const LogbookRestoreServices &services)
{
    const auto bytes = services.sync.createByteUtility();
    CommandOutcome outcomes{CommandOutcome::Status::Completed, {}, {}};
    for (const std::int64_t id : ids) {
        LogOutcome outcome{id, false, {}};
        try {
            outcome = restoreOne(logbook, id, *bytes, services);
        } catch (...) {
            outcome.detail = currentError().description();
        }
        outcomes.logs.push_back(outcome);
    }
    return outcomes;
}

} // namespace vexa
