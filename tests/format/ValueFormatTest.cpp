// Channel values as the text files show them, under English and German
// regional settings.
#include "format/ValueFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace vexa {
namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

TEST(ValueFormat, FixedPointWithTheRowsDecimalsNeverGrouped)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        const char *code;
        float value;
        const char *text; // the same under both settings
    } cases[] = {
        {"RPM", 7250.4f, "7250"},
        {"MAP", 12.345f, "12.35"},
        {"ECT", 12.5f, "12.5"},
        {"ECT", -40.04f, "-40.0"},
        {"ECT", -0.04f, "0.0"},
        {"MAF", 0.006f, "0.01"},
        {"O2L", 999.5f, "1000"},
        {"IAC", 1234567.0f, "1234567"},
        {"KC", 3.6f, "4"},
        {"TFT", 70.25f, "70.2"}, // the float nearest 70.25 is exactly that: ties to even
        {"CLSD", 0.5f, "OPEN"},
        {"CLSD", 0.51f, "CLSD"},
        {"CLSD", 1.0f, "CLSD"},
        {"CLSD", 0.0f, "OPEN"},
        {"----", 5.0f, "----"},
        {"????", 5.0f, "----"},
        {"rpm", 5.0f, "----"},
        {"RPM", nan, "NaN"},
        {"CLSD", nan, "NaN"},
        {"MAP", inf, "INF"},
        {"MAP", -inf, "-INF"},
        {"----", nan, "----"},
        {"RPM", 16777216.0f, "16777216"},
    };
    for (const auto &c : cases) {
        for (const QLocale &locale : {English, German})
            EXPECT_EQ(formatParamValue(c.code, c.value, locale), c.text)
                << c.code << ' ' << c.value << ' ' << locale.name().toStdString();
    }
}

// For files other programs read: a number whatever the code or the settings.
TEST(ValueFormat, ANumberAlone)
{
    const struct {
        const char *code;
        float value;
        const char *text;
        int decimals;
    } cases[] = {
        {"CLSD", 0.6f, "1", 0},
        {"CLSD", 0.5f, "0", 0},
        {"????", 2.5f, "2", 0},
        {"KC", 1234567.0f, "1234567", 0},
        {"MAP", 1.5f, "1.50", 2},
        {"ECT", -0.04f, "0.0", 1},
        {"RPM", std::numeric_limits<float>::quiet_NaN(), "NaN", 0},
    };
    const QLocale before;
    QLocale::setDefault(German);
    for (const auto &c : cases) {
        const ValueFormat format = ValueFormat::number(c.code);
        EXPECT_EQ(format.format(c.value), c.text) << c.code << ' ' << c.value;
        EXPECT_EQ(format.decimals(), c.decimals) << c.code;
    }
    QLocale::setDefault(before);
}

TEST(ValueFormat, UsesTheLocalesDecimalMarkUnlessItIsAComma)
{
    EXPECT_EQ(fileDecimalMark(English), '.');
    EXPECT_EQ(fileDecimalMark(German), '.');
    // Locales whose mark is neither: kept when the file's code page has it.
    EXPECT_EQ(fileDecimalMark(QLocale(QLocale::Arabic, QLocale::Egypt)), '.');
    const QLocale c = QLocale::c();
    EXPECT_EQ(formatParamValue("MAP", 1.5f, c), "1.50");
}

} // namespace
} // namespace vexa
