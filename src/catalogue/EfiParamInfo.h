// How the EFILive scan tool describes each parameter: identifier, sample
// size, names, range, normal band and the scale and offset of raw samples.
#pragma once

#include <cstdint>
#include <string_view>

namespace vexa {

struct EfiParamInfo {
    std::string_view pid;
    std::int16_t size; // bytes per sample: 1 or 2
    std::string_view shortName;
    std::string_view lowLabel;
    std::string_view okLabel;
    std::string_view highLabel;
    float minValue;
    float maxValue;
    float lowLimit;
    float highLimit;
    float scale;  // engineering value per raw count
    float offset; // engineering value at raw count 0
};

// A code without a row of its own gets the "UNKNOWN" description.
const EfiParamInfo &getEfiParamInfo(std::string_view code);

} // namespace vexa
