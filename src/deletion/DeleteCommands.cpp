#include "DeleteCommands.h"

#include "DeletionPlan.h"
#include "LogbookStep.h"
#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "store/ChangeGroup.h"
#include "store/SyncComponent.h"

#include <limits>

namespace vexa {

namespace {

const QString FailureSentence = QStringLiteral("There was an error deleting the log.");

CommandOutcome reportFailure(const DeleteServices &services)
{
    const RuntimeError error = currentError();
    services.ui.inform(errorBoxText(FailureSentence, error));
    return {CommandOutcome::Status::Failed, error.description(), {}};
}

QString ownerOf(const SyncComponent &sync, std::uint32_t user)
{
    try {
        return QString::fromStdString(sync.createUserDirectory()->userName(user)) +
               QStringLiteral("'s");
    } catch (...) {
        return QStringLiteral("user %1's").arg(user);
    }
}

// The window keeps the databases of the handheld it listed, whatever is
// docked since: deleting from them would keep the logs for the wrong user.
void checkListedHandheldDocked(const DeleteServices &services)
{
    if (services.listedUser == 0)
        return;
    const std::uint32_t docked = services.sync.dockedUser();
    if (docked == services.listedUser)
        return;
    const QString listed = ownerOf(services.sync, services.listedUser);
    if (docked == 0)
        throw RuntimeError(vexasync::error::NotDocked,
                           QStringLiteral("No handheld is docked now, and the list shows %1 "
                                          "logs: nothing was deleted; dock that handheld again, "
                                          "then delete")
                               .arg(listed));
    throw RuntimeError(vexasync::error::NotDocked,
                       QStringLiteral("The handheld docked now is %1, not %2 whose logs are "
                                      "listed: nothing was deleted; switch tabs to list its "
                                      "logs, then delete")
                           .arg(ownerOf(services.sync, docked), listed));
}

// Inside the command's change group: a list read before another command
// changed the handheld would have other logs' scans deleted and held.
void checkListStillHolds(const DeleteRequest &request, const DeleteServices &services,
                         vexasync::ByteUtility &bytes)
{
    const bool rirod = request.kind == LogKind::Rirod;
    for (int line = 0; line < request.lineCount; ++line) {
        const LogIndexEntry &listed = request.logs.at(static_cast<std::size_t>(line));
        bool same = line < services.index.recordCount();
        if (same) {
            const vexasync::Record r = services.index.readByIndex(line);
            same = r.id == listed.recordId &&
                   (!rirod || (r.bytes.size() >= IndexRecord::ScanFieldsEnd &&
                               IndexRecord::firstScanIn(bytes, r.bytes) == listed.firstScan &&
                               IndexRecord::scanCountIn(bytes, r.bytes) == listed.scanCount));
        }
        if (!same)
            throw RuntimeError(vexasync::error::NotFound,
                               QStringLiteral("The handheld's logs changed since they were "
                                              "listed (list line %1 is not the log listed): "
                                              "nothing was deleted; choose the logs again in "
                                              "the list read now")
                                   .arg(line));
    }
}

// The listed logs as the search read them, then, for Rirod logs, any the
// list had no room for: their scans move too.
std::vector<LogPlace> logPlaces(const DeleteRequest &request, const DeleteServices &services,
                                vexasync::ByteUtility &bytes)
{
    std::vector<LogPlace> places;
    for (int line = 0; line < request.lineCount; ++line) {
        const LogIndexEntry &e = request.logs.at(static_cast<std::size_t>(line));
        places.push_back({e.recordId, e.firstScan, e.scanCount});
    }
    if (request.kind != LogKind::Rirod)
        return places;
    for (std::int32_t i = request.lineCount; i < services.index.recordCount(); ++i) {
        const vexasync::Record r = services.index.readByIndex(i);
        const std::int16_t first = IndexRecord::firstScanIn(bytes, r.bytes);
        places.push_back({r.id, first, IndexRecord::scanCountIn(bytes, r.bytes)});
    }
    return places;
}

// Deletes one log's scan records, each a call of its own with progress and
// the cancel check; all of them or, after a confirmed cancel, none.
std::int32_t deleteScans(const LogPlace &log, const DeleteServices &services, bool &cancelled)
{
    const ScanRange range = scanRange(log);
    if (range.count == 0)
        return 0;
    ChangeGroup oneLog(services.index);
    const std::vector<vexasync::RecordId> ids =
        services.scans->idsOfRange(range.start, range.count);
    const QString of = QStringLiteral(" of ") + QString::number(ids.size());
    for (std::size_t k = 0; k < ids.size(); ++k) {
        services.host.setStatus(QStringLiteral("Deleting record ") + QString::number(k + 1) + of);
        services.scans->remove(ids[k]);
        if (stopRequested(
                services.host, services.ui,
                QStringLiteral("Canceling right now could corrupt data - Are you sure?"))) {
            cancelled = true;
            oneLog.rollback(); // the interrupted log stays whole
            return 0;
        }
    }
    oneLog.commit();
    return static_cast<std::int32_t>(ids.size());
}

// Every remaining log's first position written into its record; the rest of
// the record, and its two values, stay as they were read.
void repairIndex(const std::vector<LogPlace> &places, const std::vector<std::int32_t> &removed,
                 const std::vector<bool> &deleted, const DeleteServices &services,
                 vexasync::ByteUtility &bytes)
{
    const std::vector<std::int32_t> first = repairedFirstScans(places, removed);
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (deleted[i])
            continue;
        if (first[i] < std::numeric_limits<std::int16_t>::min() ||
            first[i] > std::numeric_limits<std::int16_t>::max())
            throw RuntimeError(ErrorNumber::Overflow,
                               QStringLiteral("Overflow: log %1 would start at scan record %2")
                                   .arg(i + 1)
                                   .arg(first[i]));
        vexasync::Record record = services.index.readById(places[i].recordId);
        IndexRecord::setFirstScanIn(bytes, record.bytes, static_cast<std::int16_t>(first[i]));
        services.index.write(places[i].recordId, record.attributes, record.category, record.bytes);
    }
}

} // namespace

CommandOutcome deleteSelectedLogs(const DeleteRequest &request, const DeleteServices &services)
{
    if (request.selectedLines.empty() ||
        !services.ui.askYesNo(QStringLiteral("Are you sure?"),
                              QStringLiteral("Delete Selected Log(s)")))
        return {};
    CommandHost &host = services.host;
    host.clearCancelRequest();
    host.setCancelShown(true);
    host.showStatusNow(QStringLiteral("Deleting log(s)..."));
    const bool rirod = request.kind == LogKind::Rirod;
    try {
        if (rirod && !services.scans)
            throw RuntimeError(ErrorNumber::InternalError,
                               QStringLiteral("The scan database is not open"));
        const auto bytes = services.sync.createByteUtility();
        const std::vector<int> order = deletionOrder(request.selectedLines);
        for (const int line : order)
            if (line < 0 || line >= request.lineCount)
                throw RuntimeError(
                    ErrorNumber::SubscriptOutOfRange,
                    QStringLiteral("Subscript out of range: list line %1").arg(line));
        checkListedHandheldDocked(services);
        const HeldLogbook held = lockAndOpenLogbook(services);
        ChangeGroup command(services.index);
        checkListStillHolds(request, services, *bytes);
        holdInLogbook(held.logbook.get(), request.kind, services, *bytes, order);
        const std::vector<LogPlace> places = logPlaces(request, services, *bytes);
        std::vector<std::int32_t> removed(places.size(), 0);
        std::vector<bool> deleted(places.size(), false);
        bool cancelled = false;
        for (const int line : order) {
            const auto at = static_cast<std::size_t>(line);
            if (rirod)
                removed[at] = deleteScans(places[at], services, cancelled);
            if (cancelled)
                break;
            services.index.remove(services.index.readByIndex(line).id);
            deleted[at] = true;
        }
        host.setCancelShown(false);
        if (rirod)
            repairIndex(places, removed, deleted, services, *bytes);
        command.commit();
        std::vector<std::uint64_t> records, kept;
        for (const int line : order)
            (deleted[static_cast<std::size_t>(line)] ? records : kept)
                .push_back(places[static_cast<std::size_t>(line)].recordId);
        markDeletedInLogbook(held.logbook.get(), request.kind, services, records, kept);
        CommandOutcome outcome{cancelled ? CommandOutcome::Status::Cancelled
                                         : CommandOutcome::Status::Completed,
                               {},
                               {}};
        for (const int line : order)
            outcome.logs.push_back({line, deleted[static_cast<std::size_t>(line)], {}});
        return outcome;
    } catch (...) {
        host.setCancelShown(false);
        return reportFailure(services);
    }
}

CommandOutcome deleteAllLogs(LogKind kind, const DeleteServices &services)
{
    if (!services.ui.ask(QStringLiteral("Delete all logs?")))
        return {};
    services.host.showStatusNow(QStringLiteral("Deleting all logs..."));
    try {
        if (kind == LogKind::Rirod && !services.scans)
            throw RuntimeError(ErrorNumber::InternalError,
                               QStringLiteral("The scan database is not open"));
        checkListedHandheldDocked(services);
        const HeldLogbook held = lockAndOpenLogbook(services);
        ChangeGroup command(services.index);
        const auto bytes = services.sync.createByteUtility();
        holdInLogbook(held.logbook.get(), kind, services, *bytes);
        if (kind == LogKind::Rirod)
            holdStrayScans(held.logbook.get(), services, *bytes);
        services.index.removeAll(0, 255);
        if (kind == LogKind::Rirod)
            services.scans->removeAll(0, 255);
        command.commit();
        markDeletedInLogbook(held.logbook.get(), kind, services, std::nullopt);
        return {CommandOutcome::Status::Completed, {}, {}};
    } catch (...) {
        return reportFailure(services);
    }
}

} // namespace vexa
