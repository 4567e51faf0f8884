// The four kinds of log, one per tab of the main window, and the handheld
// databases that hold them.
#pragma once

#include <QString>

namespace vexa {

enum class LogKind { Rirod = 0, LTrim = 1, AccelTest = 2, TroubleCode = 3 };

struct LogKindInfo {
    const char *caption;       // the tab's caption
    const char *indexDatabase; // one index record per log
    const char *kindWord;      // first word of the file names of several saved logs
};

const LogKindInfo &logKindInfo(LogKind kind);

// Tabs 1 to 3 are theirs; any other tab number reads as the Rirod tab.
LogKind logKindOfTab(int tab);

// The scan records of every Rirod log, log after log.
inline const char *const ScanDatabase = "RirodData";

} // namespace vexa
