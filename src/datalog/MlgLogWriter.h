// The datalog viewers' binary log (MLG, format version 1, big-endian): a
// 22-byte header, one 55-byte descriptor per field, the description, then
// one data block per scan.
#pragma once

#include "export/ExportContext.h"

namespace vexa {

ScanRun writeMlgLog(QIODevice &out, const LogIndexEntry &entry, ExportContext &context);

} // namespace vexa
