// The logbook's commands: pull, list, show, note, path, export, table, purge
// and restore,
// on the logbook every program shares or the one --logbook names.
#pragma once

#include "ArchiveCommands.h"

#include <QString>

namespace vexa::logbook {

// Each takes the arguments after its command's name and the logbook's path,
// and returns the exit status; a failure is thrown.
int pullLogs(const Args &args, const QString &logbook);
int listLogs(const Args &args, const QString &logbook);
int showLog(const Args &args, const QString &logbook);
int noteLog(const Args &args, const QString &logbook);
int printPath(const Args &args, const QString &logbook);
int exportLogs(const Args &args, const QString &logbook);
int tableLogs(const Args &args, const QString &logbook);
int purgeLogs(const Args &args, const QString &logbook);
int putBackLogs(const Args &args, const QString &logbook);

// A wrong command line: the message, and exit status 2.
struct UsageError {
    std::string message;
};

} // namespace vexa::logbook
