// How a command ended, and what became of each log it was given: one shape
// for the window's commands, restore and the batch tools.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace vexa {

struct LogOutcome {
    std::int64_t log = 0; // as the command was given it: a list line, a number, an archive row
    bool done = false;
    QString detail; // the file written, or why not
};

struct CommandOutcome {
    enum class Status {
        NotRun,    // nothing chosen, or not confirmed
        Completed, // ran to its end; a log may still have been refused (see logs)
        Cancelled, // stopped by the user
        Failed,    // stopped by an error, reported as `error`
    };
    Status status = Status::NotRun;
    QString error;
    std::vector<LogOutcome> logs;

    int doneCount() const
    {
        int n = 0;
        for (const LogOutcome &log : logs)
            n += log.done ? 1 : 0;
        return n;
    }
    bool allDone() const { return status == Status::Completed && doneCount() == int(logs.size()); }
};

} // namespace vexa
