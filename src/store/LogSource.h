// Where logs come from: the docked handheld, the archive of deleted logs,
// and whatever keeps logs next. A source lists every log of a kind in its
// own order, readable or not, and opens the scan records of one.
#pragma once

#include "format/LogIndexEntry.h"
#include "format/LogKind.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

namespace vexa {

struct SourceLog {
    std::optional<LogIndexEntry> entry; // none: its index record can't be read
    QString unreadable;                 // then why: "description (error number)"

    // The log whose reading threw the exception being handled.
    static SourceLog unreadableNow();
};

class LogSource {
public:
    virtual ~LogSource() = default;
    // Every log of the kind; one record that can't be read hides no other.
    virtual std::vector<SourceLog> logs(LogKind kind) = 0;
    // The scan records of log `position` (from 0) of the last Rirod listing,
    // which its entry's first scan counts into. Throws when they can't be
    // opened.
    virtual vexasync::RecordAdapter &scanRecords(std::size_t position) = 0;
};

} // namespace vexa
