#include "LogbookStep.h"

#include "DeletionPlan.h"
#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "logbook/LogKeeping.h"
#include "logbook/LogPull.h"
#include "logbook/LogbookFile.h"
#include "store/SyncComponent.h"

#include <algorithm>

namespace vexa {

namespace {

std::uint32_t userOf(const DeleteServices &services)
{
    return services.listedUser != 0 ? services.listedUser : services.sync.dockedUser();
}

} // namespace

HeldLogbook lockAndOpenLogbook(const DeleteServices &services)
{
    HeldLogbook held;
    const std::uint32_t user = userOf(services);
    held.lock =
        std::make_unique<HandheldLock>(user == 0 ? QString() : services.sync.userFolder(user));
    if (services.logbookPath)
        held.logbook = std::make_unique<Logbook>(*services.logbookPath);
    return held;
}

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

void holdStrayScans(Logbook *logbook, const DeleteServices &services, vexasync::ByteUtility &bytes)
{
    if (!logbook || !services.scans)
        return;
    const std::int32_t count = services.scans->recordCount();
    std::vector<bool> pointedAt(static_cast<std::size_t>(std::max(count, 0)), false);
    for (std::int32_t i = 0; i < services.index.recordCount(); ++i) {
        const RecordBytes record = services.index.readByIndex(i).bytes;
        if (record.size() < IndexRecord::ScanFieldsEnd)
            continue;
        const ScanRange range = scanRange(
            {0, IndexRecord::firstScanIn(bytes, record), IndexRecord::scanCountIn(bytes, record)});
        for (std::int32_t k = std::max(range.start, 0);
             k < std::min(range.start + range.count, count); ++k)
            pointedAt[static_cast<std::size_t>(k)] = true;
    }
    StrayScansToKeep stray;
    for (std::int32_t k = 0; k < count; ++k)
        if (!pointedAt[static_cast<std::size_t>(k)])
            stray.scans.push_back(services.scans->readByIndex(k).bytes);
    if (stray.scans.empty())
        return;
    stray.user = userOf(services);
    stray.userName =
        QString::fromStdString(services.sync.createUserDirectory()->userName(stray.user));
    stray.at = Logbook::timeText(QDateTime::currentDateTimeUtc());
    LogbookFile &file = logbook->file();
    file.beginWrite();
    try {
        keepStrayScans(file, stray);
        file.commit();
    } catch (...) {
        file.rollback();
        throw;
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

} // namespace vexa
