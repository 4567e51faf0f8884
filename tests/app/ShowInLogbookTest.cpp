// "Show in Logbook" on the main window's list: the line under the mouse, in
// the logbook (pulled first when missing), the selection, the current line
// and the countdown untouched.
#include "support/LogRecords.h"
#include "support/TestWindow.h"

#include "logbook/Logbook.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

TEST(MainWindow, ShowInLogbookActsOnTheLineUnderTheMouseAlone)
{
    const QString path = Logbook::defaultPath();
    const struct {
        const char *what;
        bool held; // the logbook holds the listed logs already
        int line;  // right-clicked; -1: below the last line; -2: the menu key
        std::function<void(DockedWindow &)> meanwhile; // after the listing
        std::vector<std::int64_t> shown;
        QStringList kept; // the logbook's logs afterwards
        QString box;
    } cases[] = {
        {"a held log", true, 1, nullptr, {2}, {"Run 1\r\nsecond line", "Run 2"}, {}},
        {"a log not held yet: pulled alone", false, 1, nullptr, {1}, {"Run 2"}, {}},
        {"the unselected line", true, 0, nullptr, {1}, {"Run 1\r\nsecond line", "Run 2"}, {}},
        {"the menu key: the current line",
         true,
         -2,
         nullptr,
         {2},
         {"Run 1\r\nsecond line", "Run 2"},
         {}},
        {"empty space", true, -1, nullptr, {}, {"Run 1\r\nsecond line", "Run 2"}, {}},
        {"the line's log deleted meanwhile",
         false,
         1,
         [](DockedWindow &w) {
             const auto index = w.handheld.open("RirodIndex");
             index->remove(index->readByIndex(1).id);
         },
         {},
         {},
         "The log could not be shown in the logbook.\r\nThe log on line 2 is no longer on the "
         "handheld there\r\nNumber = 9"},
        {"another handheld docked meanwhile",
         true,
         1,
         [](DockedWindow &w) {
             const auto desktop = w.handheld.component().createDesktop();
             desktop->dock(desktop->addUser("Other User").id);
         },
         {},
         {"Run 1\r\nsecond line", "Run 2"},
         "The log could not be shown in the logbook.\r\nThe handheld the list came from is not "
         "docked\r\nNumber = 80040202"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(QFileInfo(path).path()).removeRecursively();
        DockedWindow w;
        addRirodLog(w.handheld, {{2004, 3, 14, 14, 5, 9}, "Run 1\r\nsecond line", {15, 2}, 3});
        addRirodLog(w.handheld, {{2004, 3, 15, 9, 0, 0}, "Run 2", {15}, 2});
        std::vector<std::int64_t> shown;
        w.window.setLogbookOpener([&](const QString &logbook, std::int64_t id) {
            EXPECT_EQ(logbook, path);
            shown.push_back(id);
        });
        w.window.start();
        if (!c.held)
            QFile::remove(path);
        if (c.meanwhile)
            c.meanwhile(w);
        w.clickLine(1); // selected and described
        for (int tick = 0; tick < 5; ++tick)
            w.window.onTimerTick();
        const QString description = w.description();

        QWidget *viewport = w.list()->viewport();
        const QPoint at = c.line >= 0 ? w.list()->visualItemRect(w.list()->item(c.line)).center()
                                      : QPoint(10, viewport->height() - 5);
        if (c.line == -2) {
            QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(),
                                  w.list()->mapToGlobal(QPoint()));
            QApplication::sendEvent(w.list(), &key);
        } else {
            QTest::mouseClick(viewport, Qt::RightButton, {}, at);
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
            QApplication::sendEvent(viewport, &menuEvent);
        }
        auto *menu = w.control<QMenu>("mnuLogLine");
        EXPECT_EQ(menu->isVisible(), !c.shown.empty() || !c.box.isEmpty());
        if (menu->isVisible()) {
            ASSERT_EQ(menu->actions().size(), 1);
            EXPECT_EQ(menu->actions()[0]->text(), "Show in Logbook");
            menu->actions()[0]->trigger();
            menu->hide();
        }

        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(w.ui.texts(), c.box.isEmpty() ? QStringList() : QStringList{c.box});
        EXPECT_EQ(w.list()->selectedItems(), QList<QListWidgetItem *>{w.list()->item(1)});
        EXPECT_EQ(w.list()->currentRow(), 1);
        EXPECT_EQ(w.description(), description);
        EXPECT_EQ(w.window.idleSeconds(), 5);
        EXPECT_TRUE(w.control<QTimer>("Timer1")->isActive());
        QStringList kept;
        if (QFile::exists(path))
            for (const LogbookEntry &e : Logbook(path).logs())
                kept << e.text;
        EXPECT_EQ(kept, c.kept);
    }
    QDir(QFileInfo(path).path()).removeRecursively();
}

} // namespace
} // namespace vexa::test
