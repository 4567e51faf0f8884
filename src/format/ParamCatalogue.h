// The parameters the logger records: number, code, unit, description and
// display precision. Codes are compared exactly, case included.
#pragma once

#include <cstdint>
#include <string_view>

namespace vexa {

inline constexpr std::string_view EmptySlotCode = "----";
inline constexpr std::string_view UnknownParamCode = "????";

// Decimals a value is shown with, or the open/closed rule of "CLSD".
inline constexpr int OpenClosed = -1;

struct ParamRow {
    std::int16_t number;
    std::string_view code;
    std::string_view units;
    std::string_view description;
    int decimals; // 0, 1, 2 or OpenClosed
};

// "----" for 0, "????" for a number the catalogue does not know.
std::string_view paramNumberToCode(int number);
// "----" for a code in no row.
std::string_view paramCodeToUnits(std::string_view code);
std::string_view paramCodeToDescription(std::string_view code);
// nullptr for a code in no row.
const ParamRow *findParam(std::string_view code);

} // namespace vexa
