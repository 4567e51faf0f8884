// vexa-logbook's logbook commands end to end on the demo handheld: pull,
// list, show, note, export and purge, on a logbook in a scratch folder.
#include "support/ExportToolRun.h"
#include "support/LogCase.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

struct DemoLogbook {
    DemoLogbook()
    {
        EXPECT_EQ(run({"demo"}).exitCode, 0);
        EXPECT_EQ(run({"pull"}).out, "11 new logs pulled, 0 held already.\n");
    }
    QString path() const { return folder.filePath("logbook.sqlite"); }
    ToolRun run(QStringList args) const
    {
        return runTool(QStringLiteral("vexa-logbook"), QStringList{"--logbook", path()} + args);
    }
    // The ids list prints, joined by blanks.
    QString listedIds(const QStringList &filters) const
    {
        QStringList ids;
        for (const QByteArray &line : run(QStringList{"list"} + filters).out.split('\n'))
            if (!line.isEmpty())
                ids << line.split('\t').first();
        return ids.join(' ');
    }

    TestHandheld handheld;
    QTemporaryDir folder;
};

QMap<QString, QByteArray> filesIn(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        files[name] = readFile(QDir(folder).filePath(name));
    return files;
}

TEST(LogbookCommands, PulledOnceListedFilteredAndNoted)
{
    DemoLogbook d;
    EXPECT_EQ(d.run({"pull"}).out, "0 new logs pulled, 11 held already.\n");
    EXPECT_EQ(d.run({"list", "--kind", "tcode"}).out,
              "11\tDemo User\ttcode\t2004-04-02 08:15:27\t0\t0:00:00.00\ton-handheld\tP0171 "
              "System too lean (Bank 1)\\r\\nP0174 System too lean (Bank 2)\n");
    EXPECT_EQ(d.run({"list", "--kind", "rirod", "--since", "2004-04-02"}).out,
              "4\tDemo User\trirod\t2004-04-02 08:12:03\t1500\t0:03:44.81\ton-handheld\tCity "
              "traffic\n5\tDemo User\trirod\t2004-04-02 23:55:30\t3000\t0:07:30.68\ton-handheld\t"
              "Trip home across midnight\n");
    ASSERT_EQ(d.run({"note", "3", "Dyno: new injectors"}).exitCode, 0);
    const struct {
        QStringList filters;
        const char *ids;
    } cases[] = {
        {{}, "1 2 3 4 5 6 7 8 9 10 11"},
        {{"--kind", "accel"}, "8 9 10"},
        {{"--since", "2004-04-02", "--until", "2004-04-02"}, "4 5 7 11"},
        {{"--until", "2004-03-14"}, "1 2 6"},
        {{"--search", "HIGHWAY"}, "2 6"},
        {{"--search", "injectors"}, "3"},
        {{"--user", "Demo User", "--state", "on-handheld"}, "1 2 3 4 5 6 7 8 9 10 11"},
        {{"--user", "Someone"}, ""},
        {{"--state", "gone"}, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(d.listedIds(c.filters), c.ids) << c.filters.join(' ').toStdString();
    EXPECT_EQ(d.run({"list", "--json", "--kind", "tcode"}).out,
              "[\n    {\n        \"duration\": 0,\n        \"id\": 11,\n        \"kind\": "
              "\"tcode\",\n        \"scans\": 0,\n        \"start\": \"2004-04-02 08:15:27\",\n "
              "       \"state\": \"on-handheld\",\n        \"text\": \"P0171 System too lean "
              "(Bank 1)\\r\\nP0174 System too lean (Bank 2)\",\n        \"user\": \"Demo "
              "User\"\n    }\n]\n");
    const ToolRun shown = d.run({"show", "3"});
    EXPECT_TRUE(shown.out.startsWith("3/20/2004 4:31:44 PM\nWOT pull 3rd gear\n93 octane, 72F "
                                     "ambient\n400 scans\n"))
        << shown.out.constData();
    EXPECT_TRUE(shown.out.contains("\n\nNote: Dyno: new injectors\nState: on-handheld\nUser: "
                                   "Demo User\nCopy: 1\nHistory:\n  "));

    // Gone from the handheld by other means: kept, marked, and purged only
    // when asked.
    d.handheld.drop("TCodeLog");
    EXPECT_EQ(d.run({"pull"}).out, "0 new logs pulled, 10 held already.\n1 logs are no longer "
                                   "on the handheld.\n");
    EXPECT_EQ(d.listedIds({"--state", "gone"}), "11");
    EXPECT_EQ(d.run({"purge", "--before", "2004-01-01"}).err, "0 logs removed.\n");
    EXPECT_EQ(
        d.run({"purge", "--before", QDate::currentDate().addDays(1).toString(Qt::ISODate)}).err,
        "1 logs removed.\n");
    EXPECT_EQ(d.listedIds({"--state", "gone"}), "");
}

TEST(LogbookCommands, ExportsWhatVexaExportWritesWithNoHandheldDocked)
{
    DemoLogbook d;
    QTemporaryDir fromHandheld, fromLogbook;
    for (const char *format : {"CSV", "TXT", "EFI"})
        for (const char *tab : {"0", "1", "2", "3"})
            exportTool({"--tab", tab, "--all", "--format", format, "--out", fromHandheld.path()});
    exportTool({"--all", "--format", "PNG", "--out", fromHandheld.path()});
    d.handheld.undock();
    for (const char *format : {"CSV", "TXT", "EFI", "PNG"}) {
        const ToolRun run =
            d.run({"export", "--all", "--format", format, "--out", fromLogbook.path()});
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    }
    EXPECT_EQ(filesIn(fromLogbook.path()).keys(), filesIn(fromHandheld.path()).keys());
    EXPECT_TRUE(filesIn(fromLogbook.path()) == filesIn(fromHandheld.path()));

    const struct {
        QStringList args;
        int exitCode;
        const char *lastLine;
    } again[] = {
        {{"2", "6"}, 1, "0 of 2 files written.\n"},
        {{"2", "6", "--skip-existing"}, 0, "0 of 2 files written, 2 existing skipped.\n"},
        {{"2", "6", "--force"}, 0, "2 of 2 files written.\n"},
        {{"2", "99", "--force"}, 1, "1 of 1 files written.\n"},
    };
    for (const auto &c : again) {
        const ToolRun run =
            d.run(QStringList{"export", "--format", "CSV", "--out", fromLogbook.path()} + c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.constData();
        EXPECT_TRUE(run.err.endsWith(c.lastLine)) << run.err.constData();
    }
}

TEST(LogbookCommands, AFileThatIsNoLogbookIsLeftAsItIs)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("logbook.sqlite");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    TestHandheld handheld;
    for (const QStringList &args : {QStringList{"list"}, QStringList{"pull"},
                                    QStringList{"note", "1", "x"}, QStringList{"show", "1"}}) {
        const ToolRun run =
            runTool(QStringLiteral("vexa-logbook"), QStringList{"--logbook", path} + args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "vexa-logbook: Path/File access error: " + path.toUtf8() +
                               " is not a logbook this program can use (it is not an SQLite "
                               "database); it was left as it is\n");
        EXPECT_EQ(readFile(path), QByteArray(4096, 'x'));
    }
}

} // namespace
} // namespace vexa::test
