// One log the logbook keeps, and the words for its states and history.
#pragma once

#include "ScanPack.h"
#include "format/LogKind.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

namespace vexa {

// Where the log is now. Numbers are kept in the file. Unconfirmed: a delete
// held it but its outcome never came; the next pull of its handheld settles
// it (there: on the handheld; not there: deleted).
enum class LogState { OnHandheld = 0, Deleted = 1, Gone = 2, PutBack = 3, Unconfirmed = 4 };
enum class LogEvent { Pulled = 0, SeenAgain = 1, Deleted = 2, PutBack = 3, Gone = 4 };

// "on-handheld", "deleted", "gone", "put-back", "unconfirmed": the tools'
// words.
QString stateWord(LogState state);
std::optional<LogState> stateOfWord(const QString &word);
// "rirod", "ltrim", "accel", "tcode"
QString kindWord(LogKind kind);
std::optional<LogKind> kindOfWord(const QString &word);
QString eventWord(LogEvent event);

// What a row may hold: more is damage, read no further. Larger than any
// index record the logger writes; the most scans a log can have.
constexpr std::int64_t MostIndexRecordBytes = 65536;
constexpr std::int64_t MostScans = 32767;

inline bool isOnHandheld(LogState state)
{
    return state == LogState::OnHandheld || state == LogState::PutBack;
}

inline bool mayBeOnHandheld(LogState state)
{
    return isOnHandheld(state) || state == LogState::Unconfirmed;
}

struct LogbookEntry {
    std::int64_t id = 0;
    std::uint32_t user = 0; // the handheld user's id
    QString userName;
    LogKind kind = LogKind::Rirod;
    QString start; // "yyyy-MM-ddTHH:mm:ss", the logger's clock
    int scanCount = 0;
    std::int64_t durationMs = 0; // the scans' durations added up
    LogState state = LogState::OnHandheld;
    QString text; // all lines, as stored
    QString note;
    QString channels; // parameter numbers of the channels, "1 5 12"
    QDateTime firstPulled, lastSeen;
    int copy = 1; // the how-manieth of equal logs of this user
    RecordBytes indexRecord;
    QString damage; // empty: the row reads whole; else why it doesn't
};

struct HistoryEvent {
    QDateTime at;
    LogEvent event;
};

// Both dates included; an empty text or missing value filters nothing.
struct LogFilter {
    std::optional<LogKind> kind;
    QString user;
    QDate since, until;
    QString search; // in text and note, case-insensitive
    std::optional<LogState> state;

    bool admits(const LogbookEntry &log) const;
};

} // namespace vexa
