#include "Breakpoints.h"

#include "core/RuntimeError.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vexa {

namespace {

struct UsualAxis {
    std::string_view code;
    double first, last, step;
};

constexpr UsualAxis UsualAxes[] = {
    {"RPM", 400, 7200, 400},
    {"MAP", 2, 30, 2},
    {"LD", 0, 100, 10},
    {"TPS", 0, 100, 10},
};

constexpr std::size_t EvenCount = 12;
constexpr std::string_view Separators = ", \t\r\n";

QString qtext(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace

std::optional<Breakpoints> usualBreakpoints(std::string_view code)
{
    for (const UsualAxis &a : UsualAxes)
        if (a.code == code) {
            Breakpoints axis;
            // Multiples of the step, so no sum drifts off the round numbers.
            for (int i = 0; a.first + i * a.step <= a.last; ++i)
                axis.push_back(a.first + i * a.step);
            return axis;
        }
    return std::nullopt;
}

Breakpoints evenBreakpoints(double lowest, double highest)
{
    if (!(lowest < highest))
        return {lowest};
    Breakpoints axis;
    for (std::size_t i = 0; i + 1 < EvenCount; ++i)
        axis.push_back(
            static_cast<float>(lowest + (highest - lowest) * double(i) / double(EvenCount - 1)));
    axis.push_back(highest);
    return axis;
}

Breakpoints parseBreakpoints(std::string_view text)
{
    const auto wrong = [&](const QString &why) {
        // A long list is quoted up to the last whole number that fits.
        constexpr std::size_t Quoted = 60;
        const std::size_t cut = text.find_last_of(Separators, Quoted);
        const QString quoted = text.size() <= Quoted || cut == std::string_view::npos
                                   ? qtext(text)
                                   : qtext(text.substr(0, cut)) + QStringLiteral(" ...");
        throw RuntimeError(ErrorNumber::InvalidCall,
                           QStringLiteral("The breakpoints '%1' %2 (numbers separated by commas, "
                                          "tabs, spaces or line breaks, \".\" for decimals)")
                               .arg(quoted, why));
    };
    Breakpoints axis;
    std::size_t at = 0;
    while ((at = text.find_first_not_of(Separators, at)) != std::string_view::npos) {
        const std::size_t end = std::min(text.find_first_of(Separators, at), text.size());
        const std::string_view word = text.substr(at, end - at);
        double number = 0;
        const auto read = std::from_chars(word.data(), word.data() + word.size(), number);
        if (read.ec != std::errc() || read.ptr != word.data() + word.size() ||
            !std::isfinite(number))
            wrong(QStringLiteral("hold '%1', which is not a number").arg(qtext(word)));
        axis.push_back(number);
        at = end;
    }
    if (axis.empty())
        wrong(QStringLiteral("hold no number"));
    if (axis.size() > MostBreakpoints)
        wrong(QStringLiteral("hold %1 numbers, more than the %2 an axis may have")
                  .arg(axis.size())
                  .arg(MostBreakpoints));
    std::sort(axis.begin(), axis.end());
    if (const auto twice = std::adjacent_find(axis.begin(), axis.end()); twice != axis.end())
        wrong(QStringLiteral("hold %1 twice").arg(qtext(shortestText(*twice))));
    return axis;
}

std::size_t cellOf(std::span<const double> axis, double value)
{
    const auto above = std::lower_bound(axis.begin(), axis.end(), value);
    if (above == axis.begin())
        return 0;
    const auto i = static_cast<std::size_t>(above - axis.begin());
    if (above == axis.end())
        return i - 1;
    return value - axis[i - 1] < axis[i] - value ? i - 1 : i;
}

std::string shortestText(double number)
{
    char text[32];
    // A breakpoint from the scans is a float: its own shortest text, not the
    // double's.
    const auto single = static_cast<float>(number);
    const auto result = double(single) == number
                            ? std::to_chars(text, text + sizeof text, single == 0 ? 0.0f : single)
                            : std::to_chars(text, text + sizeof text, number);
    return std::string(text, result.ptr);
}

} // namespace vexa
