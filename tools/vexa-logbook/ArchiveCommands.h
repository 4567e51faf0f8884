// archive list, archive purge and restore: the logs the program deleted from
// the docked user's handheld, kept in that user's archive of deleted logs.
#pragma once

#include <string>
#include <vector>

namespace vexa::logbook {

using Args = std::vector<std::string>;

// Each takes the arguments after its command's words and returns the exit
// status; a failure is thrown.
int listArchive(const Args &args);
int purgeArchive(const Args &args);
int restoreArchivedLogs(const Args &args);

} // namespace vexa::logbook
