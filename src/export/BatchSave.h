// Logs of any source saved to files without a window, named as the save
// command names several logs, reported on standard error: what the batch
// tools share.
#pragma once

#include "LogFile.h"
#include "core/CommandOutcome.h"
#include "core/UnattendedHost.h"
#include "store/LogSource.h"

namespace vexa {

struct OutputFormat;
class DateText;

// A log to save: the number the messages give it, its place in the listing.
struct BatchLog {
    std::int64_t number;
    std::size_t position;
};

class BatchSave {
public:
    enum class Existing { LeaveAndFail, Overwrite, Skip };
    // `program` starts each message; the folder exists.
    BatchSave(QString program, const OutputFormat &format, const QString &folder, Existing existing,
              const DateText &dates);

    // Logs of one kind as `source` listed them.
    void save(LogSource &source, vexasync::ByteUtility &bytes, LogKind kind,
              const std::vector<SourceLog> &logs, const std::vector<BatchLog> &chosen);
    // "N of M files written." on standard error; 0 when every log was
    // written (or skipped as asked), 1 otherwise.
    int finish() const;

private:
    QString m_program;
    const OutputFormat &m_format;
    QString m_folder;
    Existing m_existing;
    const DateText &m_dates;
    UnattendedHost m_host; // nobody can press Cancel; questions are answered No
    RunFileNames m_names;
    CommandOutcome m_outcome{CommandOutcome::Status::Completed, {}, {}};
    int m_skipped = 0;
};

} // namespace vexa
