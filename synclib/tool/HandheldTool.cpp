// vexa-handheld: manages the desktop's handheld users and the docked
// handheld's databases, for users and for tests.
#include "HexRecords.h"

#include "vexasync/VexaSync.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Command {
    const char *synopsis;
    const char *help;
    std::size_t argumentCount; // at most; at least all but the [optional] ones
    std::function<void(vexasync::Component &, const Args &)> run;
};

std::shared_ptr<vexasync::RecordAdapter> openDatabase(vexasync::Component &component,
                                                      const std::string &name)
{
    return component.createDatabaseOpener()->open(name, vexasync::RecordAdapterClass,
                                                  vexasync::mode::ReadWriteDelete);
}

void requireDocked(vexasync::Component &component)
{
    if (!component.createSyncStatus()->inProgress())
        throw vexasync::Error(vexasync::error::NotDocked,
                              "No handheld is docked (use 'vexa-handheld dock USER')");
}

void printUser(const vexasync::UserInfo &user, bool docked)
{
    std::cout << user.id << '\t' << user.name << '\t' << user.folder << (docked ? "\tdocked" : "")
              << '\n';
}

void importRecords(vexasync::Component &component, const Args &args)
{
    requireDocked(component);
    const std::vector<std::vector<std::uint8_t>> records = hex::readRecords(std::cin);
    component.createDesktop()->createDatabase(args[0]);
    auto db = openDatabase(component, args[0]);
    db->beginGroup(); // all lines or none
    try {
        for (const auto &bytes : records)
            db->write(0, 0, 0, bytes);
        db->commitGroup();
    } catch (...) {
        db->rollbackGroup();
        throw;
    }
    std::cerr << records.size() << " records appended to " << args[0] << '\n';
}

void dumpRecords(vexasync::Component &component, const Args &args)
{
    requireDocked(component);
    auto db = openDatabase(component, args[0]);
    const std::int32_t count = db->recordCount();
    for (std::int32_t i = 0; i < count; ++i) {
        const vexasync::Record r = db->readByIndex(i);
        std::cout << i << ' ' << r.id << ' ' << r.attributes << ' ' << r.category << ' '
                  << hex::format(r.bytes) << '\n';
    }
}

// A stand-in copy of the logger program in a user's backup folder, as old as
// asked, so that the start-up check has copies to compare.
void addBackupFile(vexasync::Component &component, const Args &args)
{
    auto desktop = component.createDesktop();
    const vexasync::UserInfo user = desktop->findUser(args[0]);
    const std::string &name = args[1];
    if (name.empty() || name.find_first_of("/\\") != std::string::npos)
        throw std::runtime_error("a file name, not a path: '" + name + "'");
    long minutes = 0;
    if (args.size() > 2) {
        std::size_t used = 0;
        try {
            minutes = std::stol(args[2], &used);
        } catch (const std::exception &) {
            used = 0;
        }
        if (used != args[2].size() || minutes < 0)
            throw std::runtime_error("the age is a whole number of minutes: '" + args[2] + "'");
    }
    const std::filesystem::path folder =
        std::filesystem::path(desktop->rootFolder()) / user.folder / "backup";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / name;
    std::ofstream(file, std::ios::binary) << "VEXA logger program (copy for " << user.name << ")\n";
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::minutes(minutes));
    std::cout << file.string() << '\n';
}

const std::map<std::string, Command> &commands()
{
    static const std::map<std::string, Command> table = {
        {"add-user",
         {"add-user NAME", "Registers a handheld user and prints its id and folder.", 1,
          [](vexasync::Component &c, const Args &a) {
              const vexasync::UserInfo user = c.createDesktop()->addUser(a[0]);
              std::cout << user.id << '\t' << user.folder << '\n';
          }}},
        {"users",
         {"users", "Lists the users: id, name, folder, and which one is docked.", 0,
          [](vexasync::Component &c, const Args &) {
              auto desktop = c.createDesktop();
              const std::uint32_t docked = desktop->dockedUser();
              for (const auto &user : desktop->users())
                  printUser(user, user.id == docked);
          }}},
        {"dock",
         {"dock USER", "Docks USER's handheld (by id or name): a synchronisation is in progress.",
          1,
          [](vexasync::Component &c, const Args &a) {
              auto desktop = c.createDesktop();
              const vexasync::UserInfo user = desktop->findUser(a[0]);
              desktop->dock(user.id);
              std::cout << "Docked " << user.name << "'s handheld: " << desktop->imagePath(user.id)
                        << '\n';
          }}},
        {"undock",
         {"undock", "Ends the synchronisation: no handheld is docked.", 0,
          [](vexasync::Component &c, const Args &) { c.createDesktop()->undock(); }}},
        {"status",
         {"status", "Says which handheld is docked and lists its databases.", 0,
          [](vexasync::Component &c, const Args &) {
              auto desktop = c.createDesktop();
              std::cout << "Sync root: " << desktop->rootFolder() << '\n';
              if (!c.createSyncStatus()->inProgress()) {
                  std::cout << "No handheld is docked.\n";
                  return;
              }
              const vexasync::UserInfo user =
                  desktop->findUser(std::to_string(desktop->dockedUser()));
              std::cout << "Docked: " << user.name << " (" << desktop->imagePath(user.id) << ")\n";
              for (const std::string &name : desktop->databaseNames())
                  std::cout << "  " << name << ": " << openDatabase(c, name)->recordCount()
                            << " records\n";
          }}},
        {"add-backup",
         {"add-backup USER NAME [AGE_MINUTES]",
          "Puts a copy of the logger program named NAME (such as VEXA.prc) into USER's backup\n"
          "      folder, last modified AGE_MINUTES ago (default 0), and prints its path.",
          3, addBackupFile}},
        {"import",
         {"import DATABASE",
          "Appends records read from standard input, one record a line as hexadecimal bytes\n"
          "(spaces between bytes allowed; '-' for an empty record). Creates the database.",
          1, importRecords}},
        {"dump",
         {"dump DATABASE",
          "Prints every record of DATABASE: index, id, attributes, category, hex bytes.", 1,
          dumpRecords}},
        {"drop",
         {"drop DATABASE", "Removes DATABASE and its records from the docked handheld.", 1,
          [](vexasync::Component &c, const Args &a) {
              requireDocked(c);
              c.createDesktop()->dropDatabase(a[0]);
          }}},
    };
    return table;
}

void printUsage(std::ostream &out)
{
    out << "Usage: vexa-handheld COMMAND [ARGUMENTS]\n\n"
           "Manages the desktop's handheld users and the docked handheld. The sync data root\n"
           "is $"
        << vexasync::RootVariable << " or a VEXASync folder in your data folder.\n\nCommands:\n";
    for (const auto &[name, command] : commands())
        out << "  " << command.synopsis << "\n      " << command.help << '\n';
    out << "\n'vexa-handheld COMMAND --help' describes one command. 'demo', 'archive' and\n"
           "'restore' moved to vexa-logbook.\n";
}

} // namespace

int main(int argc, char **argv)
{
    const Args all(argv + 1, argv + argc);
    if (all.empty() || all[0] == "--help" || all[0] == "-h") {
        printUsage(all.empty() ? std::cerr : std::cout);
        return all.empty() ? 2 : 0;
    }
    if (all[0] == "--version") {
        // The component builds alone, so it words its licence itself.
        std::cout << "vexa-handheld " VEXASYNC_VERSION "\n"
                     "Copyright (C) 2026 VEXASynch developers\n"
                     "License GPL-3.0-or-later: GNU GPL version 3 or later "
                     "<https://www.gnu.org/licenses/gpl-3.0.html>\n"
                     "This is free software: you are free to change and redistribute it.\n"
                     "There is NO WARRANTY, to the extent permitted by law.\n";
        return 0;
    }
    // The component can't know the logger's logs, so these are no aliases.
    for (const char *moved : {"demo", "archive", "restore"})
        if (all[0] == moved) {
            std::cerr << "vexa-handheld: '" << moved << "' moved: use 'vexa-logbook " << moved
                      << "'\n";
            return 2;
        }
    const auto found = commands().find(all[0]);
    if (found == commands().end()) {
        std::cerr << "vexa-handheld: unknown command '" << all[0] << "'\n";
        printUsage(std::cerr);
        return 2;
    }
    const Command &command = found->second;
    const Args args(all.begin() + 1, all.end());
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << "Usage: vexa-handheld " << command.synopsis << "\n\n" << command.help << '\n';
        return 0;
    }
    const std::size_t optional =
        std::count(command.synopsis, command.synopsis + std::strlen(command.synopsis), '[');
    if (args.size() > command.argumentCount || args.size() + optional < command.argumentCount) {
        std::cerr << "vexa-handheld: usage: vexa-handheld " << command.synopsis << '\n';
        return 2;
    }
    try {
        command.run(*vexasync_component(vexasync::ApiVersion), args);
        return 0;
    } catch (const hex::ParseError &e) {
        std::cerr << "vexa-handheld: " << e.what() << " (nothing was imported)\n";
    } catch (const vexasync::Error &e) {
        std::cerr << "vexa-handheld: " << e.what() << '\n';
    } catch (const std::exception &e) {
        std::cerr << "vexa-handheld: " << e.what() << '\n';
    }
    return 1;
}
