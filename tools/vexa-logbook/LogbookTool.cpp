// vexa-logbook: the logger's logs of the docked user beyond what the window
// does: the demo handheld, and the archive of deleted logs.
#include "ArchiveCommands.h"
#include "DemoHandheld.h"

#include "core/ProgramInfo.h"
#include "core/RuntimeError.h"

#include "vexasync/VexaSync.h"

#include <QCoreApplication>

#include <iostream>

namespace vexa::logbook {
namespace {

struct Command {
    const char *name;
    const char *subcommand; // "list" of "archive list"; null for none
    const char *arguments;
    const char *help;
    std::size_t maxArguments;     // more are a wrong command line; the command checks the rest
    int (*run)(const Args &args); // the arguments after its name and subcommand

    std::size_t wordCount() const { return subcommand ? 2 : 1; }
    std::string synopsis() const
    {
        return std::string(name) + (subcommand ? std::string(" ") + subcommand : "") + arguments;
    }
};

const char *const DemoUserName = "Demo User";

// Making a handheld is the component's administration, which the program
// never uses: the demo alone calls the component linked in, not loaded.
int dockDemoHandheld(const Args &)
{
    vexasync::Component &component = *vexasync_component(vexasync::ApiVersion);
    auto desktop = component.createDesktop();
    vexasync::UserInfo user;
    try {
        user = desktop->findUser(DemoUserName);
    } catch (const vexasync::Error &) {
        user = desktop->addUser(DemoUserName);
    }
    desktop->dock(user.id);
    const demo::Summary s = demo::fill(component);
    std::cout << "Docked the demo handheld of '" << user.name << "': " << s.rirodLogs
              << " Rirod logs (" << s.scanRecords << " scans), " << s.textLogs << " text logs.\n";
    return 0;
}

const Command Commands[] = {
    {"demo", nullptr, "",
     "Creates or resets the demo user's handheld with logs of all four kinds, and docks it.", 0,
     dockDemoHandheld},
    {"archive", "list", "",
     "Lists the logs deleted from the docked user's handheld, kept in deleted-logs.sqlite\n"
     "      in the user's folder: id, kind, when, removed or not, scans, bytes, text.",
     0, listArchive},
    {"archive", "purge", " --before DATE",
     "Removes the archived logs deleted before the start of DATE (YYYY-MM-DD, local time)\n"
     "      or before DATE with a time; a log whose deletion time is unknown stays.",
     std::size_t(-1), purgeArchive},
    {"restore", nullptr, " ID ... | restore --all",
     "Puts archived logs back on the docked handheld (--all: every one not restored yet).",
     std::size_t(-1), restoreArchivedLogs},
};

void describe(std::ostream &out, const Command &command)
{
    out << "  " << command.synopsis() << "\n      " << command.help << '\n';
}

void printUsage(std::ostream &out)
{
    out << "Usage: vexa-logbook COMMAND [ARGUMENTS]\n\n"
           "The logger's logs of the docked handheld user, beyond what the VEXASynch window\n"
           "does: the demo handheld, and the logs the program deleted. The sync data root\n"
           "is $"
        << vexasync::RootVariable << " or a VEXASync folder in your data folder.\n\nCommands:\n";
    for (const Command &command : Commands)
        describe(out, command);
    out << "\n'vexa-logbook COMMAND --help' describes one command.\n";
}

const Command *find(const Args &args)
{
    for (const Command &c : Commands)
        if (args[0] == c.name && (!c.subcommand || (args.size() > 1 && args[1] == c.subcommand)))
            return &c;
    return nullptr;
}

bool isHelp(const std::string &arg)
{
    return arg == "--help" || arg == "-h";
}

int run(const Args &all)
{
    if (all.empty() || isHelp(all[0])) {
        printUsage(all.empty() ? std::cerr : std::cout);
        return all.empty() ? 2 : 0;
    }
    if (all[0] == "--version") {
        std::cout << versionText(QStringLiteral("vexa-logbook")).toStdString();
        return 0;
    }
    const Command *command = find(all);
    if (!command && all[0] == "archive") {
        const bool help = all.size() > 1 && isHelp(all[1]);
        std::ostream &out = help ? std::cout : std::cerr;
        out << (help ? "Usage:\n" : "vexa-logbook: usage:\n");
        for (const Command &c : Commands)
            if (c.subcommand)
                describe(out, c);
        return help ? 0 : 2;
    }
    if (!command) {
        std::cerr << "vexa-logbook: unknown command '" << all[0] << "'\n";
        printUsage(std::cerr);
        return 2;
    }
    const Args args(all.begin() + std::ptrdiff_t(command->wordCount()), all.end());
    if (!args.empty() && isHelp(args[0])) {
        std::cout << "Usage: vexa-logbook " << command->synopsis() << "\n\n"
                  << command->help << '\n';
        return 0;
    }
    if (args.size() > command->maxArguments) {
        std::cerr << "vexa-logbook: usage: vexa-logbook " << command->synopsis() << '\n';
        return 2;
    }
    try {
        return command->run(args);
    } catch (...) {
        std::cerr << "vexa-logbook: " << currentError().description().toStdString() << '\n';
        return 1;
    }
}

} // namespace
} // namespace vexa::logbook

int main(int argc, char **argv)
{
    // The archive commands load the component from the program's folder.
    vexa::dropQtNoise();
    QCoreApplication app(argc, argv);
    return vexa::logbook::run(vexa::logbook::Args(argv + 1, argv + argc));
}
