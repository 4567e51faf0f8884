// The archive of deleted logs as a source of logs: each log with its own
// scan records, as it was on the handheld before the delete, whatever has
// happened there since.
#pragma once

#include "store/LogSource.h"

#include <memory>

namespace vexa {

class MemoryDatabase;

class ArchiveSource final : public LogSource {
public:
    // Opens the archive read-only; throws RuntimeError when it can't.
    ArchiveSource(const QString &path, vexasync::ByteUtility &bytes);
    ~ArchiveSource() override;

    // Oldest first; scan records no log pointed at are not logs.
    std::vector<SourceLog> logs(LogKind kind) override;
    vexasync::RecordAdapter &scanRecords(std::size_t position) override;

private:
    QString m_path;
    vexasync::ByteUtility &m_bytes;
    std::vector<std::unique_ptr<MemoryDatabase>> m_scans; // by position of the last listing
};

} // namespace vexa
