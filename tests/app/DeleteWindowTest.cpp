// Delete... and Delete All... in the window.
#include "deletion/DeletedLogArchive.h"
#include "logbook/Logbook.h"
#include "store/SyncComponent.h"
#include "support/LogRecords.h"
#include "support/TestWindow.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

struct Deleting {
    TestHandheld handheld;
    SyncComponent sync;
    TestWindow w{sync};

    explicit Deleting(bool lowThird = false)
    {
        addRirodLog(handheld, {{2004, 3, 7, 12, 0, 0}, "A", {15}, 10});
        addRirodLog(handheld, {{2004, 3, 8, 12, 0, 0}, "B", {15}, 200});
        if (lowThird) { // an index record the repair can't rewrite
            handheld.add("RirodData", std::vector<Bytes>(5, scanRecord(10, {})));
            handheld.add("RirodIndex",
                         {rirodIndexRecord({2004, 3, 9, 12, 0, 0}, 5, -32768, {15}, "C")});
        } else {
            addRirodLog(handheld, {{2004, 3, 9, 12, 0, 0}, "C", {15}, 5});
        }
        handheld.add("AccelTestLog", {textLogRecord({2004, 1, 1, 0, 0, 0}, "0-60")});
        w.window.setYieldSlice(0);
        w.window.start();
    }
    QStringList texts()
    {
        QStringList t;
        for (const QString &line : w.lines())
            t << line.section(" - ", 1);
        return t;
    }
};

TEST(DeleteWindow, DeletesTheSelectedLogsThenAllOfTheTab)
{
    Deleting d;
    d.w.select({0, 2});
    d.w.ui.answers = {true, false, true};
    d.w.click("cmdDelete");
    EXPECT_EQ(d.texts(), QStringList{"B"});
    EXPECT_EQ(d.w.status(), "Found 1 saved log.");
    EXPECT_FALSE(d.w.control<QPushButton>("cmdCancel")->isVisible());
    EXPECT_EQ(d.handheld.records("RirodData").size(), 200u);
    EXPECT_EQ(d.w.window.savedLogs()[0].firstScan, 1);
    EXPECT_TRUE(d.w.control<QTimer>("Timer1")->isActive());

    d.w.click("cmdDeleteAll"); // No
    EXPECT_EQ(d.texts().size(), 1);
    d.w.click("cmdDeleteAll");
    EXPECT_EQ(d.w.ui.texts(),
              (QStringList{"Are you sure?", "Delete all logs?", "Delete all logs?"}));
    EXPECT_TRUE(d.w.lines().isEmpty());
    EXPECT_EQ(d.w.status(), "All logs deleted.");
    EXPECT_EQ(d.w.logButtons(), std::vector<bool>(5, false));
    EXPECT_TRUE(d.handheld.records("RirodData").empty());
    EXPECT_EQ(d.handheld.records("AccelTestLog").size(), 1u);
}

TEST(DeleteWindow, CancelDuringADeleteKeepsThatLog)
{
    Deleting d;
    d.w.onStatus("Deleting record 50 of 200", [&] {
        d.w.window.close(); // deferred, like any input but Cancel
        d.w.click("cmdCancel");
    });
    d.w.select({1});
    d.w.ui.answers = {true, true};
    d.w.click("cmdDelete");
    EXPECT_EQ(
        d.w.ui.texts(),
        (QStringList{"Are you sure?", "Canceling right now could corrupt data - Are you sure?"}));
    EXPECT_EQ(d.texts(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(d.handheld.records("RirodData").size(), 215u);
    EXPECT_FALSE(d.w.window.isUnloaded());
    QCoreApplication::processEvents();
    EXPECT_TRUE(d.w.window.isUnloaded()) << "the close waited for the command";
}

TEST(DeleteWindow, AFailureRollsBackAndRebuildsTheList)
{
    Deleting d(true); // C starts so low that losing A's scans overflows it
    const auto before = d.handheld.records("RirodData");
    d.w.select({0});
    d.w.ui.answers = {true};
    d.w.click("cmdDelete");
    EXPECT_EQ(d.w.ui.texts().last(),
              "There was an error deleting the log.\r\n"
              "Overflow: log 3 would start at scan record -32778\r\nNumber = 6");
    EXPECT_EQ(d.texts(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(d.handheld.records("RirodData"), before);
    EXPECT_FALSE(d.w.control<QPushButton>("cmdCancel")->isVisible());
}

TEST(DeleteWindow, DeletesOnlyFromTheHandheldListed)
{
    const QString box = QStringLiteral("There was an error deleting the log.\r\n%1\r\n"
                                       "Number = 80040202");
    const QString otherDocked =
        box.arg("The handheld docked now is Other User's, not Test User's whose logs are "
                "listed: nothing was deleted; switch tabs to list its logs, then delete");
    enum class Docked { Other, None, ListedAgain };
    const struct {
        const char *button;
        Docked docked;
        QString text; // empty: B is deleted and kept for Test User
    } cases[] = {
        {"cmdDelete", Docked::Other, otherDocked},
        {"cmdDeleteAll", Docked::Other, otherDocked},
        {"cmdDeleteAll", Docked::None,
         box.arg("No handheld is docked now, and the list shows Test User's logs: nothing was "
                 "deleted; dock that handheld again, then delete")},
        {"cmdDelete", Docked::ListedAgain, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button + QString::number(int(c.docked)).toStdString());
        QFile::remove(Logbook::defaultPath());
        Deleting d;
        const auto desktop = d.handheld.component().createDesktop();
        const vexasync::UserInfo listed = d.handheld.user();
        const vexasync::UserInfo other = desktop->addUser("Other User");
        desktop->dock(other.id);
        addRirodLog(d.handheld, {{2004, 5, 1, 0, 0, 0}, "Other's", {15}, 4});
        if (c.docked == Docked::None)
            desktop->undock();
        if (c.docked == Docked::ListedAgain)
            desktop->dock(listed.id);
        d.w.select({1});
        d.w.ui.answers = {true};
        d.w.click(c.button);
        EXPECT_EQ(d.w.ui.texts().last(), c.text.isEmpty() ? "Are you sure?" : c.text);
        EXPECT_EQ(d.texts(),
                  c.text.isEmpty() ? QStringList({"A", "C"}) : QStringList({"A", "B", "C"}));
        for (const vexasync::UserInfo &user : {listed, other})
            EXPECT_FALSE(QFile::exists(DeletedLogArchive::pathIn(
                QDir(d.handheld.root()).filePath(QString::fromStdString(user.folder)))))
                << "deletes write only the logbook";
        QStringList deleted;
        for (const LogbookEntry &log :
             Logbook(Logbook::defaultPath()).logs({{}, {}, {}, {}, {}, LogState::Deleted}))
            deleted << log.userName + " " + log.text;
        EXPECT_EQ(deleted, c.text.isEmpty() ? QStringList{"Test User B"} : QStringList{});
        desktop->dock(other.id);
        EXPECT_EQ(d.handheld.records("RirodData").size(), 4u) << "Other User's handheld";
    }
}

TEST(DeleteWindow, TheLogbookKeepsWhatWasDeletedAsDeleted)
{
    QFile::remove(Logbook::defaultPath());
    Deleting d;
    d.w.select({0, 2});
    d.w.ui.answers = {true};
    d.w.click("cmdDelete");
    d.w.setTab(2);
    d.w.ui.answers = {true};
    d.w.click("cmdDeleteAll");
    d.w.setTab(0);
    QStringList states;
    for (const LogbookEntry &log : Logbook(Logbook::defaultPath()).logs())
        states << log.text + " " + stateWord(log.state);
    EXPECT_EQ(states, (QStringList{"A deleted", "B on-handheld", "C deleted", "0-60 deleted"}));
}

} // namespace
} // namespace vexa::test
