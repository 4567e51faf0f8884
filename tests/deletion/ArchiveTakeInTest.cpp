// The archive of deleted logs taken into the logbook once, states kept, the
// file only read; and deletes whose outcome never came settled by the pull.
#include "support/LogbookFixture.h"
#include "support/RawSql.h"

#include "core/RuntimeError.h"
#include "deletion/ArchiveTakeIn.h"
#include "deletion/DeletedLogArchive.h"
#include "deletion/LogbookRestore.h"

#include <QFile>

namespace vexa::test {
namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The test handheld with the old archive in its user's folder.
struct OldArchive : LogbookFixture {
    OldArchive()
    {
        QFile::copy(QStringLiteral(VEXA_TEST_DATA "/archive/deleted-logs.sqlite"), archive);
        QFile::setPermissions(archive, QFile::ReadOwner | QFile::WriteOwner);
        before = readFile(archive);
    }
    TakeInOutcome takeIn()
    {
        Logbook logbook(path());
        return takeInDockedArchive(logbook, f.sync);
    }
    const QString archive = DeletedLogArchive::pathIn(f.sync.userFolder(f.handheld.user().id));
    QByteArray before;
};

TEST(ArchiveTakeIn, EachRowOnceStatesKeptSettledByThePullFileUnchanged)
{
    OldArchive o;
    const TakeInOutcome first = o.takeIn();
    EXPECT_TRUE(first.taken);
    EXPECT_EQ(first.logs, 4);
    EXPECT_EQ(first.stray, 1); // kept apart, never listed
    ASSERT_EQ(first.damaged.size(), 1);
    EXPECT_TRUE(first.damaged[0].startsWith("row 6: its index record can't be read: "));
    EXPECT_EQ(o.listed(), (QStringList{"X deleted", "trim unconfirmed", "P0300 unconfirmed",
                                       "old accel put-back"}));
    const std::vector<LogbookEntry> logs = Logbook(o.path()).logs();
    EXPECT_EQ(logs[0].userName, QString::fromStdString(o.f.handheld.user().name));
    EXPECT_EQ(logs[0].scanCount, 10);
    EXPECT_EQ(Logbook(o.path()).scans(logs[0].id).size(), 10u);
    EXPECT_EQ(o.history(logs[0].id), (QStringList{"pulled", "deleted"}));
    EXPECT_EQ(o.history(logs[1].id), QStringList{"pulled"});
    EXPECT_EQ(o.history(logs[3].id), (QStringList{"pulled", "deleted", "put back"}));

    EXPECT_FALSE(o.takeIn().taken);
    // The same rows from another file: the logbook holds them already.
    const QString copy = o.folder.filePath("elsewhere.sqlite");
    ASSERT_TRUE(QFile::copy(o.archive, copy));
    Logbook logbook(o.path());
    const TakeInOutcome again =
        takeInArchive(logbook, copy, o.f.handheld.user().id, "Test User", *o.f.bytes);
    EXPECT_EQ(again.logs + again.stray, 0);
    EXPECT_EQ(again.held, 5); // the scans of no log too, kept once
    EXPECT_EQ(querySql(o.path(), "SELECT count(*) FROM stray_scans"), QStringList{"1"});

    o.pull(); // trim is still on the handheld, P0300 is not
    EXPECT_EQ(o.listed(), (QStringList{"X deleted", "trim on-handheld", "P0300 deleted",
                                       "old accel gone", "A on-handheld", "B on-handheld",
                                       "A on-handheld", "accel on-handheld", "P0171 on-handheld"}));
    EXPECT_EQ(readFile(o.archive), o.before);
}

TEST(ArchiveTakeIn, APulledLogIsNotTakenTwice)
{
    OldArchive o;
    o.pull(); // trim, on the handheld: the row whose delete never came
    const TakeInOutcome taken = o.takeIn();
    EXPECT_EQ(taken.logs, 3);
    EXPECT_EQ(taken.held, 1);
    o.pull();
    EXPECT_EQ(o.listed().filter("trim"), QStringList{"trim on-handheld"});
}

// The restore an earlier version recorded named the record it wrote: that
// one is the put-back log, and an older twin on the handheld another copy.
TEST(ArchiveTakeIn, APutBackLogIsTheOneAtTheRecordItsRestoreWrote)
{
    LogbookFixture l;
    const Bytes twin = textLogRecord({2005, 4, 1, 10, 0, 0}, "P0420");
    l.f.handheld.add("TCodeLog", {twin, twin});
    const auto codes = l.f.handheld.open("TCodeLog");
    const vexasync::RecordId older = codes->readByIndex(1).id, restored = codes->readByIndex(2).id;
    const QString archive = DeletedLogArchive::pathIn(l.folder.path());
    {
        DeletedLogArchive earlier(archive);
        ArchivedLog row;
        row.kind = LogKind::TroubleCode;
        row.indexRecord = twin;
        const std::int64_t id = earlier.add({row}).at(0);
        earlier.markRemoved({id});
        earlier.markRestoring(id, restored);
        earlier.markRestored(id);
    }
    Logbook logbook(l.path());
    EXPECT_EQ(takeInArchive(logbook, archive, l.f.handheld.user().id, "Test User", *l.f.bytes).logs,
              1);
    l.pull();
    EXPECT_EQ(
        querySql(l.path(), "SELECT state, handheld_record FROM logs WHERE text = 'P0420'"
                           " ORDER BY id"),
        (QStringList{QStringLiteral("3|%1").arg(restored), QStringLiteral("0|%1").arg(older)}));
}

TEST(ArchiveTakeIn, ADamagedRowCostsOnlyItself)
{
    const struct {
        const char *sql;
        const char *damage; // of row 1, X
    } cases[] = {
        {"UPDATE deleted_logs SET scan_count = 11 WHERE id = 1", "row 1: "},
        {"UPDATE deleted_logs SET kind = 7 WHERE id = 1", "row 1: "},
        {"UPDATE deleted_logs SET index_record = x'00' WHERE id = 1",
         "row 1: its index record can't be read: "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sql);
        OldArchive o;
        runSql(o.archive, c.sql);
        const TakeInOutcome taken = o.takeIn();
        EXPECT_EQ(taken.logs, 3);
        ASSERT_EQ(taken.damaged.size(), 2);
        EXPECT_TRUE(taken.damaged[0].startsWith(c.damage)) << taken.damaged[0].toStdString();
        EXPECT_EQ(o.listed(),
                  (QStringList{"trim unconfirmed", "P0300 unconfirmed", "old accel put-back"}));
    }
}

TEST(ArchiveTakeIn, AnArchiveThatCantBeReadIsTakenNextTime)
{
    OldArchive o;
    QFile::resize(o.archive, 0);
    EXPECT_THROW(o.takeIn(), RuntimeError);
    QFile::remove(o.archive);
    QFile::copy(QStringLiteral(VEXA_TEST_DATA "/archive/deleted-logs.sqlite"), o.archive);
    EXPECT_EQ(o.takeIn().logs, 4);
}

TEST(ArchiveTakeIn, ADeleteWhoseOutcomeNeverCameIsSettledByThePull)
{
    const struct {
        const char *database;
        LogKind kind;
        bool removed; // the handheld's commit came, the logbook's mark did not
        QString listed;
    } cases[] = {
        {"TCodeLog", LogKind::TroubleCode, true, "P0171 deleted"},
        {"TCodeLog", LogKind::TroubleCode, false, "P0171 on-handheld"},
        {"RirodIndex", LogKind::Rirod, true, "A deleted"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.listed.toStdString());
        LogbookFixture l;
        l.pull();
        const auto index = l.f.handheld.open(c.database);
        {
            Logbook logbook(l.path());
            holdKind(logbook, l.f.sync, *l.f.bytes, l.f.handheld.user().id, c.kind, *index, nullptr,
                     std::vector<int>{0});
        }
        if (c.removed)
            index->remove(index->readByIndex(0).id);
        Logbook logbook(l.path());
        const std::int64_t held =
            logbook.logs({c.kind, {}, {}, {}, {}, LogState::Unconfirmed}).at(0).id;
        EXPECT_EQ(restoreFromLogbook(logbook, {held}, {l.f.sync, l.f.host}).logs.at(0).detail,
                  "its delete was never confirmed: pull from its handheld first");
        l.pull();
        EXPECT_TRUE(l.listed().contains(c.listed)) << l.listed().join(", ").toStdString();
    }
}

} // namespace
} // namespace vexa::test
