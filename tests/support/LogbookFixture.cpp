#include "LogbookFixture.h"

namespace vexa::test {

LogbookFixture::LogbookFixture()
{
    addRirodLog(f.handheld, {{2004, 3, 7, 12, 0, 0}, "A", {15, 2, 9}, 10});
    addRirodLog(f.handheld, {{2004, 3, 8, 12, 0, 0}, "B", {15}, 20});
    // The twin's scans are A's, bytes and all, after B's.
    const std::vector<Bytes> scans = f.handheld.records("RirodData");
    f.handheld.add("RirodData", std::vector<Bytes>(scans.begin(), scans.begin() + 10));
    f.handheld.add("RirodIndex",
                   {rirodIndexRecord({2004, 3, 7, 12, 0, 0}, 10, 31, {15, 2, 9}, "A")});
    f.handheld.add("LTrimLog", {textLogRecord({2005, 1, 1, 8, 0, 0}, "trim")});
    f.handheld.add("AccelTestLog", {textLogRecord({2005, 2, 1, 9, 0, 0}, "accel")});
    f.handheld.add("TCodeLog", {textLogRecord({2005, 3, 1, 10, 0, 0}, "P0171")});
}

PullOutcome LogbookFixture::pull()
{
    Logbook logbook(path());
    return pullHandheld(logbook, f.sync, *f.bytes);
}

QStringList LogbookFixture::listed()
{
    QStringList lines;
    for (const LogbookEntry &e : Logbook(path(), Logbook::Access::ReadOnly).logs())
        lines << e.text + " " + stateWord(e.state);
    return lines;
}

QStringList LogbookFixture::history(std::int64_t id)
{
    QStringList words;
    for (const HistoryEvent &e : Logbook(path(), Logbook::Access::ReadOnly).history(id))
        words << eventWord(e.event);
    return words;
}

} // namespace vexa::test
