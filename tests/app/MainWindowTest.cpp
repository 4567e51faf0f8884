// The main window headless, against real handheld images.
#include "support/LogCase.h"
#include "support/LogRecords.h"
#include "support/TestWindow.h"

#include "logbook/Logbook.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

const std::vector<bool> AllEnabled(5, true);
const std::vector<bool> AllDisabled(5, false);

void addTwoRirodLogs(const TestHandheld &handheld)
{
    addRirodLog(handheld, {{2004, 3, 14, 14, 5, 9}, "Run 1\r\nsecond line", {15, 2}, 3});
    addRirodLog(handheld, {{2004, 3, 15, 9, 0, 0}, "Run 2", {15}, 2});
}

TEST(MainWindow, StartsOnTheRirodTabAndEveryTabListsItsLogs)
{
    DockedWindow w;
    addTwoRirodLogs(w.handheld);
    w.handheld.add("LTrimLog",
                   {textLogRecord({2004, 4, 2, 8, 40, 51}, "LTrim cells\r\nCell 0: +2.3%")});
    w.handheld.add("AccelTestLog", {});
    EXPECT_EQ(w.window.windowTitle(), "VEXA Synchronization");
    w.window.start();
    EXPECT_EQ(w.window.windowTitle(), "VEXA Synchronization v1.5");
    EXPECT_TRUE(w.window.isVisible());
    EXPECT_EQ(w.lines(),
              (QStringList{"3/14/2004 2:05:09 PM - Run 1", "3/15/2004 9:00:00 AM - Run 2"}));
    EXPECT_EQ(w.status(), "Found 2 saved logs.");
    EXPECT_EQ(w.logButtons(), AllEnabled);
    EXPECT_FALSE(w.control<QPushButton>("cmdCancel")->isVisible());
    EXPECT_TRUE(w.control<QTimer>("Timer1")->isActive());
    w.clickLine(0);
    const QString description = "3/14/2004 2:05:09 PM\nRun 1\nsecond line\n3 scans\n"
                                "RPM, ECT, ----, ----, ----, ----, ----, ----, ----, ----";
    EXPECT_EQ(w.description(), description);
    w.click("cmdSelectAll");
    EXPECT_EQ(w.list()->selectedItems().size(), 2);
    EXPECT_EQ(w.description(), description) << "Select All describes nothing new";
    w.click("cmdClearAll");
    EXPECT_TRUE(w.list()->selectedItems().isEmpty());
    EXPECT_TRUE(w.description().isEmpty());

    w.setTab(1);
    EXPECT_EQ(w.lines(), QStringList{"4/2/2004 8:40:51 AM - LTrim cells"});
    EXPECT_EQ(w.status(), "Found 1 saved log.");
    EXPECT_EQ(w.logButtons(), AllEnabled);
    w.clickLine(0);
    EXPECT_EQ(w.description(), "4/2/2004 8:40:51 AM\nLTrim cells\nCell 0: +2.3%");

    w.setTab(2);
    EXPECT_TRUE(w.lines().isEmpty());
    EXPECT_EQ(w.status(), "Found 0 saved logs.");
    EXPECT_EQ(w.logButtons(), AllDisabled);
    EXPECT_TRUE(w.ui.prompts.empty());
}

TEST(MainWindow, ControlsStandWhereTheLayoutPutsThem)
{
    DockedWindow w;
    if (w.window.logicalDpiX() != 96)
        GTEST_SKIP() << "positions are checked at 96 dpi";
    const struct {
        const char *name;
        QRect pixels;
    } places[] = {
        {"lblStatus", {8, 16, 417, 17}},     {"tabMain", {8, 48, 545, 425}},
        {"Frame1", {24, 80, 409, 377}},      {"lstSavedData", {32, 104, 389, 225}},
        {"txtDesc", {32, 336, 393, 105}},    {"cmdCancel", {440, 8, 73, 33}},
        {"cmdSelectAll", {440, 88, 73, 33}}, {"cmdClearAll", {440, 120, 73, 33}},
        {"cmdDelete", {440, 168, 73, 33}},   {"cmdDeleteAll", {440, 200, 73, 33}},
        {"cmdSave", {440, 248, 73, 33}},     {"cmdDone", {440, 336, 73, 33}},
    };
    for (const auto &p : places)
        EXPECT_EQ(w.control(p.name)->geometry(), p.pixels) << p.name;
    EXPECT_EQ(w.window.size(), QSize(560, 478));
    const QStringList tabs = {"Rirod Logs", "LTrims", "Accel Tests", "Trouble Codes"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w.control<QTabWidget>("tabMain")->tabText(i), tabs[i]);
}

TEST(MainWindow, WithoutASyncOnlyTheBoxShowsAndTheListStays)
{
    DockedWindow w;
    addTwoRirodLogs(w.handheld);
    w.handheld.undock();
    w.window.start();
    ASSERT_EQ(w.ui.prompts.size(), 1u);
    EXPECT_EQ(w.ui.prompts[0].text, "Hot-Synch not in progress");
    EXPECT_EQ(w.ui.prompts[0].title, "Error");
    EXPECT_EQ(w.ui.prompts[0].icon, UserInterface::Icon::Information);
    EXPECT_EQ(w.status(), "Searching...");
    EXPECT_EQ(w.logButtons(), AllDisabled);

    // Docked again: the logs show; taken away: a tab change keeps them.
    w.handheld.component().createDesktop()->dock(w.handheld.user().id);
    w.setTab(1);
    w.setTab(0);
    EXPECT_EQ(w.lines().size(), 2);
    w.handheld.undock();
    w.setTab(2);
    EXPECT_EQ(w.lines().size(), 2) << "the previous tab's lines stay";
    EXPECT_EQ(w.ui.prompts.back().text, "Hot-Synch not in progress");
}

TEST(MainWindow, AMissingDatabaseEmptiesTheListSilently)
{
    DockedWindow w;
    addTwoRirodLogs(w.handheld);
    w.handheld.add("LTrimLog", {textLogRecord({2004, 1, 2, 3, 4, 5}, "trims")});
    w.window.start();
    // One tab's log database gone, then the other half of the Rirod pair.
    for (const auto &[database, tab] : {std::pair{"LTrimLog", 1}, std::pair{"RirodData", 0}}) {
        w.handheld.drop(database);
        w.setTab(tab);
        EXPECT_TRUE(w.ui.prompts.empty()) << database;
        EXPECT_TRUE(w.lines().isEmpty()) << database;
        EXPECT_EQ(w.logButtons(), AllDisabled) << database;
        EXPECT_EQ(w.status(), "Found 2 saved logs.") << "the status keeps its text";
    }
}

TEST(MainWindow, AMissingSyncComponentIsReported)
{
    TestHandheld handheld;
    QTemporaryDir empty;
    const SyncComponent sync(empty.path());
    EXPECT_FALSE(sync.isLoaded());
    TestWindow w(sync);
    w.window.start();
    ASSERT_EQ(w.ui.prompts.size(), 1u);
    EXPECT_EQ(w.ui.prompts[0].text, "Can't load the VEXASynch.dll file.  Try rebooting or "
                                    "reinstalling the synchronizer from CD.");
    EXPECT_EQ(w.ui.prompts[0].title, "VEXA Synch");
    EXPECT_EQ(w.ui.prompts[0].icon, UserInterface::Icon::None);
    EXPECT_EQ(w.logButtons(), AllDisabled);
}

TEST(MainWindow, ASearchErrorKeepsTheLinesBeforeIt)
{
    DockedWindow w;
    w.handheld.add("RirodIndex", {rirodIndexRecord({2004, 3, 14, 14, 5, 9}, 0, 1, {}, "good"),
                                  rirodIndexRecord({2004, 3, 15, 9, 0, 0}, 0, 1, {}, "also good"),
                                  rirodIndexRecord({10000, 1, 1, 0, 0, 0}, 0, 1, {}, "bad"),
                                  rirodIndexRecord({2004, 3, 16, 9, 0, 0}, 0, 1, {}, "unread")});
    w.handheld.add("RirodData", {});
    w.window.start();
    EXPECT_EQ(w.ui.texts(), QStringList{"There was an error performing the search.\r\n"
                                        "The date can't be held: year 10000 is outside 100 to "
                                        "9999\r\nNumber = 5"});
    EXPECT_EQ(w.ui.prompts.at(0).title, "VEXA Synch");
    EXPECT_EQ(w.lines().size(), 2);
    EXPECT_EQ(w.status(), "Searching.....");
    EXPECT_EQ(w.logButtons(), AllDisabled);
    EXPECT_EQ(w.window.logCount(), 4);
}

TEST(MainWindow, CountsDownAndClosesOnTheFortyFirstTick)
{
    DockedWindow w;
    addTwoRirodLogs(w.handheld);
    w.window.start();
    bool unloaded = false;
    QObject::connect(&w.window, &MainWindow::unloaded, [&] { unloaded = true; });
    for (int tick = 1; tick <= 10; ++tick)
        w.window.onTimerTick();
    EXPECT_EQ(w.status(), "Found 2 saved logs.");
    w.window.onTimerTick();
    EXPECT_EQ(w.status(), "Closing in 30 seconds");

    // Select All resets the count but keeps the text.
    w.click("cmdSelectAll");
    EXPECT_EQ(w.window.idleSeconds(), 0);
    EXPECT_EQ(w.status(), "Closing in 30 seconds");
    for (int tick = 1; tick <= 40; ++tick)
        w.window.onTimerTick();
    EXPECT_EQ(w.status(), "Closing in 1 seconds");
    EXPECT_FALSE(unloaded);
    w.window.onTimerTick();
    EXPECT_EQ(w.status(), "Closing in 0 seconds");
    EXPECT_TRUE(unloaded);
    EXPECT_TRUE(w.window.indexAdapter().expired());
    EXPECT_TRUE(w.window.dataAdapter().expired());
}

TEST(MainWindow, EveryClosePathReleasesTheAdapters)
{
    for (const bool done : {true, false}) {
        DockedWindow w;
        addTwoRirodLogs(w.handheld);
        w.window.start();
        ASSERT_FALSE(w.window.indexAdapter().expired());
        if (done)
            w.click("cmdDone");
        else
            w.window.close(); // the frame's close box
        EXPECT_TRUE(w.window.isUnloaded()) << done;
        EXPECT_TRUE(w.window.indexAdapter().expired()) << done;
        EXPECT_TRUE(w.window.dataAdapter().expired()) << done;
    }
}

TEST(MainWindow, TheCountdownNeverUnloadsTheWindowUnderAnOpenBox)
{
    DockedWindow w;
    w.handheld.undock();
    bool unloadedWhileOpen = false;
    w.ui.whileOpen = [&](const Prompt &) {
        for (int tick = 0; tick < 60; ++tick) // the user leaves the box open a minute
            w.window.onTimerTick();
        unloadedWhileOpen = w.window.isUnloaded();
    };
    w.window.start();
    EXPECT_FALSE(unloadedWhileOpen);
    EXPECT_FALSE(w.window.isVisible()) << "a closing window is not shown";
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.window.isUnloaded()) << "it closes once the box is answered";
    EXPECT_TRUE(w.window.indexAdapter().expired());
}

// The start-up check for older program copies runs before the first search.
TEST(MainWindow, DuplicateCheckRunsAtStartUpBeforeTheLogsAreListed)
{
    DockedWindow w;
    addRirodLog(w.handheld, {{2004, 3, 7, 12, 0, 0}, "A", {15}, 3});
    w.handheld.putProgramCopies(w.handheld.user(), {{"VEXA.prc", 60}, {"vexa2.PRC", 1}});
    QString statusWhenAsked;
    w.ui.whileOpen = [&](const Prompt &) { statusWhenAsked = w.status(); };
    w.ui.answers = {true};
    w.window.start();
    EXPECT_EQ(w.ui.texts().size(), 1);
    EXPECT_EQ(statusWhenAsked, "Searching...");
    EXPECT_EQ(QDir(w.handheld.backupFolder(w.handheld.user())).entryList(QDir::Files),
              QStringList{"vexa2.PRC"});
    EXPECT_EQ(w.status(), "Found 1 saved log.");
}

TEST(MainWindow, WhatItListsGoesIntoTheLogbookSilently)
{
    const QString path = Logbook::defaultPath();
    const struct {
        const char *what;
        std::function<void()> prepare;
        int logsKept; // -1: the file is left as it was
    } cases[] = {
        {"a new logbook", [] {}, 3},
        {"a folder in its place", [&] { QDir().mkpath(path); }, -1},
        {"another file in its place",
         [&] {
             QDir().mkpath(QFileInfo(path).path());
             QFile file(path);
             file.open(QIODevice::WriteOnly);
             file.write("not a logbook");
         },
         -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(QFileInfo(path).path()).removeRecursively();
        c.prepare();
        DockedWindow w;
        addTwoRirodLogs(w.handheld);
        w.handheld.add("TCodeLog", {textLogRecord({2004, 4, 2, 8, 15, 27}, "P0171")});
        w.window.start();
        EXPECT_EQ(w.status(), "Found 2 saved logs.");
        EXPECT_EQ(w.logButtons(), AllEnabled);
        w.setTab(3);
        EXPECT_EQ(w.lines(), QStringList{"4/2/2004 8:15:27 AM - P0171"});
        EXPECT_TRUE(w.ui.prompts.empty());
        if (c.logsKept >= 0)
            EXPECT_EQ(Logbook(path).logs().size(), std::size_t(c.logsKept));
        else
            EXPECT_TRUE(QFileInfo(path).isDir() || readFile(path) == "not a logbook");
    }
    QDir(QFileInfo(path).path()).removeRecursively();
}

} // namespace
} // namespace vexa::test
