// The handheld's code page round-trips every byte.
#include "format/Cp1252.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

// Every byte comes back unchanged; the Windows characters decode as such.
TEST(Cp1252, RoundTripsEveryByte)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = cp1252::decode(all);
    EXPECT_EQ(text.size(), 255);
    EXPECT_EQ(cp1252::encode(text).toStdString(), all);
    EXPECT_EQ(cp1252::decode("\x80\x93\xE9\x81"), QString::fromUtf16(u"\u20AC\u201C\u00E9\u0081"));
    EXPECT_EQ(cp1252::encode(QString::fromUtf16(u"\u2212x")), "?x") << "no byte for a real minus";
}

} // namespace
} // namespace vexa
