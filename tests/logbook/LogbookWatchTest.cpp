// What a window that stays open is told: another program's write to the
// logbook and a handheld docking or undocking, each once, and nothing when
// nothing changed.
#include "support/LogbookFixture.h"

#include "logbook/LogbookWatch.h"

#include <QFile>

namespace vexa::test {
namespace {

TEST(LogbookWatch, SeesOtherProgramsAndTheHandheldOnce)
{
    const struct {
        const char *what;
        bool pulledFirst;
        std::function<void(LogbookFixture &)> change;
        bool logs, docking, readable;
    } cases[] = {
        {"nothing", true, [](LogbookFixture &) {}, false, false, true},
        {"a note written by another program", true,
         [](LogbookFixture &l) { Logbook(l.path()).setNote(1, "dyno"); }, true, false, true},
        {"a pull that finds the handheld unchanged", true, [](LogbookFixture &l) { l.pull(); },
         false, false, true},
        {"a log gone from the handheld, pulled", true,
         [](LogbookFixture &l) {
             l.f.handheld.drop("TCodeLog");
             l.pull();
         },
         true, false, true},
        {"a purge", true,
         [](LogbookFixture &l) {
             l.f.handheld.drop("TCodeLog");
             l.pull();
             Logbook(l.path()).purgeBefore(QDate::currentDate().addDays(1));
         },
         true, false, true},
        {"the handheld undocked", true, [](LogbookFixture &l) { l.f.handheld.undock(); }, false,
         true, true},
        {"the logbook removed", true, [](LogbookFixture &l) { QFile::remove(l.path()); }, true,
         false, false},
        {"the first pull makes the logbook", false, [](LogbookFixture &l) { l.pull(); }, true,
         false, true},
        {"a file that is no logbook", false,
         [](LogbookFixture &l) {
             QFile file(l.path());
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("not a logbook");
         },
         true, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LogbookFixture l;
        if (c.pulledFirst)
            l.pull();
        LogbookWatch watch(l.path(), l.f.sync);
        EXPECT_EQ(watch.logbook() != nullptr, c.pulledFirst);
        EXPECT_EQ(watch.dockedUser(), l.f.handheld.user().id);
        c.change(l);
        const LogbookWatch::Changes changes = watch.poll();
        EXPECT_EQ(changes.logs, c.logs);
        EXPECT_EQ(changes.docking, c.docking);
        EXPECT_EQ(watch.logbook() != nullptr, c.readable);
        EXPECT_EQ(watch.unreadable().isEmpty(), c.readable) << watch.unreadable().toStdString();
        EXPECT_EQ(watch.dockedUser(), c.docking ? 0u : l.f.handheld.user().id);
        // Told once.
        const LogbookWatch::Changes again = watch.poll();
        EXPECT_FALSE(again.logs || again.docking);
    }
}

} // namespace
} // namespace vexa::test
