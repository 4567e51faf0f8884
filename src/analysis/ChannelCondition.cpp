#include "ChannelCondition.h"

#include "core/RuntimeError.h"
#include "format/ParamCatalogue.h"
#include "format/ValueFormat.h"

#include <QStringList>

#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace vexa {

namespace {

using Op = ChannelCondition::Op;

// Longest first, so "<=" is not read as "<".
constexpr std::array<std::pair<std::string_view, Op>, 6> OpWords = {{
    {"<=", Op::LessOrEqual},
    {">=", Op::GreaterOrEqual},
    {"!=", Op::NotEqual},
    {"<", Op::Less},
    {">", Op::Greater},
    {"=", Op::Equal},
}};

// The value as the channel shows it equals the number: the shown text is
// what ValueFormat writes, so a value half-way between two shown values goes
// the way its text does.
bool shownEquals(const ChannelCondition &c, double value)
{
    if (!std::isfinite(value))
        return false;
    if (c.decimals == OpenClosed)
        return (value > 0.5 ? 1.0 : 0.0) == c.number;
    const double scale = std::pow(10.0, c.decimals);
    const double units = value * scale;
    if (std::abs(std::abs(units - std::floor(units)) - 0.5) > 1e-6) {
        const double target = std::round(c.number * scale);
        return std::round(units) == target && std::abs(c.number * scale - target) < 1e-6;
    }
    const std::string shown = ValueFormat::number(c.code).format(static_cast<float>(value));
    double number = 0;
    const auto read = std::from_chars(shown.data(), shown.data() + shown.size(), number);
    return read.ec == std::errc() && number == c.number;
}

QString quoted(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

[[noreturn]] void unreadable(std::string_view text)
{
    throw RuntimeError(
        ErrorNumber::InvalidCall,
        QStringLiteral("The condition '%1' reads neither as CHANNEL OP NUMBER nor as "
                       "|dCHANNEL/dt| OP NUMBER (OP: <, <=, =, >=, >, !=; \".\" "
                       "marks decimals)")
            .arg(quoted(text)));
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

void checkChannelCode(std::string_view code)
{
    if (!findParam(code))
        throw RuntimeError(ErrorNumber::InvalidCall,
                           QStringLiteral("No channel is called '%1' (codes as the catalogue "
                                          "writes them: RPM, MAP, LD, TPS, ECT, CLSD, LFT1, ...)")
                               .arg(quoted(code)));
}

bool ChannelCondition::holds(double measured) const
{
    if (measure == Measure::RateMagnitude)
        measured = std::abs(measured);
    const bool shown = measure == Measure::Value;
    switch (op) {
    case Op::Less:
        return measured < number;
    case Op::LessOrEqual:
        return measured <= number;
    case Op::GreaterOrEqual:
        return measured >= number;
    case Op::Greater:
        return measured > number;
    case Op::Equal:
        return shown ? shownEquals(*this, measured) : measured == number;
    case Op::NotEqual:
        return !(shown ? shownEquals(*this, measured) : measured == number);
    }
    return false;
}

ChannelCondition parseCondition(std::string_view text)
{
    ChannelCondition c;
    c.text = std::string(text);
    std::size_t opAt = std::string_view::npos;
    for (std::size_t i = 0; i < text.size() && opAt == std::string_view::npos; ++i)
        if (text[i] == '<' || text[i] == '>' || text[i] == '=' || text[i] == '!')
            opAt = i;
    if (opAt == std::string_view::npos)
        unreadable(text);
    std::string_view left = trimmed(text.substr(0, opAt));
    std::string_view rest = text.substr(opAt);
    bool opFound = false;
    for (const auto &[word, op] : OpWords)
        if (rest.starts_with(word)) {
            c.op = op;
            rest.remove_prefix(word.size());
            opFound = true;
            break;
        }
    const std::string_view number = trimmed(rest);
    const auto read = std::from_chars(number.data(), number.data() + number.size(), c.number);
    if (!opFound || number.empty() || read.ec != std::errc() ||
        read.ptr != number.data() + number.size() || !std::isfinite(c.number))
        unreadable(text);

    const bool bars = left.starts_with('|');
    if (bars != left.ends_with('|') || (bars && left.size() < 2))
        unreadable(text);
    if (bars)
        left = trimmed(left.substr(1, left.size() - 2));
    if (left.starts_with('d') && left.ends_with("/dt")) {
        c.measure =
            bars ? ChannelCondition::Measure::RateMagnitude : ChannelCondition::Measure::Rate;
        left = trimmed(left.substr(1, left.size() - 4));
    } else if (bars) {
        unreadable(text);
    }
    if (left.empty() || left.find_first_of(" \t|") != std::string_view::npos)
        unreadable(text);
    c.code = std::string(left);
    const ParamRow *row = findParam(c.code);
    if (!row)
        throw RuntimeError(ErrorNumber::InvalidCall,
                           QStringLiteral("The condition '%1' names no channel: '%2' is no code "
                                          "of the catalogue")
                               .arg(quoted(text), quoted(c.code)));
    c.decimals = row->decimals;
    return c;
}

} // namespace vexa
