#include "ColourScale.h"

#include <algorithm>
#include <cmath>

namespace vexa {

namespace {

constexpr Rgb White{255, 255, 255};
constexpr Rgb Lean{50, 60, 230};
constexpr Rgb Rich{230, 60, 50};
constexpr Rgb Lightest{255, 245, 220};
constexpr Rgb Darkest{230, 120, 20};

Rgb mix(Rgb from, Rgb to, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const auto channel = [t](std::uint8_t a, std::uint8_t b) {
        return std::uint8_t(std::lround(a + (b - a) * t));
    };
    return {channel(from.red, to.red), channel(from.green, to.green), channel(from.blue, to.blue)};
}

} // namespace

bool isTrim(const std::string &valueCode)
{
    return valueCode.starts_with("LFT") || valueCode.starts_with("SFT");
}

ColourScale colourScale(const std::string &valueCode, double low, double high)
{
    return {isTrim(valueCode) || (low < 0 && high > 0), low, high};
}

Rgb ColourScale::colour(double value) const
{
    if (diverging) {
        const double reach = std::max(std::abs(low), std::abs(high));
        if (reach == 0)
            return White;
        return value < 0 ? mix(White, Lean, -value / reach) : mix(White, Rich, value / reach);
    }
    return mix(Lightest, Darkest, high > low ? (value - low) / (high - low) : 0.5);
}

} // namespace vexa
