// The one colour rule of a value, for the table's grid and the scatter's
// dots alike: a trim, or any value whose range straddles 0, runs blue
// through white to red around 0, so lean and rich read at a glance; any
// other value runs light to dark.
#pragma once

#include <cstdint>
#include <string>

namespace vexa {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;

    bool operator==(const Rgb &) const = default;
};

struct ColourScale {
    bool diverging = false;
    double low = 0, high = 0; // the range of the values coloured

    Rgb colour(double value) const;
};

// LFT1, SFT2, ...: a correction around 0, whatever its range.
bool isTrim(const std::string &valueCode);

// An empty `valueCode` is a quantity (a count): never diverging.
ColourScale colourScale(const std::string &valueCode, double low, double high);

} // namespace vexa
