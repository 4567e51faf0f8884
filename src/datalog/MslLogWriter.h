// The datalog viewers' text log (MSL): two quoted header lines (the
// description and the capture date), the column names and units, then one
// line per scan; fields separated by TAB, lines ending in CR LF.
#pragma once

#include "export/ExportContext.h"

namespace vexa {

ScanRun writeMslLog(QIODevice &out, const LogIndexEntry &entry, ExportContext &context);

} // namespace vexa
