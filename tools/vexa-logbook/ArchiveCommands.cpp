#include "ArchiveCommands.h"

#include "core/UnattendedHost.h"
#include "deletion/DeletedLogArchive.h"
#include "deletion/RestoreLogs.h"
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

int restore(DeletedLogArchive &archive, const SyncComponent &sync, const Args &args)
{
    std::vector<std::int64_t> ids;
    const bool all = args.size() == 1 && args[0] == "--all";
    if (all) {
        for (const ArchivedLog &log : archive.logs(false))
            if (!log.restoredAt.isValid() && !log.indexRecord.empty())
                ids.push_back(log.id);
    } else {
        for (const std::string &arg : args) {
            bool ok = false;
            ids.push_back(QString::fromStdString(arg).toLongLong(&ok));
            if (!ok) {
                std::cerr << "vexa-logbook: archive restore takes archive ids or --all: '" << arg
                          << "'\n";
                return 2;
            }
        }
    }
    if (all && ids.empty()) {
        std::cerr << "Nothing to restore: every archived log is restored already.\n";
        return 0;
    }
    if (ids.empty()) {
        std::cerr << "vexa-logbook: usage: vexa-logbook archive restore ID ... | --all\n";
        return 2;
    }
    int refused = 0;
    UnattendedHost host;
    for (const LogOutcome &o : restoreLogs(archive, ids, {sync, host, sync.dockedUser()}).logs) {
        if (o.done) {
            std::cerr << "Restored log " << o.log;
            if (!o.detail.isEmpty())
                std::cerr << " (" << o.detail.toStdString() << ')';
            std::cerr << '\n';
        } else {
            std::cerr << "vexa-logbook: log " << o.log
                      << " not restored: " << o.detail.toStdString() << '\n';
            ++refused;
        }
    }
    std::cerr << ids.size() - refused << " of " << ids.size() << " logs restored.\n";
    return refused == 0 ? 0 : 1;
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

int restoreArchivedLogs(const Args &args)
{
    const SyncComponent sync;
    DeletedLogArchive archive(archivePath(sync));
    return restore(archive, sync, args);
}

} // namespace vexa::logbook
