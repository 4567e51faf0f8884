#include "LogbookCommands.h"

#include "LogbookOptions.h"

#include "core/RuntimeError.h"
#include "core/UnattendedHost.h"
#include "deletion/ArchiveTakeIn.h"
#include "deletion/LogbookRestore.h"
#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookText.h"
#include "store/DateText.h"
#include "store/LogSearch.h"
#include "store/SyncComponent.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <iostream>

namespace vexa::logbook {

namespace {

std::string local(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

QString startShown(const QString &start)
{
    return QString(start).replace(QLatin1Char('T'), QLatin1Char(' '));
}

QString timeShown(const QDateTime &t)
{
    return t.isValid() ? t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                       : QStringLiteral("unknown");
}

void reportDamaged(const LogbookEntry &log)
{
    std::cerr << "vexa-logbook: log " << log.id << " can't be read: " << local(log.damage) << '\n';
}

std::int64_t logId(const std::string &arg)
{
    bool ok = false;
    const std::int64_t id = QString::fromStdString(arg).toLongLong(&ok);
    if (!ok || id < 1)
        throw UsageError{"a log is named by its id, a number from 1: '" + arg + "'"};
    return id;
}

} // namespace

int pullLogs(const Args &, const QString &path)
{
    const SyncComponent sync;
    Logbook logbook(path);
    bool failed = false;
    try {
        const TakeInOutcome taken = takeInDockedArchive(logbook, sync);
        for (const QString &line : taken.damaged)
            std::cerr << "vexa-logbook: not taken in: " << local(line) << '\n';
        failed = !taken.damaged.isEmpty();
        if (taken.taken)
            std::cout << taken.logs << " logs taken in from the archive of deleted logs.\n";
    } catch (...) {
        std::cerr << "vexa-logbook: " << local(currentError().description()) << '\n';
        failed = true;
    }
    const PullOutcome outcome = pullHandheld(logbook, sync, *sync.createByteUtility());
    for (const QString &line : outcome.unreadable)
        std::cerr << "vexa-logbook: " << local(line) << '\n';
    std::cout << local(pulledText(outcome)) << '\n';
    return outcome.unreadable.isEmpty() && !failed ? 0 : 1;
}

int listLogs(const Args &args, const QString &path)
{
    const ListOptions options = parseListOptions(args);
    const Logbook logbook(path, Logbook::Access::ReadOnly);
    int damaged = 0;
    QJsonArray json;
    std::string lines;
    for (const LogbookEntry &log : logbook.logs(options.filter)) {
        if (!log.damage.isEmpty()) {
            reportDamaged(log);
            ++damaged;
            continue;
        }
        if (options.json) {
            json.append(QJsonObject{{"id", double(log.id)},
                                    {"user", log.userName},
                                    {"kind", kindWord(log.kind)},
                                    {"start", startShown(log.start)},
                                    {"scans", log.scanCount},
                                    {"duration", double(log.durationMs) / 1000},
                                    {"state", stateWord(log.state)},
                                    {"text", log.text}});
            continue;
        }
        const QStringList fields = {
            QString::number(log.id), printableLine(log.userName),    kindWord(log.kind),
            startShown(log.start),   QString::number(log.scanCount), durationText(log.durationMs),
            stateWord(log.state),    printableLine(log.text)};
        lines += fields.join(QLatin1Char('\t')).toUtf8().toStdString() + '\n';
    }
    if (options.json)
        std::cout << QJsonDocument(json).toJson(QJsonDocument::Indented).toStdString();
    else
        std::cout << lines;
    return damaged == 0 ? 0 : 1;
}

int showLog(const Args &args, const QString &path)
{
    if (args.size() != 1)
        throw UsageError{"show takes one log id"};
    const std::int64_t id = logId(args[0]);
    const Logbook logbook(path, Logbook::Access::ReadOnly);
    const LogbookEntry log = logbook.log(id);
    if (!log.damage.isEmpty()) {
        reportDamaged(log);
        return 1;
    }
    const SyncComponent sync;
    const auto bytes = sync.createByteUtility();
    std::cout << local(logbookDescription(log, *bytes, DateText()))
              << "\n\nNote: " << local(log.note) << "\nState: " << local(stateWord(log.state))
              << "\nUser: " << local(log.userName) << "\nCopy: " << log.copy << "\nHistory:\n";
    for (const HistoryEvent &e : logbook.history(log.id))
        std::cout << "  " << local(timeShown(e.at)) << "  " << local(eventWord(e.event)) << '\n';
    return 0;
}

int noteLog(const Args &args, const QString &path)
{
    if (args.size() != 2)
        throw UsageError{"note takes a log id and its note"};
    const std::int64_t id = logId(args[0]);
    Logbook(path).setNote(id, QString::fromLocal8Bit(args[1]));
    return 0;
}

int printPath(const Args &, const QString &path)
{
    std::cout << local(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())) << '\n';
    return 0;
}

int purgeLogs(const Args &args, const QString &path)
{
    const QDate day = args.size() == 2 && args[0] == "--before" ? dateOf(args[1]) : QDate();
    if (!day.isValid())
        throw UsageError{"usage: vexa-logbook purge --before YYYY-MM-DD"};
    std::cerr << Logbook(path).purgeBefore(day) << " logs removed.\n";
    return 0;
}

int putBackLogs(const Args &args, const QString &path)
{
    bool toDocked = false;
    std::vector<std::int64_t> ids;
    for (const std::string &arg : args) {
        bool ok = arg == "--to-docked";
        if (ok)
            toDocked = true;
        else if (const qlonglong id = QString::fromStdString(arg).toLongLong(&ok); ok && id > 0)
            ids.push_back(id);
        else
            throw UsageError{"restore takes logbook ids and --to-docked: '" + arg + "'"};
    }
    if (ids.empty())
        throw UsageError{"usage: vexa-logbook restore ID ... [--to-docked]"};
    const SyncComponent sync;
    if (!sync.createSyncStatus()->inProgress())
        throw vexasync::Error(vexasync::error::NotDocked,
                              "No handheld is docked (use 'vexa-handheld dock USER')");
    Logbook logbook(path);
    UnattendedHost host;
    int refused = 0;
    for (const LogOutcome &o : restoreFromLogbook(logbook, ids, {sync, host, toDocked}).logs) {
        if (o.done) {
            std::cerr << "Restored log " << o.log;
            if (!o.detail.isEmpty())
                std::cerr << " (" << local(o.detail) << ')';
            std::cerr << '\n';
        } else {
            std::cerr << "vexa-logbook: log " << o.log << " not restored: " << local(o.detail)
                      << '\n';
            ++refused;
        }
    }
    std::cerr << ids.size() - refused << " of " << ids.size() << " logs restored.\n";
    return refused == 0 ? 0 : 1;
}

} // namespace vexa::logbook
