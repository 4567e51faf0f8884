// archive list and archive purge: the logs earlier versions of the program
// deleted from the docked user's handheld, kept in that user's archive of
// deleted logs; archive restore, retired: the logbook restores them.
#pragma once

#include <string>
#include <vector>

namespace vexa::logbook {

using Args = std::vector<std::string>;

// Each takes the arguments after its command's words and returns the exit
// status; a failure is thrown.
int listArchive(const Args &args);
int purgeArchive(const Args &args);
// Exit status 2, pointing to the logbook's list and restore.
int retiredArchiveRestore(const Args &args);

} // namespace vexa::logbook
