// The parameter catalogue's look-ups: both ranges of numbers, a row of each
// shape as the logger's documentation gives it, and what numbers and codes
// outside the table fall back to. The writers' reference files show rows in use.
#include "catalogue/EfiParamInfo.h"
#include "format/ParamCatalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace vexa {
namespace {

// Identifier, short name, sample size, range, normal band, scale and offset.
using EfiRow =
    std::tuple<std::string_view, std::string_view, int, float, float, float, float, float, float>;

EfiRow efiRow(std::string_view code)
{
    const EfiParamInfo &i = getEfiParamInfo(code);
    return {i.pid,      i.shortName, i.size,  i.minValue, i.maxValue,
            i.lowLimit, i.highLimit, i.scale, i.offset};
}

const EfiRow Unknown{"UNKNOWN", "UNKNOWN", 2, 0, 1000, 0, 1000, 1, 0};

TEST(Catalogue, EachNumberOfBothRangesHasACodeOfItsOwn)
{
    std::set<std::string_view> codes;
    for (const auto &[first, last] : {std::pair{1, 18}, std::pair{101, 116}}) {
        for (int number = first; number <= last; ++number) {
            const std::string_view code = paramNumberToCode(number);
            EXPECT_TRUE(codes.insert(code).second) << number << " " << code;
            const ParamRow *row = findParam(code);
            ASSERT_NE(row, nullptr) << number;
            EXPECT_EQ(row->number, number);
        }
    }
    const struct {
        const char *code, *units, *description;
        EfiRow efi;
    } rows[] = {
        {"CLSD", "LOOP", "Closed loop status (1=closed)", Unknown},
        {"LFT1",
         "PCT",
         "Long-term fuel trim - dr's side",
         {"SAE.LONG TERM FT 1", "LTFT1", 1, -20, 20, -10, 10, 0.7813f, -100}},
        {"KC", "----", "----", Unknown},
        {"TPSV",
         "V",
         "Throttle position sensor volts",
         {"GM.LS1.TPS", "TPS", 1, 0, 5, 0, 5, 0.01961f, 0}},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(paramCodeToUnits(row.code), row.units);
        EXPECT_EQ(paramCodeToDescription(row.code), row.description);
        EXPECT_EQ(efiRow(row.code), row.efi) << row.code;
    }
}

TEST(Catalogue, NumbersAndCodesOutsideTheTableFallBack)
{
    EXPECT_EQ(paramNumberToCode(0), "----");
    for (const int number : {19, 100, 117, -1, 255, 32767, -32768})
        EXPECT_EQ(paramNumberToCode(number), "????") << number;
    for (const char *code : {"----", "????", "rpm", "", "RPM ", "XYZ"}) {
        EXPECT_EQ(paramCodeToUnits(code), "----") << code;
        EXPECT_EQ(paramCodeToDescription(code), "----") << code;
        EXPECT_EQ(efiRow(code), Unknown) << code;
    }
}

} // namespace
} // namespace vexa
