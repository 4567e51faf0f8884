// vexa-handheld run as a child process on the sync root of the test's
// environment.
#pragma once

#include <string>
#include <vector>

namespace vexasync::test {

struct ToolRun {
    int exitCode; // -1 when the tool did not end normally
    std::string out, err;
};

ToolRun runHandheldTool(const std::vector<std::string> &args, const std::string &input = {});

} // namespace vexasync::test
