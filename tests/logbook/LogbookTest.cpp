// The logbook: every log pulled once, recognised again without reading its
// scans, exported as from the handheld, and its file read as untrusted.
#include "support/ChildProcess.h"
#include "support/LogbookFixture.h"
#include "support/RawSql.h"

#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "format/ScanRecord.h"
#include "logbook/LogbookFile.h"
#include "logbook/LogbookSource.h"
#include "store/ChangeGroup.h"

#include <QFile>
#include <QThread>

namespace vexa::test {
namespace {

const QStringList AllOnHandheld = {"A on-handheld",    "B on-handheld",     "A on-handheld",
                                   "trim on-handheld", "accel on-handheld", "P0171 on-handheld"};

TEST(LogbookPull, EveryKindOnceTwinsCountedNothingTwice)
{
    LogbookFixture l;
    const PullOutcome first = l.pull();
    EXPECT_EQ(first.added, 6);
    EXPECT_EQ(first.unreadable, QStringList());
    EXPECT_EQ(l.listed(), AllOnHandheld);
    const std::vector<LogbookEntry> logs = Logbook(l.path()).logs();
    EXPECT_EQ(logs[0].copy, 1);
    EXPECT_EQ(logs[2].copy, 2);
    EXPECT_EQ(logs[0].start, "2004-03-07T12:00:00");
    EXPECT_EQ(logs[0].channels, "15 2 9");
    EXPECT_EQ(logs[1].durationMs, 20 * 100);
    EXPECT_EQ(logs[0].userName, QString::fromStdString(l.f.handheld.user().name));

    // Known by their index records: a re-pull reads no scan record.
    l.f.handheld.drop("RirodData");
    const QDateTime beforeAgain = QDateTime::currentDateTimeUtc();
    const PullOutcome again = l.pull();
    EXPECT_GE(Logbook(l.path()).log(6).lastSeen, beforeAgain);
    EXPECT_EQ(again.added + again.gone, 0);
    EXPECT_EQ(again.held, 6);
    EXPECT_EQ(again.unreadable, QStringList());
    EXPECT_EQ(l.listed(), AllOnHandheld);
}

TEST(LogbookPull, ChangesOnTheHandheldByOtherMeans)
{
    const struct {
        const char *what;
        std::function<void(LogbookFixture &)> change;
        QStringList listed;
        QStringList historyOfA; // the first log's events
    } cases[] = {
        {"A deleted as a delete does: the others' first scans move",
         [](LogbookFixture &l) {
             const auto index = l.f.handheld.open("RirodIndex");
             const auto data = l.f.handheld.open("RirodData");
             index->remove(index->readByIndex(0).id);
             for (int k = 0; k < 10; ++k)
                 data->remove(data->readByIndex(0).id);
             for (const int line : {0, 1}) {
                 vexasync::Record r = index->readByIndex(line);
                 IndexRecord::setFirstScanIn(*l.f.bytes, r.bytes, line == 0 ? 1 : 21);
                 index->write(r.id, r.attributes, r.category, r.bytes);
             }
         },
         {"A gone", "B on-handheld", "A on-handheld", "trim on-handheld", "accel on-handheld",
          "P0171 on-handheld"},
         {"pulled", "gone from the handheld"}},
        {"the trouble codes emptied",
         [](LogbookFixture &l) { l.f.handheld.drop("TCodeLog"); },
         {"A on-handheld", "B on-handheld", "A on-handheld", "trim on-handheld",
          "accel on-handheld", "P0171 gone"},
         {"pulled"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        LogbookFixture l;
        l.pull();
        c.change(l);
        const PullOutcome again = l.pull();
        EXPECT_EQ(again.added, 0);
        EXPECT_EQ(again.unreadable, QStringList());
        EXPECT_EQ(l.listed(), c.listed);
        EXPECT_EQ(l.history(1), c.historyOfA);
    }
}

TEST(LogbookPull, ALogPutBackByOtherMeansIsSeenAgainNotCopied)
{
    LogbookFixture l;
    l.pull();
    const std::vector<Bytes> trims = l.f.handheld.records("LTrimLog");
    l.f.handheld.drop("LTrimLog");
    EXPECT_EQ(l.pull().gone, 1);
    l.f.handheld.add("LTrimLog", trims);
    const PullOutcome back = l.pull();
    EXPECT_EQ(back.added, 0);
    EXPECT_EQ(l.listed(), AllOnHandheld);
    EXPECT_EQ(l.history(4), (QStringList{"pulled", "gone from the handheld", "seen again"}));
}

// A record rewritten in place: the log a record holds again is the one the
// logbook marked gone from it, not the one seen there in between.
TEST(LogbookPull, ARecordThatHoldsAGoneLogAgainPutsItOnTheHandheld)
{
    LogbookFixture l;
    l.f.handheld.add("TCodeLog", {textLogRecord({2005, 4, 1, 10, 0, 0}, "P0300")});
    l.pull();
    const auto codes = l.f.handheld.open("TCodeLog");
    const vexasync::Record p0171 = codes->readByIndex(0), p0300 = codes->readByIndex(1);
    codes->remove(p0171.id);
    codes->write(p0300.id, p0300.attributes, p0300.category, p0171.bytes);
    l.pull(); // P0171 moved to P0300's record, P0300 gone
    codes->write(p0300.id, p0300.attributes, p0300.category, p0300.bytes);
    l.pull();
    EXPECT_EQ(l.listed().mid(5), (QStringList{"P0171 gone", "P0300 on-handheld"}));
    EXPECT_EQ(l.history(7), (QStringList{"pulled", "gone from the handheld", "seen again"}));
}

TEST(LogbookPull, AnUnreadableLogIsReportedAndTheOthersPulled)
{
    LogbookFixture l;
    l.f.handheld.add("RirodIndex",
                     {rirodIndexRecord({2004, 3, 9, 0, 0, 0}, 50, 41, {1}, "C"), Bytes{1, 2, 3}});
    const PullOutcome outcome = l.pull();
    EXPECT_EQ(outcome.added, 6);
    ASSERT_EQ(outcome.unreadable.size(), 2);
    EXPECT_EQ(outcome.unreadable[0], "Rirod Logs log 4 can't be read: Subscript out of range: "
                                     "its scans 41 to 90 are not all in RirodData (error 9)");
    EXPECT_TRUE(outcome.unreadable[1].startsWith("Rirod Logs log 5 can't be read: "));
}

TEST(LogbookSource, LogsSaveFromTheLogbookAsFromTheHandheld)
{
    LogbookFixture l;
    l.pull();
    std::vector<QByteArray> fromHandheld;
    for (const int line : {0, 1, 2})
        for (const Writer w : {Writer::Csv, Writer::Txt, Writer::Efi}) {
            l.f.write(w, l.f.entry(line));
            fromHandheld.push_back(l.f.written());
        }
    l.f.handheld.drop("RirodData");
    l.f.handheld.drop("RirodIndex");
    l.pull();
    const Logbook logbook(l.path(), Logbook::Access::ReadOnly);
    LogbookSource source(logbook, *l.f.bytes, {LogKind::Rirod, {}, {}, {}, {}, LogState::Gone});
    const std::vector<SourceLog> logs = source.logs(LogKind::Rirod);
    ASSERT_EQ(logs.size(), 3u);
    std::size_t n = 0;
    for (std::size_t i = 0; i < logs.size(); ++i)
        for (const Writer w : {Writer::Csv, Writer::Txt, Writer::Efi}) {
            l.f.write(w, *logs[i].entry, nullptr, &source.scanRecords(i));
            EXPECT_TRUE(sameBytes(fromHandheld[n++], l.f.written())) << writerName(w) << ' ' << i;
        }
}

TEST(LogbookFile, AFileThatIsNoLogbookIsLeftAsItIs)
{
    const struct {
        const char *what;
        QByteArray contents; // a file with these bytes
        const char *sql;     // or a logbook changed by this
        const char *reason;
    } cases[] = {
        {"empty", "", nullptr, "it is empty"},
        {"text", "hello", nullptr, "it is not an SQLite database"},
        {"other program",
         {},
         "PRAGMA application_id = 7; CREATE TABLE t(x)",
         "it is another program's database"},
        {"no id",
         {},
         "PRAGMA application_id = 0; CREATE TABLE t(x)",
         "it is another program's database"},
        {"newer",
         {},
         "PRAGMA user_version = 99",
         "its version 99 is none this program knows; a newer VEXASynch may read it"},
    };
    for (const auto &c : cases)
        for (const auto access : {Logbook::Access::ReadOnly, Logbook::Access::Write}) {
            SCOPED_TRACE(c.what);
            QTemporaryDir folder;
            const QString path = folder.filePath("logbook.sqlite");
            if (c.sql) {
                Logbook{path};
                runSql(path, c.sql);
            } else {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(c.contents);
            }
            const QByteArray before = readFile(path);
            const bool emptyIsNew = access == Logbook::Access::Write && c.contents == "" && !c.sql;
            try {
                Logbook logbook(path, access);
                EXPECT_TRUE(emptyIsNew);
            } catch (const RuntimeError &e) {
                EXPECT_FALSE(emptyIsNew);
                EXPECT_EQ(e.description(),
                          QStringLiteral("Path/File access error: %1 is not a logbook this "
                                         "program can use (%2); it was left as it is")
                              .arg(path, c.reason));
                EXPECT_EQ(readFile(path), before);
            }
        }
}

TEST(LogbookFile, ACutShortLogbookIsNeverWritten)
{
    LogbookFixture l;
    l.pull();
    QFile file(l.path());
    ASSERT_TRUE(file.resize(file.size() - 1024));
    const QByteArray before = readFile(l.path());
    EXPECT_THROW(l.pull(), RuntimeError);
    EXPECT_THROW(Logbook(l.path(), Logbook::Access::ReadOnly), RuntimeError);
    EXPECT_EQ(readFile(l.path()), before);
}

TEST(LogbookFile, ReadingNeverMakesAFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("none.sqlite");
    try {
        Logbook(path, Logbook::Access::ReadOnly);
        ADD_FAILURE();
    } catch (const RuntimeError &e) {
        EXPECT_EQ(e.description(), QStringLiteral("File not found: there is no logbook at %1 (no "
                                                  "log was pulled into it yet)")
                                       .arg(path));
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST(LogbookFile, EveryEarlierVersionOpensAndIsBroughtUp)
{
    // A file of each version as that version left it: 0 is nothing yet,
    // the others lack what later steps add.
    const char *const undone[] = {nullptr, "DROP TABLE taken_archives; DROP TABLE stray_scans;"};
    ASSERT_EQ(std::size(undone), std::size_t(LogbookFile::currentVersion()));
    for (int version = 0; version < LogbookFile::currentVersion(); ++version) {
        SCOPED_TRACE(version);
        LogbookFixture l;
        if (version > 0)
            l.pull();
        runSql(l.path(), QString::fromLatin1(undone[version]) +
                             QStringLiteral("PRAGMA user_version = %1").arg(version));
        if (version > 0) {
            EXPECT_THROW(Logbook(l.path(), Logbook::Access::ReadOnly), RuntimeError);
        }
        EXPECT_EQ(l.pull().added, version == 0 ? 6 : 0);
        EXPECT_EQ(l.listed(), AllOnHandheld);
        runSql(l.path(), "SELECT count(*) FROM taken_archives, stray_scans");
    }
}

TEST(LogbookFile, ADamagedRowHarmsOnlyItself)
{
    const struct {
        const char *set; // on the row of B
        const char *damage;
        const char *scans; // what reading its scans says
        int pulledAgain;   // a row that can't be read holds its log no more
    } cases[] = {
        {"kind = 9", "its kind (9) is none the program knows", nullptr, 1},
        {"state = -1", "its state (-1) is none the program knows", nullptr, 1},
        {"scan_count = 1099511627776", "its scan count (1099511627776) is none a log can have",
         "are cut short", 1},
        {"index_record = zeroblob(100000)", "its index record is 100000 bytes long", nullptr, 1},
        {"scan_count = 19", "", "number 20, where the log lists 19", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.set);
        LogbookFixture l;
        l.pull();
        runSql(l.path(), QStringLiteral("UPDATE logs SET %1 WHERE id = 2").arg(c.set));
        const Logbook logbook(l.path(), Logbook::Access::ReadOnly);
        const std::vector<LogbookEntry> logs = logbook.logs();
        ASSERT_EQ(logs.size(), 6u);
        EXPECT_EQ(logs[1].damage, c.damage);
        EXPECT_EQ(logs[0].damage + logs[2].damage, "");
        EXPECT_EQ(logbook.scans(1).size(), 10u);
        if (c.scans) {
            try {
                logbook.scans(2);
                ADD_FAILURE();
            } catch (const RuntimeError &e) {
                EXPECT_EQ(e.description(), QStringLiteral("Subscript out of range: the scan "
                                                          "records of logbook log 2 %1")
                                               .arg(c.scans));
            }
        }
        EXPECT_EQ(l.pull().added, c.pulledAgain);
    }
}

TEST(Logbook, NotesFiltersAndPurge)
{
    LogbookFixture l;
    l.pull();
    Logbook logbook(l.path());
    logbook.setNote(5, "Dyno day, run 2");
    EXPECT_THROW(logbook.setNote(99, "x"), RuntimeError);
    const auto texts = [&](const LogFilter &filter) {
        QStringList t;
        for (const LogbookEntry &e : logbook.logs(filter))
            t << e.text;
        return t;
    };
    const struct {
        LogFilter filter;
        QStringList texts;
    } cases[] = {
        {{LogKind::Rirod, {}, {}, {}, {}, {}}, {"A", "B", "A"}},
        {{{}, {}, QDate(2004, 3, 8), QDate(2005, 1, 1), {}, {}}, {"B", "trim"}},
        {{{}, {}, {}, {}, "DYNO", {}}, {"accel"}},
        {{{}, {}, {}, {}, "b", {}}, {"B"}},
        {{{}, "nobody", {}, {}, {}, {}}, {}},
        {{{}, {}, {}, {}, {}, LogState::Gone}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(texts(c.filter), c.texts);

    // Only logs no handheld holds go, and only those seen before the day.
    EXPECT_EQ(logbook.purgeBefore(QDate::currentDate().addDays(1)), 0);
    l.f.handheld.drop("TCodeLog");
    l.pull();
    EXPECT_EQ(logbook.purgeBefore(QDate::currentDate()), 0);
    EXPECT_EQ(logbook.purgeable(QDate::currentDate().addDays(1)), std::vector<std::int64_t>{6});
    EXPECT_EQ(logbook.purgeBefore(QDate::currentDate().addDays(1)), 1);
    EXPECT_EQ(texts({}), (QStringList{"A", "B", "A", "trim", "accel"}));
}

const ChildRegistration pullAgain("pull-again", [](const QStringList &args) {
    ExportFixture f(TestHandheld::Mode::Attach);
    for (int run = 0; run < 20; ++run) {
        Logbook logbook(args.value(0));
        pullHandheld(logbook, f.sync, *f.bytes);
    }
    return 0;
});

// Another program moves the first Rirod log to the end, records and all,
// in one change group, over and over.
const ChildRegistration rotateLogs("rotate-logs", [](const QStringList &) {
    ExportFixture f(TestHandheld::Mode::Attach);
    const auto index = f.handheld.open("RirodIndex");
    const auto data = f.handheld.open("RirodData");
    for (int run = 0; run < 30; ++run) {
        ChangeGroup group(*index);
        const vexasync::Record first = index->readByIndex(0);
        const IndexRecord moved = IndexRecord::parse(*f.bytes, first.bytes, LogKind::Rirod, 1);
        std::vector<Bytes> scans;
        for (const vexasync::RecordId id :
             data->idsOfRange(moved.firstScan() - 1, moved.scanCount())) {
            scans.push_back(data->readById(id).bytes);
            data->remove(id);
        }
        index->remove(first.id);
        for (std::int32_t i = 0; i < index->recordCount(); ++i) {
            vexasync::Record r = index->readByIndex(i);
            IndexRecord::setFirstScanIn(
                *f.bytes, r.bytes,
                static_cast<std::int16_t>(IndexRecord::firstScanIn(*f.bytes, r.bytes) -
                                          moved.scanCount()));
            index->write(r.id, r.attributes, r.category, r.bytes);
        }
        Bytes record = first.bytes;
        IndexRecord::setFirstScanIn(*f.bytes, record,
                                    static_cast<std::int16_t>(data->recordCount() + 1));
        for (const Bytes &scan : scans)
            data->write(0, 0, 0, scan);
        index->write(0, first.attributes, first.category, record);
        QThread::msleep(10); // a pull waits on the group meanwhile
        group.commit();
        QThread::msleep(10);
    }
    return 0;
});

TEST(LogbookPull, ALogIsNeverPairedWithAnotherLogsScans)
{
    LogbookFixture l;
    const auto listed = l.f.sync.openDatabase("RirodIndex"); // as the window keeps it
    const auto child = startChild("rotate-logs", {});
    int pulls = 0;
    while (child->state() != QProcess::NotRunning || pulls < 5) {
        const PullOutcome outcome = l.pull();
        EXPECT_EQ(outcome.unreadable, QStringList());
        ++pulls;
        child->waitForFinished(5);
    }
    EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardError().constData();
    const Logbook logbook(l.path(), Logbook::Access::ReadOnly);
    const std::vector<LogbookEntry> logs = logbook.logs({LogKind::Rirod, {}, {}, {}, {}, {}});
    ASSERT_EQ(logs.size(), 3u); // moved, never copied twice
    for (const LogbookEntry &log : logs) {
        const std::vector<RecordBytes> scans = logbook.scans(log.id);
        const int first = log.text == "A" ? 1 : 11; // where its scans were made
        ASSERT_EQ(scans.size(), log.text == "A" ? 10u : 20u);
        for (std::size_t k = 0; k < scans.size(); ++k)
            EXPECT_EQ(decodeScanRecord(*l.f.bytes, scans[k], 1).channelValue[0],
                      scanMark(first + int(k), 0));
        EXPECT_EQ(log.state, LogState::OnHandheld);
    }
}

TEST(LogbookPull, TwoProgramsPullingAtOnceLoseNothingAndWait)
{
    LogbookFixture l;
    const auto first = startChild("pull-again", {l.path()});
    const auto second = startChild("pull-again", {l.path()});
    for (QProcess *child : {first.get(), second.get()}) {
        ASSERT_TRUE(child->waitForFinished(120000));
        EXPECT_EQ(child->exitCode(), 0) << child->readAllStandardError().constData();
    }
    EXPECT_EQ(l.listed(), AllOnHandheld);
}

} // namespace
} // namespace vexa::test
