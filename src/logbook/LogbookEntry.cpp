#include "LogbookEntry.h"

#include <array>

namespace vexa {

namespace {

template <typename T, std::size_t N>
std::optional<T> lookUp(const std::array<const char *, N> &words, const QString &word)
{
    for (std::size_t i = 0; i < N; ++i)
        if (word == QLatin1String(words[i]))
            return static_cast<T>(i);
    return std::nullopt;
}

const std::array<const char *, 5> States = {"on-handheld", "deleted", "gone", "put-back",
                                            "unconfirmed"};
const std::array<const char *, 4> Kinds = {"rirod", "ltrim", "accel", "tcode"};
const std::array<const char *, 5> Events = {"pulled", "seen again", "deleted", "put back",
                                            "gone from the handheld"};

} // namespace

QString stateWord(LogState state)
{
    return QLatin1String(States.at(static_cast<std::size_t>(state)));
}

std::optional<LogState> stateOfWord(const QString &word)
{
    return lookUp<LogState>(States, word);
}

QString kindWord(LogKind kind)
{
    return QLatin1String(Kinds.at(static_cast<std::size_t>(kind)));
}

std::optional<LogKind> kindOfWord(const QString &word)
{
    return lookUp<LogKind>(Kinds, word);
}

QString eventWord(LogEvent event)
{
    return QLatin1String(Events.at(static_cast<std::size_t>(event)));
}

bool LogFilter::admits(const LogbookEntry &log) const
{
    if ((kind && log.kind != *kind) || (!user.isEmpty() && log.userName != user) ||
        (state && log.state != *state))
        return false;
    // The day is read only when a range asks for it: a window filters
    // thousands of logs at each keystroke.
    if (since.isValid() || until.isValid()) {
        const QDate day = QDate::fromString(log.start.left(10), Qt::ISODate);
        if ((since.isValid() && day < since) || (until.isValid() && day > until))
            return false;
    }
    return search.isEmpty() || log.text.contains(search, Qt::CaseInsensitive) ||
           log.note.contains(search, Qt::CaseInsensitive);
}

} // namespace vexa
