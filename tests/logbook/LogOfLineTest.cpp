// The logbook's log of a line the main window lists: found when held,
// pulled first when not, refused when the line holds something else now.
#include "support/LogbookFixture.h"

#include "core/RuntimeError.h"
#include "logbook/LogOfLine.h"

namespace vexa::test {
namespace {

TEST(LogOfLine, HeldFoundNotHeldPulledOthersRefused)
{
    const struct {
        const char *what;
        bool pulledBefore;
        LogKind kind;
        int line;
        std::function<void(LogbookFixture &)> change; // before (true) or after the listing
        bool changedBeforeListing;
        std::int64_t id;  // 0: refused
        QString refusal;  // its start
        QStringList held; // the logbook afterwards
    } cases[] = {
        {"held",
         true,
         LogKind::Rirod,
         1,
         nullptr,
         false,
         2,
         {},
         {"A", "B", "A", "trim", "accel", "P0171"}},
        {"a twin is its own log",
         true,
         LogKind::Rirod,
         2,
         nullptr,
         false,
         3,
         {},
         {"A", "B", "A", "trim", "accel", "P0171"}},
        {"a text log",
         true,
         LogKind::LTrim,
         0,
         nullptr,
         false,
         4,
         {},
         {"A", "B", "A", "trim", "accel", "P0171"}},
        {"not held: pulled alone", false, LogKind::Rirod, 1, nullptr, false, 1, {}, {"B"}},
        {"not held, twin of a held log", false, LogKind::Rirod, 2, nullptr, false, 1, {}, {"A"}},
        {"the line's record deleted since",
         true,
         LogKind::Rirod,
         1,
         [](LogbookFixture &l) {
             const auto index = l.f.handheld.open("RirodIndex");
             index->remove(index->readByIndex(1).id);
         },
         false,
         0,
         "The log on line 2 is no longer on the handheld there",
         {"A", "B", "A", "trim", "accel", "P0171"}},
        {"past the end",
         false,
         LogKind::TroubleCode,
         1,
         nullptr,
         false,
         0,
         "The log on line 2 is no longer",
         {}},
        {"unreadable",
         false,
         LogKind::Rirod,
         3,
         [](LogbookFixture &l) {
             l.f.handheld.add("RirodIndex", {Bytes{1, 2, 3}});
         },
         true,
         0,
         "The index record of log 4 is 3 bytes long",
         {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LogbookFixture l;
        if (c.pulledBefore)
            l.pull();
        if (c.change && c.changedBeforeListing)
            c.change(l);
        const auto index = l.f.handheld.open(logKindInfo(c.kind).indexDatabase);
        const vexasync::RecordId record =
            c.line < index->recordCount() ? index->readByIndex(c.line).id : 99;
        if (c.change && !c.changedBeforeListing)
            c.change(l);
        Logbook logbook(l.path());
        std::int64_t id = 0;
        QString refusal;
        try {
            id = logbookLogAt(logbook, l.f.sync, *l.f.bytes, l.f.handheld.user().id, c.kind, *index,
                              nullptr, c.line, record);
        } catch (...) {
            refusal = currentError().description();
        }
        EXPECT_EQ(id, c.id);
        EXPECT_TRUE(refusal.startsWith(c.refusal)) << refusal.toStdString();
        EXPECT_EQ(c.refusal.isEmpty(), refusal.isEmpty());
        QStringList held;
        for (const LogbookEntry &e : logbook.logs())
            held << e.text;
        EXPECT_EQ(held, c.held);
        if (id > 0) {
            EXPECT_EQ(logbook.log(id).text, held.at(static_cast<int>(id - 1)));
        }
    }
}

} // namespace
} // namespace vexa::test
