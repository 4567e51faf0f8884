#include "HandheldToolRun.h"
#include "DockedHandheld.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace vexasync::test {

namespace fs = std::filesystem;

namespace {

// One word for the shell, whatever it holds.
std::string quoted(const std::string &word)
{
#if defined(_WIN32)
    return '"' + word + '"';
#else
    std::string q = "'";
    for (const char c : word)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
#endif
}

} // namespace

ToolRun runHandheldTool(const std::vector<std::string> &args, const std::string &input)
{
    const fs::path base =
        fs::temp_directory_path() / ("vexa-handheld-run-" + std::to_string(std::random_device()()));
    const fs::path in = base.string() + ".in", out = base.string() + ".out",
                   err = base.string() + ".err";
    std::ofstream(in, std::ios::binary) << input;
    std::string command = quoted(VEXA_HANDHELD_TOOL);
    for (const std::string &arg : args)
        command += ' ' + quoted(arg);
    command +=
        " <" + quoted(in.string()) + " >" + quoted(out.string()) + " 2>" + quoted(err.string());
    const int status = std::system(command.c_str());
#if defined(_WIN32)
    const int exitCode = status;
#else
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    ToolRun run{exitCode, fileContents(out), fileContents(err)};
    for (const fs::path &file : {in, out, err})
        fs::remove(file);
    return run;
}

} // namespace vexasync::test
