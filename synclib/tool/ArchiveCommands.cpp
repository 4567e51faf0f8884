#include "ArchiveCommands.h"

#include "core/RuntimeError.h"
#include "deletion/DeletedLogArchive.h"
#include "deletion/RestoreLogs.h"
#include "store/DateText.h"
#include "store/LogSearch.h"

#include "vexasync/VexaSync.h"

#include <QDir>
#include <QFileInfo>

#include <iostream>

namespace archive {

const char *const Usage =
    "  archive list\n"
    "      Lists the logs deleted from the docked user's handheld, kept in deleted-logs.sqlite\n"
    "      in the user's folder: id, kind, when, removed or not, scans, bytes, text.\n"
    "  archive purge --before DATE\n"
    "      Removes the archived logs deleted before DATE (YYYY-MM-DD, or with a time).\n"
    "  restore ID ... | restore --all\n"
    "      Puts archived logs back on the docked handheld (--all: every one not restored yet).\n";

namespace {

using namespace vexa;

QString archivePath(vexasync::Component &component)
{
    if (!component.createSyncStatus()->inProgress())
        throw vexasync::Error(vexasync::error::NotDocked,
                              "No handheld is docked (use 'vexa-handheld dock USER')");
    auto desktop = component.createDesktop();
    const auto user = desktop->findUser(std::to_string(desktop->dockedUser()));
    return DeletedLogArchive::pathIn(QDir(QString::fromStdString(desktop->rootFolder()))
                                         .filePath(QString::fromStdString(user.folder)));
}

std::string statusOf(const ArchivedLog &log)
{
    if (log.restoredAt.isValid())
        return "restored " + log.restoredAt.toLocalTime().toString(Qt::ISODate).toStdString();
    if (log.indexRecord.empty())
        return "scans of no log";
    return log.removed ? "removed" : "not confirmed";
}

int list(DeletedLogArchive &archive, vexasync::Component &component)
{
    const auto bytes = component.createByteUtility();
    const DateText dates;
    for (const ArchivedLog &log : archive.logs()) {
        std::size_t size = log.indexRecord.size();
        for (const auto &scan : log.scanRecords)
            size += scan.size();
        QString text;
        try {
            if (!log.indexRecord.empty())
                text =
                    listLine(readIndexEntry(*bytes, {0, 0, 0, 0, log.indexRecord}, log.kind), dates)
                        .replace(QLatin1Char('\n'), QLatin1Char(' '));
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
    return 0;
}

int restore(DeletedLogArchive &archive, vexasync::Component &component,
            const std::vector<std::string> &args)
{
    std::vector<std::int64_t> ids;
    const bool all = args.size() == 2 && args[1] == "--all";
    if (all) {
        for (const ArchivedLog &log : archive.logs(false))
            if (!log.restoredAt.isValid() && !log.indexRecord.empty())
                ids.push_back(log.id);
    } else {
        for (std::size_t i = 1; i < args.size(); ++i) {
            bool ok = false;
            ids.push_back(QString::fromStdString(args[i]).toLongLong(&ok));
            if (!ok) {
                std::cerr << "vexa-handheld: restore takes archive ids or --all: '" << args[i]
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
        std::cerr << "vexa-handheld: usage: vexa-handheld restore ID ... | --all\n";
        return 2;
    }
    int refused = 0;
    for (const RestoreOutcome &o : restoreLogs(archive, ids, component)) {
        if (o.restored) {
            std::cerr << "Restored log " << o.id << '\n';
        } else {
            std::cerr << "vexa-handheld: log " << o.id
                      << " not restored: " << o.reason.toStdString() << '\n';
            ++refused;
        }
    }
    std::cerr << ids.size() - refused << " of " << ids.size() << " logs restored.\n";
    return refused == 0 ? 0 : 1;
}

int purge(DeletedLogArchive &archive, const std::vector<std::string> &args)
{
    const QDateTime before =
        args.size() == 4 && args[2] == "--before"
            ? QDateTime::fromString(QString::fromStdString(args[3]), Qt::ISODate)
            : QDateTime();
    if (!before.isValid()) {
        std::cerr << "vexa-handheld: usage: vexa-handheld archive purge --before YYYY-MM-DD\n";
        return 2;
    }
    std::cerr << archive.purgeBefore(before) << " archived logs removed.\n";
    return 0;
}

} // namespace

bool run(const std::vector<std::string> &args, int &exitCode)
{
    const bool isArchive = !args.empty() && args[0] == "archive";
    if (!isArchive && (args.empty() || args[0] != "restore"))
        return false;
    try {
        vexasync::Component &component = *vexasync_component(vexasync::ApiVersion);
        if (isArchive && (args.size() < 2 || (args[1] != "list" && args[1] != "purge"))) {
            std::cerr << "vexa-handheld: usage:\n" << Usage;
            exitCode = 2;
            return true;
        }
        DeletedLogArchive archive(archivePath(component));
        exitCode = !isArchive          ? restore(archive, component, args)
                   : args[1] == "list" ? list(archive, component)
                                       : purge(archive, args);
    } catch (const vexasync::Error &e) {
        std::cerr << "vexa-handheld: " << e.what() << '\n';
        exitCode = 1;
    } catch (...) {
        std::cerr << "vexa-handheld: " << currentError().description().toStdString() << '\n';
        exitCode = 1;
    }
    return true;
}

} // namespace archive
