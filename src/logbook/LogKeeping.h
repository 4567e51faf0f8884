// One log written into the logbook with its scans and first event, and scan
// records no log pointed at kept apart: the one place such rows are made,
// for the pull, the deletes and logs taken in from elsewhere.
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

// Scan records no log pointed at when the handheld lost them: never listed
// as logs.
struct StrayScansToKeep {
    std::uint32_t user = 0;
    QString userName;
    LogKind kind = LogKind::Rirod;
    QString at; // when the handheld lost them
    std::vector<RecordBytes> scans;
    QString archive = {}; // the file they were taken in from; empty: a delete
};

// Inside the caller's write. False when the logbook holds the same records
// for the user and kind already (an archive copied to another path, or a
// delete tried again after a failure): they are kept once.
bool keepStrayScans(LogbookFile &file, const StrayScansToKeep &stray);

} // namespace vexa
