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
    // The value as a number alone, for files other programs read: "."
    // whatever the locale, and the open/closed rule or a code without a
    // precision as a whole number.
    static ValueFormat number(std::string_view code);

    std::string format(float value) const;
    int decimals() const { return m_decimals; }

private:
    ValueFormat() = default;

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
