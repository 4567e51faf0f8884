#include "ArchiveCommands.h"

#include "deletion/DeletedLogArchive.h"
#include "store/DateText.h"
#include "store/LogSearch.h"
#include "store/SyncComponent.h"

#include <QDir>
#include <QFileInfo>

#include <iostream>

namespace vexa::logbook {

namespace {

// The handheld is reached as the program reaches it: through the component
// loaded at run time.
QString archivePath(const SyncComponent &sync)
{
    if (!sync.createSyncStatus()->inProgress())
        throw vexasync::Error(vexasync::error::NotDocked,
                              "No handheld is docked (use 'vexa-handheld dock USER')");
    return DeletedLogArchive::pathIn(sync.dockedUserFolder());
}

std::string statusOf(const ArchivedLog &log)
{
    if (log.restoredAt.isValid())
        return "restored " + log.restoredAt.toLocalTime().toString(Qt::ISODate).toStdString();
    if (log.indexRecord.empty())
        return "scans of no log";
    return log.removed ? "removed" : "not confirmed";
}

int list(DeletedLogArchive &archive, const SyncComponent &sync)
{
    const auto bytes = sync.createByteUtility();
    const DateText dates;
    int damaged = 0;
    for (const ArchivedLog &log : archive.logs()) {
        if (!log.damage.isEmpty()) {
            std::cerr << "vexa-logbook: log " << log.id
                      << " can't be read: " << log.damage.toStdString() << '\n';
            ++damaged;
            continue;
        }
        std::size_t size = log.indexRecord.size();
        for (const auto &scan : log.scanRecords)
            size += scan.size();
        QString text;
        try {
            if (!log.indexRecord.empty())
                text = printableLine(listLine(
                    readIndexEntry(*bytes, {0, 0, 0, 0, log.indexRecord}, log.kind), dates));
        } catch (...) {
            text = QStringLiteral("(index record can't be read)");
        }
        std::cout << log.id << '\t' << logKindInfo(log.kind).kindWord << '\t'
                  << log.deletedAt.toLocalTime().toString(Qt::ISODate).toStdString() << '\t'
                  << statusOf(log) << '\t' << log.scanRecords.size() << " scans\t" << size
                  << " bytes\t" << text.toStdString() << '\n';
    }
    std::cout << "Archive: " << QDir::toNativeSeparators(archive.path()).toStdString() << ", "
              << QFileInfo(archive.path()).size() << " bytes\n";
    return damaged == 0 ? 0 : 1;
}

// The start of the day given, in local time (the first moment it has where
// the clocks skip its midnight); with a time, that moment.
QDateTime purgeCut(const std::string &arg)
{
    const QString text = QString::fromStdString(arg);
    const QDate day = QDate::fromString(text, Qt::ISODate);
    if (day.isValid() && day.toString(Qt::ISODate) == text) // a date alone
        return day.startOfDay();
    return QDateTime::fromString(text, Qt::ISODate);
}

int purge(DeletedLogArchive &archive, const Args &args)
{
    const QDateTime before =
        args.size() == 2 && args[0] == "--before" ? purgeCut(args[1]) : QDateTime();
    if (!before.isValid()) {
        std::cerr << "vexa-logbook: usage: vexa-logbook archive purge --before YYYY-MM-DD\n";
        return 2;
    }
    std::cerr << archive.purgeBefore(before) << " archived logs removed.\n";
    return 0;
}

} // namespace

int listArchive(const Args &)
{
    const SyncComponent sync;
    DeletedLogArchive archive(archivePath(sync), DeletedLogArchive::Access::ReadOnly);
    return list(archive, sync);
}

int purgeArchive(const Args &args)
{
    const SyncComponent sync;
    DeletedLogArchive archive(archivePath(sync));
    return purge(archive, args);
}

int retiredArchiveRestore(const Args &)
{
    std::cerr << "vexa-logbook: archive restore is retired: the logbook holds the archive's logs "
                 "once 'vexa-logbook pull' has taken the archive in; list them with "
                 "'vexa-logbook list --state deleted' and put them back with 'vexa-logbook "
                 "restore ID'\n";
    return 2;
}

} // namespace vexa::logbook
