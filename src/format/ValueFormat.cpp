#include "ValueFormat.h"

#include "ParamCatalogue.h"
#include "format/Cp1252.h"

#include <charconv>
#include <cmath>

namespace vexa {

char fileDecimalMark(const QLocale &locale)
{
    const QString mark = locale.decimalPoint();
    char byte = '.';
    if (mark.size() != 1 || mark == QStringLiteral(",") || !cp1252::encodeChar(mark[0], byte))
        return '.';
    return byte;
}

ValueFormat::ValueFormat(std::string_view code, const QLocale &locale)
    : m_decimalMark(fileDecimalMark(locale))
{
    if (const ParamRow *row = findParam(code)) {
        m_rule = row->decimals == OpenClosed ? Rule::OpenClosed : Rule::Fixed;
        m_decimals = row->decimals;
    }
}

ValueFormat ValueFormat::number(std::string_view code)
{
    ValueFormat plain;
    plain.m_rule = Rule::Fixed;
    if (const ParamRow *row = findParam(code); row && row->decimals != OpenClosed)
        plain.m_decimals = row->decimals;
    return plain;
}

std::string ValueFormat::format(float value) const
{
    if (m_rule == Rule::NoValue)
        return std::string(EmptySlotCode);
    if (std::isnan(value))
        return "NaN";
    if (m_rule == Rule::OpenClosed)
        return value > 0.5f ? "CLSD" : "OPEN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";

    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                      std::chars_format::fixed, m_decimals);
    std::string out(text, result.ptr);
    // A value that rounds to zero shows no sign.
    if (out.front() == '-' && out.find_first_not_of("-0.") == std::string::npos)
        out.erase(0, 1);
    if (m_decimals > 0)
        out[out.size() - static_cast<std::size_t>(m_decimals) - 1] = m_decimalMark;
    return out;
}

std::string formatParamValue(std::string_view code, float value, const QLocale &locale)
{
    return ValueFormat(code, locale).format(value);
}

} // namespace vexa
