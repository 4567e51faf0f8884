// Save as... of the logbook window: the chosen logs of the logbook, one to a
// file the user names, several to a folder in any format of the table,
// written by the batch save from the logbook as a source of logs.
#pragma once

#include "core/CommandHost.h"

#include <cstdint>
#include <vector>

namespace vexa {

// Every box and dialog through `ui`, progress and Cancel through `host`;
// several logs end with a summary of what was written where.
void saveLogbookLogs(const QString &logbookPath, const std::vector<std::int64_t> &ids,
                     UserInterface &ui, CommandHost &host);

// The name as the user typed it, with the format's extension added when it
// has none ("trip" -> "trip.csv"; a date's dots are no extension).
QString withFormatExtension(const QString &path, const QString &formatCode);

} // namespace vexa
