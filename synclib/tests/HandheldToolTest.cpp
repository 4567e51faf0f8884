// vexa-handheld run as a user runs it: what it refuses, and what it no
// longer does.
#include "DockedHandheld.h"
#include "HandheldToolRun.h"

#include <gtest/gtest.h>

namespace vexasync::test {
namespace {

TEST(HandheldTool, BadInputIsRefusedWithAMessage)
{
    DockedHandheld handheld;
    handheld.add("Kept", {Bytes{5}});
    const std::string image = handheld.imageBytes();
    const struct {
        std::vector<std::string> args;
        std::string input;
        const char *message;
        bool undocked = false;
    } cases[] = {
        {{"import", "Kept"}, "0102\n0A0\n", "line 2: odd number of hex digits"},
        {{"import", "Kept"}, "zz\n", "line 1: 'z' is not a hexadecimal digit"},
        {{"dock", "Nobody"}, {}, "Unknown user Nobody"},
        {{"dump", "Missing"}, {}, "Database, record, etc. not found"},
        {{"frobnicate"}, {}, "unknown command"},
        {{"dock"}, {}, "usage"},
        {{"dump", "Kept"}, {}, "No handheld is docked", true},
    };
    for (const auto &c : cases) {
        if (c.undocked)
            handheld.undock();
        const ToolRun run = runHandheldTool(c.args, c.input);
        EXPECT_NE(run.exitCode, 0) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    EXPECT_EQ(handheld.imageBytes(), image) << "nothing imported";
}

// The component can't know the logger's logs, so these are no aliases.
TEST(HandheldTool, MovedCommandsNameTheirNewHome)
{
    DockedHandheld handheld;
    const std::string image = handheld.imageBytes();
    const std::vector<std::string> commands[] = {
        {"demo"}, {"archive", "list"}, {"restore", "--all"}, {"demo", "--help"}};
    for (const auto &args : commands) {
        const ToolRun run = runHandheldTool(args);
        EXPECT_EQ(run.exitCode, 2) << args[0];
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  "vexa-handheld: '" + args[0] + "' moved: use 'vexa-logbook " + args[0] + "'\n");
    }
    EXPECT_EQ(handheld.imageBytes(), image);
    EXPECT_EQ(handheld.component().createDesktop()->users().size(), 1u) << "no demo user";
}

} // namespace
} // namespace vexasync::test
