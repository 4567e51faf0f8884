// The saved-log search: the index database of one kind read into
// LogIndexEntry values, and the texts the list and description show.
#pragma once

#include "DateText.h"
#include "format/IndexRecord.h"

namespace vexa {

class SearchListener {
public:
    virtual ~SearchListener() = default;
    // The number of logs the search will list, before the first is read.
    virtual void counted(int logCount) = 0;
    virtual void found(int line, const LogIndexEntry &entry) = 0;
};

// Reads the first `limit` index records in order (the list holds 100). An
// error ends the walk; the logs reported before it stay reported.
void searchLogs(vexasync::RecordAdapter &index, vexasync::ByteUtility &bytes, LogKind kind,
                SearchListener &listener, int limit = MaxListedLogs);

// The text up to its first CR LF.
QString firstLine(const QString &text);
// "date time - first line"
QString listLine(const LogIndexEntry &entry, const DateText &dates);
// The line as a tool prints it: control characters shown as \n, \r, \t or
// \xHH and a backslash as \\, so one log stays one line.
QString printableLine(const QString &line);
// "Found N saved logs." / "Found 1 saved log."
QString foundLogsText(int logCount);
// What the description box shows for a clicked log.
QString logDescription(const LogIndexEntry &entry, LogKind kind, const DateText &dates);

} // namespace vexa
