// Logs of any source saved to files, named as the save command names
// several logs: what the batch tools and the logbook window's Save as...
// share. The tools report on standard error with nobody at the screen; a
// window passes its own host and prompts.
#pragma once

#include "LogFile.h"
#include "core/CommandOutcome.h"
#include "core/UnattendedHost.h"
#include "store/LogSource.h"

#include <functional>

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
    // Where the save reports: each line it has to say, and the host and
    // prompts the writers report their progress and ask through.
    struct Reporting {
        std::function<void(const QString &)> say;
        CommandHost &host;
        UserInterface &ui;
    };
    // `program` starts each message; the folder exists. On standard error.
    BatchSave(QString program, const OutputFormat &format, const QString &folder, Existing existing,
              const DateText &dates);
    BatchSave(QString program, const OutputFormat &format, const QString &folder, Existing existing,
              const DateText &dates, Reporting reporting);

    // Logs of one kind as `source` listed them. Nothing more is saved once
    // the user has cancelled.
    void save(LogSource &source, vexasync::ByteUtility &bytes, LogKind kind,
              const std::vector<SourceLog> &logs, const std::vector<BatchLog> &chosen);
    // One log to the file `name`, replacing it if it exists.
    void saveAs(LogSource &source, vexasync::ByteUtility &bytes, LogKind kind, const SourceLog &log,
                const BatchLog &chosen, const QString &name);
    // "N of M files written." said; 0 when every log was written (or
    // skipped as asked), 1 otherwise.
    int finish() const;

    // Per log: written (the file), skipped (the file) or not (why).
    const CommandOutcome &outcome() const { return m_outcome; }
    // The logs whose file existed and was left as it was.
    const std::vector<std::int64_t> &skipped() const { return m_skipped; }
    bool cancelled() const { return m_outcome.status == CommandOutcome::Status::Cancelled; }

private:
    void saveOne(LogSource &source, vexasync::ByteUtility &bytes, LogKind kind,
                 const SourceLog &log, const BatchLog &chosen, const QString &name);

    QString m_program;
    const OutputFormat &m_format;
    QString m_folder;
    Existing m_existing;
    const DateText &m_dates;
    UnattendedHost m_unattended; // nobody can press Cancel; questions are answered No
    Reporting m_reporting;
    RunFileNames m_names;
    CommandOutcome m_outcome{CommandOutcome::Status::Completed, {}, {}};
    std::vector<std::int64_t> m_skipped;
};

} // namespace vexa
