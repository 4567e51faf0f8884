// vexa-logbook table end to end: hand-made logs pulled into a logbook, the
// table's text, what is said of logs left out, and the exit statuses.
#include "support/ExportToolRun.h"
#include "support/LogRecords.h"
#include "support/RawSql.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

Bytes scan(float rpm, float map, float lft)
{
    Channels ch;
    ch[0].value = rpm;
    ch[1].value = map;
    ch[2].value = lft;
    ch[3].value = 180; // ECT
    return scanRecord(10, ch);
}

// Log 1 (RPM, MAP, LFT1, ECT): ten scans at 800 x 10, ten at 1190 x 11
// (half-way: the higher), five at 400 x 2. Log 2 lacks MAP. Log 3 is an
// LTrim log.
struct TableLogbook {
    TableLogbook()
    {
        std::vector<Bytes> scans;
        for (int k = 0; k < 10; ++k) {
            scans.push_back(scan(800, 10, 2.5f + (k % 2 ? 0.25f : -0.25f)));
            scans.push_back(scan(1190, 11, -1));
        }
        for (int k = 0; k < 5; ++k)
            scans.push_back(scan(400, 2, 7));
        handheld.add("RirodData", scans);
        handheld.add("RirodData", {scan(800, 0, 1)});
        handheld.add("RirodIndex",
                     {rirodIndexRecord({2004, 3, 7, 14, 5, 9}, 25, 1, {15, 9, 6, 2}, "A"),
                      rirodIndexRecord({2004, 3, 8, 9, 0, 0}, 1, 26, {15, 6}, "B")});
        handheld.add("LTrimLog", {textLogRecord({2004, 3, 9, 9, 0, 0}, "trim")});
        EXPECT_EQ(run({"pull"}).out, "3 new logs pulled, 0 held already.\n");
    }
    QString path() const { return folder.filePath("logbook.sqlite"); }
    ToolRun run(QStringList args) const
    {
        return runTool(QStringLiteral("vexa-logbook"), QStringList{"--logbook", path()} + args);
    }

    TestHandheld handheld;
    QTemporaryDir folder;
};

TEST(LogbookTableTool, PrintsTheTableNamesLogsLeftOutAndSaysWhyThereIsNone)
{
    const TableLogbook logbook;
    const QStringList table{"table", "--x", "RPM", "--y", "MAP", "--value", "LFT1"};
    const QStringList axes{"--x-axis", "400 800,1200", "--y-axis", "2\n10\t12"};
    struct Row {
        QStringList args;
        int status;
        const char *out, *err;
    } rows[] = {
        {table + axes + QStringList{"--all"}, 0,
         "MAP\\RPM\t400\t800\t1200\n2\t\t\t\n10\t\t2.50\t\n12\t\t\t-1.00\n",
         "vexa-logbook: log 2 left out: lacks MAP\n"},
        {table + axes + QStringList{"--stat", "count", "--min-hits", "5", "1"}, 0,
         "MAP\\RPM\t400\t800\t1200\n2\t5\t\t\n10\t\t10\t\n12\t\t\t10\n", ""},
        {table + axes + QStringList{"--stat", "max", "--where", "RPM<1000", "1"}, 0,
         "MAP\\RPM\t400\t800\t1200\n2\t\t\t\n10\t\t2.75\t\n12\t\t\t\n", ""},
        {table + QStringList{"--stat", "min", "--min-hits", "1", "1", "3", "9"}, 0,
         "MAP\\RPM\t400\t800\t1200\t1600\t2000\t2400\t2800\t3200\t3600\t4000\t4400\t4800\t5200"
         "\t5600\t6000\t6400\t6800\t7200\n"
         "2\t7.00\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "4\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "6\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "8\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "10\t\t2.25\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "12\t\t\t-1.00\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "14\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "16\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "18\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "20\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "22\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "24\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "26\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "28\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n"
         "30\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\n",
         "vexa-logbook: log 3 is not a Rirod log: left out\n"
         "vexa-logbook: the logbook has no log 9\n"},
        {table + QStringList{"2"}, 1, "",
         "vexa-logbook: log 2 left out: lacks MAP\n"
         "vexa-logbook: no table: none of the chosen logs can be used\n"},
        {table + QStringList{"--all", "--search", "nothing"}, 1, "",
         "vexa-logbook: no table: no Rirod log is chosen\n"},
        {QStringList{"table", "--x", "ECT", "--y", "MAP", "--value", "LFT1", "--where",
                     "ECT > 1000", "--all"},
         1, "",
         "vexa-logbook: log 2 left out: lacks ECT, MAP\n"
         "vexa-logbook: no table: no scan counts, so an axis with neither usual nor given "
         "breakpoints has none (--x-axis and --y-axis give them)\n"},
        {table + QStringList{"--where", "ECT >> 1", "1"}, 2, "",
         "vexa-logbook: --where: The condition 'ECT >> 1' reads neither as CHANNEL OP NUMBER "
         "nor as |dCHANNEL/dt| OP NUMBER (OP: <, <=, =, >=, >, !=; \".\" marks decimals)\n"},
        {table + QStringList{"--y-axis", "1,x", "1"}, 2, "",
         "vexa-logbook: --y-axis: The breakpoints '1,x' hold 'x', which is not a number "
         "(numbers separated by commas, tabs, spaces or line breaks, \".\" for decimals)\n"},
        {QStringList{"table", "--x", "rpm", "1"}, 2, "",
         "vexa-logbook: --x: No channel is called 'rpm' (codes as the catalogue writes them: "
         "RPM, MAP, LD, TPS, ECT, CLSD, LFT1, ...)\n"},
        {QStringList{"table", "--x", "RPM", "--y", "MAP", "1"}, 2, "",
         "vexa-logbook: --value names the table's channel, such as RPM\n"},
        {table + QStringList{"--min-hits", "0", "1"}, 2, "",
         "vexa-logbook: --min-hits takes a whole number from 1: '0'\n"},
        {table + QStringList{"--stat", "median", "1"}, 2, "",
         "vexa-logbook: --stat takes mean, min, max or count: 'median'\n"},
        {table + QStringList{"--all", "1"}, 2, "",
         "vexa-logbook: choose the logs with either their ids or --all\n"},
    };
    for (const Row &r : rows) {
        const ToolRun run = logbook.run(r.args);
        EXPECT_EQ(run.exitCode, r.status) << r.args.join(' ').toStdString();
        EXPECT_EQ(run.out, r.out) << r.args.join(' ').toStdString();
        EXPECT_EQ(run.err, r.err) << r.args.join(' ').toStdString();
    }
}

TEST(LogbookTableTool, ALogWhoseScansAreDamagedIsLeftOutWithTheReason)
{
    const TableLogbook logbook;
    runSql(logbook.path(),
           "UPDATE log_scans SET scan_records = substr(scan_records, 1, 100) WHERE log = 1");
    const ToolRun run = logbook.run(
        {"table", "--x", "RPM", "--y", "LFT1", "--value", "RPM", "--x-axis", "800", "--all"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "LFT1\\RPM\t800\n0\t\n"); // log 2's one scan: below the minimum
    EXPECT_EQ(run.err, "vexa-logbook: log 1 left out: Subscript out of range: the scan records of "
                       "logbook log 1 are cut short\n");
}

} // namespace
} // namespace vexa::test
