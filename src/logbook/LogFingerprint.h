// What makes two logs the same content: the kind, the index record and the
// scan records, bytes as read. A Rirod log's first-scan field is left out:
// it changes when earlier logs are deleted.
#pragma once

#include "ScanPack.h"
#include "format/LogKind.h"
#include "vexasync/VexaSync.h"

#include <QByteArray>

namespace vexa {

// Throws as IndexRecord does for a Rirod record too short for its field.
QByteArray logFingerprint(vexasync::ByteUtility &bytes, LogKind kind,
                          const RecordBytes &indexRecord, const std::vector<RecordBytes> &scans);

} // namespace vexa
