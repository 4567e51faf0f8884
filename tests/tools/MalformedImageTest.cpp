// Handheld images no logger writes, through every reading command of
// vexa-export: what it lists and saves, and that it changes nothing.
#include "support/ExportToolRun.h"
#include "support/LogCase.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace vexa::test {
namespace {

const Stamp Start{2004, 3, 7, 14, 5, 9};
const Stamp Later{2004, 3, 8, 9, 0, 0};

Bytes index(const Stamp &start, int count, int first, std::string_view text = "Run",
            Params params = {15, 2})
{
    return rirodIndexRecord(start, count, first, params, text);
}

std::vector<Bytes> scans(int n, float value = 1)
{
    Channels c;
    c[0].value = value;
    c[1].value = value;
    return std::vector<Bytes>(static_cast<std::size_t>(n), scanRecord(10, c));
}

std::string everyByte()
{
    std::string text;
    for (int b = 1; b < 256; ++b)
        text += static_cast<char>(b);
    return text;
}

struct Row {
    const char *what;
    std::function<void(const TestHandheld &)> make;
    int listExit;
    int listLines;
    // Exit status and files written, for CSV, TXT and EFI alike.
    int saveExit;
    int files;
    const char *message;              // on standard error of the saves, and of a failed list
    const char *efiRefusal = nullptr; // when only the EFI file can't hold the log
};

TEST(MalformedImage, EveryReadingCommandEndsCleanAndChangesNothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    using H = const TestHandheld &;
    // clang-format off
    const Row rows[] = {
        {"a cut-short index record between two logs", [](H h) {
             h.add("RirodData", scans(4));
             h.add("RirodIndex", {index(Start, 2, 1), Bytes(12, 0), index(Later, 2, 3)});
         }, 1, 2, 1, 2, "log 2 can't be read"},
        {"a year the calendar can't hold", [](H h) {
             h.add("RirodData", scans(2));
             h.add("RirodIndex", {index({50, 1, 1, 0, 0, 0}, 2, 1), index(Later, 2, 1)});
         }, 1, 1, 1, 1, "year 50 is outside 100 to 9999"},
        {"a scan count past the data", [](H h) {
             h.add("RirodData", scans(2));
             h.add("RirodIndex", {index(Start, 100, 1)});
         }, 0, 1, 1, 0, "not found"},
        {"first scan 0", [](H h) {
             h.add("RirodData", scans(2));
             h.add("RirodIndex", {index(Start, 2, 0)});
         }, 0, 1, 1, 0, "not found"},
        {"a first scan beyond the scan database", [](H h) {
             h.add("RirodData", scans(2));
             h.add("RirodIndex", {index(Start, 2, 500)});
         }, 0, 1, 1, 0, "not found"},
        {"scan records cut short", [](H h) {
             h.add("RirodData", {Bytes(30, 0), Bytes(30, 0)});
             h.add("RirodIndex", {index(Start, 2, 1)});
         }, 0, 1, 1, 0, "Scan record 1 of the log is 30 bytes long"},
        {"NaN and infinite values", [=](H h) {
             h.add("RirodData", {scans(1, nan)[0], scans(1, inf)[0], scans(1, -inf)[0]});
             h.add("RirodIndex", {index(Start, 3, 1)});
         }, 0, 1, 0, 1, "", "scan 1, channel 1 (RPM) holds nan"},
        {"parameter numbers nobody knows", [](H h) {
             h.add("RirodData", scans(2));
             h.add("RirodIndex", {index(Start, 2, 1, "Run", {250, 199, 0, 255})});
         }, 0, 1, 0, 1, ""},
        {"text of every byte value", [](H h) {
             h.add("RirodData", scans(2));
             h.add("RirodIndex", {index(Start, 2, 1, everyByte())});
         }, 0, 1, 0, 1, ""},
        {"no logs, the scan records only", [](H h) { h.add("RirodData", scans(2)); },
         0, 0, 0, 0, "0 of 0 files written."},
        {"no databases at all", [](H) {}, 0, 0, 0, 0, "0 of 0 files written."},
        {"the records table gone", [](H h) {
             h.add("RirodIndex", {index(Start, 0, 1)});
             h.damage(TestHandheld::Damage::RecordsTableDropped);
         }, 1, 0, 1, 0, "80040206"},
        {"a 0-byte image", [](H h) { h.damage(TestHandheld::Damage::EmptyFile); },
         1, 0, 1, 0, "80040206"},
        {"an image that is no database", [](H h) { h.damage(TestHandheld::Damage::NotSqlite); },
         1, 0, 1, 0, "80040206"},
    };
    // clang-format on
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        TestHandheld handheld;
        row.make(handheld);
        const QByteArray image = handheld.imageBytes();

        const ToolRun list = exportTool({"--list"});
        EXPECT_EQ(list.exitCode, row.listExit) << list.err.constData();
        EXPECT_EQ(list.out.count('\n'), row.listLines) << list.out.constData();
        if (row.listExit != 0) {
            EXPECT_TRUE(list.err.contains(row.message)) << list.err.constData();
        }
        for (const QString format : {"CSV", "TXT", "EFI"}) {
            const bool refused = row.efiRefusal && format == "EFI";
            QTemporaryDir out;
            const ToolRun save = exportTool({"--all", "--format", format, "--out", out.path()});
            EXPECT_EQ(save.exitCode, refused ? 1 : row.saveExit)
                << qPrintable(format) << save.err.constData();
            EXPECT_TRUE(save.err.contains(refused ? row.efiRefusal : row.message))
                << qPrintable(format) << save.err.constData();
            // Only whole files: a failed log leaves nothing, not even a temporary file.
            EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(),
                      refused ? 0 : row.files)
                << qPrintable(format);
        }
        EXPECT_EQ(handheld.imageBytes(), image) << "reading changed the handheld";
    }
}

} // namespace
} // namespace vexa::test
