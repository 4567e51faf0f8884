// A channel value as text output shows it: fixed-point with the parameter's
// decimals, rounded, never grouped. The decimal mark is the locale's, except
// that a comma becomes "." because the files are comma-delimited. The text
// is in the file's code page (Windows-1252).
#pragma once

#include <QLocale>

#include <string>
#include <string_view>

namespace vexa {

class ValueFormat {
public:
    // Resolves the code once, for formatting many values of one channel.
    ValueFormat(std::string_view code, const QLocale &locale);

    std::string format(float value) const;

private:
    enum class Rule { NoValue, OpenClosed, Fixed };
    Rule m_rule = Rule::NoValue;
    int m_decimals = 0;
    char m_decimalMark = '.';
};

// The decimal mark of a locale as the files write it.
char fileDecimalMark(const QLocale &locale);

std::string formatParamValue(std::string_view code, float value,
                             const QLocale &locale = QLocale::system());

} // namespace vexa
