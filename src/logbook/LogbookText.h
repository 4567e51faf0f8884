// How a logbook log reads to a person: the window and the tool say it alike.
#pragma once

#include "LogbookEntry.h"

#include "vexasync/VexaSync.h"

namespace vexa {

class DateText;

// "h:mm:ss.cc"
QString durationText(std::int64_t ms);
// "On handheld", "Deleted", "Gone", "Put back", "Unconfirmed": the tools'
// words, for people.
QString stateName(LogState state);
// The start as the main window's list writes a date and time.
QString startText(const LogbookEntry &log, const DateText &dates);
// The text up to its first line break, whichever the text uses.
QString firstTextLine(const QString &text);
// "start - first line", as the main window lists a log.
QString logbookLine(const LogbookEntry &log, const DateText &dates);
// The main window's description of the log, lines joined by "\n"; throws
// RuntimeError when its index record can't be read.
QString logbookDescription(const LogbookEntry &log, vexasync::ByteUtility &bytes,
                           const DateText &dates);

} // namespace vexa
