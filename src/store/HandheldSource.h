// The docked handheld as a source of logs, read without changing it.
#pragma once

#include "LogSource.h"

#include <memory>

namespace vexa {

class SyncComponent;

class HandheldSource final : public LogSource {
public:
    HandheldSource(const SyncComponent &sync, vexasync::ByteUtility &bytes);

    // A kind whose index database is missing has no logs.
    std::vector<SourceLog> logs(LogKind kind) override;
    // Opened on first use, so a tab with no logs needs no scan database.
    vexasync::RecordAdapter &scanRecords(std::size_t position) override;

private:
    const SyncComponent &m_sync;
    vexasync::ByteUtility &m_bytes;
    std::shared_ptr<vexasync::RecordAdapter> m_scans;
};

} // namespace vexa
