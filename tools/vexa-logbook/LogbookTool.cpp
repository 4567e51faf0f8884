// vexa-logbook: the logger's logs beyond what the window does: the logbook
// of every log ever docked, the demo handheld, and the archive of deleted
// logs that earlier versions kept.
#include "ArchiveCommands.h"
#include "DemoHandheld.h"
#include "LogbookCommands.h"
#include "LogbookOptions.h"

#include "core/ProgramInfo.h"
#include "core/RuntimeError.h"
#include "logbook/Logbook.h"

#include "vexasync/VexaSync.h"
#include "writers/EveryWriter.h"

#include <QApplication>

#include <iostream>

namespace vexa::logbook {
namespace {

struct Command {
    const char *name;
    const char *subcommand; // "list" of "archive list"; null for none
    const char *arguments;
    const char *help;
    std::size_t maxArguments; // more are a wrong command line; the command checks the rest
    // The arguments after its name and subcommand, and the logbook's path.
    int (*run)(const Args &args, const QString &logbook);
    std::string (*moreHelp)() = nullptr; // what the format table and the filters add

    std::string fullHelp() const { return help + (moreHelp ? moreHelp() : std::string()); }

    std::size_t wordCount() const { return subcommand ? 2 : 1; }
    std::string synopsis() const
    {
        return std::string(name) + (subcommand ? std::string(" ") + subcommand : "") + arguments;
    }
};

const char *const DemoUserName = "Demo User";

// Making a handheld is the component's administration, which the program
// never uses: the demo alone calls the component linked in, not loaded.
int dockDemoHandheld(const Args &, const QString &)
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

constexpr std::size_t Any = std::size_t(-1);

const Command Commands[] = {
    {"pull", nullptr, "",
     "Copies every log of the docked handheld the logbook doesn't hold yet into it; prints\n"
     "      how many were new and how many held already. The docked user's archive of deleted\n"
     "      logs is taken in first, once.",
     0, pullLogs},
    {"list", nullptr,
     " [--kind K] [--user NAME] [--since DATE] [--until DATE] [--search TEXT] [--state S]"
     " [--json]",
     "Lists the logbook's logs, one a line, fields separated by TAB: id, user, kind, start,\n"
     "      scans, duration, state, text (control characters as \\n, \\r, \\t, \\xHH). --json: a\n"
     "      JSON array, one object per log with those fields. Filters:\n",
     Any, listLogs, filterHelp},
    {"show", nullptr, " ID",
     "Describes a logbook log as the window does, with its note, state and history.", Any, showLog},
    {"note", nullptr, " ID TEXT", "Sets a logbook log's note (empty: none).", Any, noteLog},
    {"export", nullptr,
     " (ID ... | --all [filters]) --format FORMAT --out DIR [--force | --skip-existing]",
     "Saves logbook logs to files in DIR, named as vexa-export names them; --all takes every\n"
     "      log the filters (as of list) admit. Files that exist are left alone (exit 1) unless\n"
     "      --force overwrites or --skip-existing skips them.\n      FORMAT: ",
     Any, exportLogs, formatHelp},
    {"table", nullptr,
     " --x CH --y CH --value CH [--stat mean|min|max|count] [--min-hits N] [--where COND]..."
     " [--x-axis LIST] [--y-axis LIST] (ID ... | --all [filters])",
     "Prints a tuning table of Rirod logs as tab-separated text: the value channel's mean\n"
     "      (or min, max, count) in each cell of X by Y, pooled from the logs. First row Y\\X and\n"
     "      the X breakpoints, then a row per Y breakpoint from the lowest. A scan counts in\n"
     "      the cell of the nearest breakpoints (half-way: the higher; beyond the ends: the\n"
     "      end cell) when X, Y and the value are read and every --where holds: CH OP NUMBER\n"
     "      (OP <, <=, =, >=, >, !=; = and != at the channel's display precision) or\n"
     "      |dCH/dt| OP NUMBER, the change per second since the scan before. Cells of fewer\n"
     "      than --min-hits scans (10) are empty. Breakpoints: RPM 400-7200 by 400, MAP 2-30\n"
     "      by 2, LD and TPS 0-100 by 10, other channels twelve evenly over the values; LIST\n"
     "      gives them, separated by commas, spaces, tabs or line breaks. Logs lacking a\n"
     "      channel are left out and named on standard error. Filters (as of list):\n",
     Any, tableLogs, filterHelp},
    {"purge", nullptr, " --before DATE",
     "Removes from the logbook the logs no handheld holds (deleted or gone) last seen before\n"
     "      the start of DATE (YYYY-MM-DD, local time). Nothing else ever removes a log.",
     Any, purgeLogs},
    {"path", nullptr, "", "Prints where the logbook is.", 0, printPath},
    {"demo", nullptr, "",
     "Creates or resets the demo user's handheld with logs of all four kinds, and docks it.", 0,
     dockDemoHandheld},
    {"archive", "list", "",
     "Lists the logs deleted from the docked user's handheld by earlier versions of the\n"
     "      program, kept in deleted-logs.sqlite in the user's folder (only read): id, kind,\n"
     "      when, removed or not, scans, bytes, text.",
     0, [](const Args &args, const QString &) { return listArchive(args); }},
    {"archive", "purge", " --before DATE",
     "Removes the archived logs deleted before the start of DATE (YYYY-MM-DD, local time)\n"
     "      or before DATE with a time; a log whose deletion time is unknown stays.",
     Any, [](const Args &args, const QString &) { return purgeArchive(args); }},
    {"archive", "restore", " ID ... | archive restore --all",
     "Retired (exit status 2): 'pull' takes the archive into the logbook; 'list --state\n"
     "      deleted' lists its logs there and 'restore ID' puts them back.",
     Any, [](const Args &args, const QString &) { return retiredArchiveRestore(args); }},
    {"restore", nullptr, " ID ... [--to-docked]",
     "Puts logs of the logbook back on the docked handheld. A log still on the handheld, one\n"
     "      whose records are cut short or of the wrong size, or one whose database the handheld\n"
     "      lacks is refused; so is another handheld user's log unless --to-docked is given.",
     Any, putBackLogs},
};

void describe(std::ostream &out, const Command &command)
{
    out << "  " << command.synopsis() << "\n      " << command.fullHelp() << '\n';
}

void printUsage(std::ostream &out)
{
    out << "Usage: vexa-logbook [--logbook FILE] COMMAND [ARGUMENTS]\n\n"
           "The logger's logs beyond what the VEXASynch window does: the logbook of every log\n"
           "ever docked, the demo handheld, and the logs the program deleted. The logbook is\n"
        << Logbook::defaultPath().toStdString()
        << "\nunless --logbook names another. The sync data root is $" << vexasync::RootVariable
        << "\nor a VEXASync folder in your data folder. Exit status: 0 all done, 1 something "
           "failed (said on\nstandard error), 2 a wrong command line.\n\nCommands:\n";
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

int run(Args all)
{
    QString logbook = Logbook::defaultPath();
    for (auto it = all.begin(); it != all.end(); ++it)
        if (*it == "--logbook") {
            if (it + 1 == all.end()) {
                std::cerr << "vexa-logbook: --logbook takes a file\n";
                return 2;
            }
            logbook = QString::fromLocal8Bit(*(it + 1));
            all.erase(it, it + 2);
            break;
        }
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
                  << command->fullHelp() << '\n';
        return 0;
    }
    if (args.size() > command->maxArguments) {
        std::cerr << "vexa-logbook: usage: vexa-logbook " << command->synopsis() << '\n';
        return 2;
    }
    try {
        return command->run(args, logbook);
    } catch (const UsageError &e) {
        std::cerr << "vexa-logbook: " << e.message << '\n';
        return 2;
    } catch (...) {
        std::cerr << "vexa-logbook: " << currentError().description().toStdString() << '\n';
        return 1;
    }
}

} // namespace
} // namespace vexa::logbook

int main(int argc, char **argv)
{
    // Plots are drawn by widgets, and the tool never shows a window. The
    // commands load the component from the program's folder.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    vexa::dropQtNoise();
    QApplication app(argc, argv);
    vexa::registerEveryWriter();
    return vexa::logbook::run(vexa::logbook::Args(argv + 1, argv + argc));
}
