// archive list, archive purge and restore: the deleted logs the program
// keeps for each handheld user.
#pragma once

#include <string>
#include <vector>

namespace archive {

// True when `args[0]` is one of these commands; `exitCode` is then set.
bool run(const std::vector<std::string> &args, int &exitCode);

extern const char *const Usage;

} // namespace archive
