// EFILive files: samples and channel tables.
#include "catalogue/EfiLogWriter.h"
#include "support/ExportFixture.h"

#include <gtest/gtest.h>

#include <limits>

namespace vexa::test {
namespace {

constexpr qsizetype HeaderSize = 1155;

// The file of a one-scan log with the given parameter numbers and channels.
QByteArray efiOf(const Params &params, const Channels &channels)
{
    ExportFixture f;
    f.handheld.add("RirodData", {scanRecord(10, channels)});
    f.handheld.add("RirodIndex", {rirodIndexRecord({2004, 1, 1, 0, 0, 0}, 1, 1, params, "x")});
    f.write(Writer::Efi, f.entry());
    return f.written();
}

int channelCount(const QByteArray &efi)
{
    return static_cast<std::uint8_t>(efi[1020]);
}
QByteArray samples(const QByteArray &efi)
{
    const int n = channelCount(efi);
    const int d = static_cast<std::uint8_t>(efi[1024 + 144 * n]);
    return efi.mid(HeaderSize + 144 * n, d);
}

TEST(EfiLog, SamplesAreRawCountsBigEndian)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char *what;
        std::uint8_t param;
        Channel channel;
        const char *sample; // hex
    } cases[] = {
        {"RPM 3000", 15, {0, 3000}, "2ee0"},
        {"RPM 20000 keeps its low bytes", 15, {0, 20000}, "3880"},
        {"LFT1 -101", 6, {0, -101}, "ff"},
        {"ECT 212", 2, {0, 212}, "8c"},
        {"ECT timed out", 2, {103, 212}, "16"},
        {"ECT error 5", 2, {5, 212}, "16"},
        {"ECT status -1", 2, {-1, 212}, "16"},
        {"NaN with an error status", 2, {5, nan}, "16"},
        {"CLSD: the UNKNOWN row", 1, {0, 1}, "0001"},
        {"unknown number 200", 200, {0, 2.5f}, "0002"}, // ties to even
        {"unknown number 200, 3.5", 200, {0, 3.5f}, "0004"},
        {"the lowest raw sample", 200, {0, -2147483648.0f}, "0000"},
        {"IAC 300", 104, {0, 300}, "012c"},
    };
    for (const auto &c : cases) {
        Channels channels{};
        channels[0] = c.channel;
        EXPECT_EQ(samples(efiOf({c.param}, channels)).toHex(), c.sample) << c.what;
    }
}

TEST(EfiLog, EmptySlotsVanishAndTheRestKeepTheirOrder)
{
    Channels channels{};
    channels[2] = {0, 3000}; // RPM
    channels[7] = {0, 212};  // ECT
    const QByteArray efi = efiOf({0, 0, 15, 0, 0, 0, 0, 2, 0, 0}, channels);
    EXPECT_EQ(channelCount(efi), 2);
    EXPECT_EQ(efi.mid(1024, 7), "SAE.RPM");
    EXPECT_EQ(efi.mid(1024 + 36, 3).toHex(), "000010"); // offset 0, 16 bits
    EXPECT_EQ(efi.mid(1024 + 144, 7), "SAE.ECT");
    EXPECT_EQ(efi.mid(1024 + 144 + 36, 3).toHex(), "020008"); // after RPM's two bytes
    EXPECT_EQ(samples(efi).toHex(), "2ee08c");
    EXPECT_EQ(efi.size(), HeaderSize + 2 * 144 + 3 + 8);
}

// No channels: the time alone, D = 0 and S = 1; ten two-byte ones: D = 20.
TEST(EfiLog, ChannelTablesFromNoneToTen)
{
    const QByteArray none = efiOf({}, {});
    EXPECT_EQ(channelCount(none), 0);
    EXPECT_EQ(none.mid(1024, 8).toHex(), "0000000001000000");
    EXPECT_EQ(none.size(), HeaderSize + 8);
    const QByteArray ten = efiOf({15, 104, 8, 112, 108, 109, 15, 104, 8, 112}, {});
    EXPECT_EQ(channelCount(ten), 10);
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(static_cast<std::uint8_t>(ten[1024 + 144 * c + 36]), 2 * c);
        EXPECT_EQ(static_cast<std::uint8_t>(ten[1024 + 144 * c + 38]), 16);
    }
    EXPECT_EQ(ten.mid(1024 + 1440, 4).toHex(), "14000000");
    EXPECT_EQ(ten.size(), HeaderSize + 1440 + 28);
}

} // namespace
} // namespace vexa::test
