// One log written into the logbook with its scans and first event: the one
// place a row of logs is made, for the pull and for logs taken in from
// elsewhere.
#pragma once

#include "LogbookEntry.h"
#include "format/IndexRecord.h"
#include "vexasync/VexaSync.h"

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace vexa {

class LogbookFile;

struct LogToKeep {
    std::uint32_t user = 0;
    QString userName;
    LogKind kind = LogKind::Rirod;
    RecordBytes indexRecord;
    const IndexRecord *parsed = nullptr; // the index record, decoded
    std::vector<RecordBytes> scans;
    QByteArray fingerprint;
    int copy = 1;
    LogState state = LogState::OnHandheld;
    std::optional<vexasync::RecordId> record = std::nullopt; // on the handheld
    QString at = {}; // first pulled, last seen and the event's time
    LogEvent event = LogEvent::Pulled;
};

// Inside the caller's write; returns the new log's id. Throws RuntimeError
// when the logbook can't be written or the index record can't be described.
std::int64_t keepLog(LogbookFile &file, vexasync::ByteUtility &bytes, const LogToKeep &log);

} // namespace vexa
