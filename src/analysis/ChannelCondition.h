// A condition a scan must meet to count in a table: a channel's value, or
// its rate of change per second, against a number.
#pragma once

#include <string>
#include <string_view>

namespace vexa {

struct ChannelCondition {
    enum class Measure { Value, Rate, RateMagnitude }; // CH, dCH/dt, |dCH/dt|
    enum class Op { Less, LessOrEqual, Equal, GreaterOrEqual, Greater, NotEqual };

    std::string text; // as the user wrote it, to name it
    std::string code;
    Measure measure = Measure::Value;
    Op op = Op::Less;
    double number = 0;
    int decimals = 0; // the channel's display precision, or OpenClosed

    bool isRate() const { return measure != Measure::Value; }
    // `=` and `!=` on a value compare it as shown at the channel's display
    // precision; everything else compares the number itself.
    bool holds(double measured) const;
};

// "ECT >= 160", "CLSD=1", "|dTPS/dt| <= 20", "dRPM/dt > 0"; spaces optional.
// Throws RuntimeError naming the condition when it doesn't read so or names
// no channel of the catalogue.
ChannelCondition parseCondition(std::string_view text);

// Throws RuntimeError for a code no row of the catalogue has.
void checkChannelCode(std::string_view code);

} // namespace vexa
