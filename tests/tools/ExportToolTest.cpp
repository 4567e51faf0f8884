// vexa-export end to end on a handheld image.
#include "support/ExportToolRun.h"
#include "support/LogCase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

struct Handheld {
    TestHandheld handheld;
    QTemporaryDir out;
    Handheld()
    {
        addLogCase(handheld, readLogCase(dataPath("export/ect-two-scans.log")));
        addLogCase(handheld, readLogCase(dataPath("export/night-run.log")));
        handheld.add("AccelTestLog",
                     {textLogRecord({2004, 3, 20, 16, 45, 10}, "0-60 mph: 5.42 s")});
    }
    QStringList files() const { return QDir(out.path()).entryList(QDir::Files, QDir::Name); }
};

TEST(ExportTool, ListsTheLogsOfATab)
{
    Handheld h;
    const ToolRun rirod = exportTool({"--list"});
    EXPECT_EQ(rirod.exitCode, 0) << rirod.err.constData();
    EXPECT_EQ(rirod.out, "3/7/2004 2:05:09 PM - Run 1\n3/7/2004 11:59:58 PM - Night run\n");
    const ToolRun accel = exportTool({"--list", "--tab", "2"});
    EXPECT_EQ(accel.out, "3/20/2004 4:45:10 PM - 0-60 mph: 5.42 s\n");
}

// Far from UTC, where a file that took the local time for the log's would differ.
TEST(ExportTool, SavesEveryLogInEachFormat)
{
    const struct {
        const char *format;
        const char *extension;
    } formats[] = {{"CSV", "csv"}, {"TXT", "txt"}, {"EFI", "efi"}, {"MSL", "msl"}, {"MLG", "mlg"}};
    for (const auto &f : formats) {
        Handheld h;
        const ToolRun run =
            runTool("vexa-export", {"--all", "--format", f.format, "--out", h.out.path()},
                    {"TZ=Asia/Tokyo"});
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        const QString first = QString("RirodLog(03.07.2004_14.05.09).") + f.format;
        const QString second = QString("RirodLog(03.07.2004_23.59.58).") + f.format;
        EXPECT_EQ(h.files(), (QStringList{first, second}));
        EXPECT_TRUE(sameBytes(readFile(dataPath(QString("export/ect-two-scans.") + f.extension)),
                              readFile(h.out.filePath(first))));
        EXPECT_TRUE(run.err.contains("Saving 2 scan records...")) << run.err.constData();
    }
    Handheld h;
    const ToolRun accel =
        exportTool({"--tab", "2", "--log", "1", "--format", "txt", "--out", h.out.path()});
    EXPECT_EQ(accel.exitCode, 0) << accel.err.constData();
    EXPECT_EQ(readFile(h.out.filePath("AccelLog(03.20.2004_16.45.10).TXT")),
              "3/20/2004 4:45:10 PM\r\n0-60 mph: 5.42 s\r\n");
}

TEST(ExportTool, NeverOverwritesWithoutForce)
{
    Handheld h;
    const QString name = h.out.filePath("RirodLog(03.07.2004_14.05.09).CSV");
    {
        QFile old(name);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("keep me");
    }
    const ToolRun refused = exportTool({"--all", "--format", "CSV", "--out", h.out.path()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("exists; left alone")) << refused.err.constData();
    EXPECT_EQ(readFile(name), "keep me");
    EXPECT_EQ(h.files().size(), 2) << "the other log is still saved";

    const ToolRun forced =
        exportTool({"--log", "1", "--format", "CSV", "--out", h.out.path(), "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err.constData();
    EXPECT_TRUE(sameBytes(readFile(dataPath("export/ect-two-scans.csv")), readFile(name)));
}

// A script that saves new logs only: what is there counts as done.
TEST(ExportTool, SkipsExistingFilesWhenAsked)
{
    Handheld h;
    const QString first = h.out.filePath("RirodLog(03.07.2004_14.05.09).MLG");
    const QString second = h.out.filePath("RirodLog(03.07.2004_23.59.58).MLG");
    {
        QFile old(first);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("keep me");
    }
    const QStringList args{"--all", "--format", "MLG", "--out", h.out.path(), "--skip-existing"};
    const ToolRun run = exportTool(args);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.err, "Log 1: " + first.toUtf8() + " exists; skipped\nLog 2: " + second.toUtf8() +
                           "\nSaving 4 scan records...\n1 of 2 files written, 1 existing "
                           "skipped.\n");
    EXPECT_EQ(readFile(first), "keep me");
    EXPECT_TRUE(sameBytes(readFile(dataPath("export/night-run.mlg")), readFile(second)));

    const ToolRun again = exportTool(args);
    EXPECT_EQ(again.exitCode, 0) << again.err.constData();
    EXPECT_EQ(again.err, "Log 1: " + first.toUtf8() +
                             " exists; skipped\nLog 2: " + second.toUtf8() +
                             " exists; skipped\n0 of 2 files written, 2 existing skipped.\n");
}

// Run as root in a bare shell, with no runtime folder: Qt's warnings about
// it, and about the plot's size hints, stay out of standard error.
TEST(ExportTool, StandardErrorCarriesOnlyItsOwnMessages)
{
    Handheld h;
    const ToolRun run =
        runTool("vexa-export", {"--log", "2", "--format", "PNG", "--out", h.out.path()},
                {"XDG_RUNTIME_DIR="});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "Log 2: " + h.out.filePath("RirodLog(03.07.2004_23.59.58).PNG").toUtf8() +
                           "\nSaving 4 scan records...\n1 of 1 files written.\n");
}

TEST(ExportTool, PlotsEveryLogAsAPicture)
{
    for (const char *format : {"PNG", "SVG"}) {
        Handheld h;
        const ToolRun run = exportTool({"--all", "--format", format, "--out", h.out.path()});
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        const QString first = QString("RirodLog(03.07.2004_14.05.09).") + format;
        const QString second = QString("RirodLog(03.07.2004_23.59.58).") + format;
        EXPECT_EQ(h.files(), (QStringList{first, second}));
        // Night run has six channels, each 110 pixels high.
        const QString path = h.out.filePath(second);
        const QSize size = QString(format) == "PNG" ? QImage(path, format).size()
                                                    : QSvgRenderer(path).viewBox().size();
        EXPECT_EQ(size, QSize(1200, 40 + 6 * 110)) << format;
    }
}

TEST(ExportTool, FailuresGiveAMessageAndANonZeroExit)
{
    Handheld h;
    const struct {
        QStringList args;
        int exitCode;
        const char *message;
    } cases[] = {
        // clang-format off
        {{"--log", "3", "--format", "CSV", "--out", h.out.path()}, 1, "there is no log 3 on tab 0 (it has 2)"},
        {{"--all", "--format", "CSV", "--out", h.out.filePath("nowhere")}, 1, "is not a folder"},
        {{"--tab", "1", "--all", "--format", "EFI", "--out", h.out.path()}, 2, "EFI files are for Rirod logs"},
        {{"--tab", "1", "--all", "--format", "PNG", "--out", h.out.path()}, 2, "PNG files are for Rirod logs"},
        {{"--all", "--format", "XLS", "--out", h.out.path()}, 2, "--format takes CSV, TXT, EFI, MSL, MLG, PNG or SVG"},
        {{"--tab", "1", "--all", "--format", "MSL", "--out", h.out.path()}, 2, "MSL files are for Rirod logs"},
        {{"--all", "--format", "MLG", "--out", h.out.path(), "--force", "--skip-existing"}, 2, "choose either --force or --skip-existing"},
        {{"--all", "--log", "1", "--format", "CSV", "--out", h.out.path()}, 2, "either --all or --log N"},
        {{"--tab", "7", "--list"}, 2, "--tab takes 0, 1, 2 or 3"},
        // clang-format on
    };
    for (const auto &c : cases) {
        const ToolRun run = exportTool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.message;
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.constData();
    }
    EXPECT_TRUE(h.files().isEmpty());

    h.handheld.undock();
    const ToolRun undocked = exportTool({"--list"});
    EXPECT_EQ(undocked.exitCode, 1);
    EXPECT_TRUE(undocked.err.contains("no handheld synchronisation is in progress"));
}

TEST(ExportTool, ListsOneLineALogWithControlsShown)
{
    TestHandheld handheld;
    handheld.add("AccelTestLog",
                 {textLogRecord({2004, 3, 20, 16, 45, 10}, "a\nb\x1b[31m\\c\td\r\nnot listed")});
    const ToolRun run = exportTool({"--list", "--tab", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, "3/20/2004 4:45:10 PM - a\\nb\\x1b[31m\\\\c\\td\n");
}

TEST(ExportTool, LogsOfOneNameAreAllSaved)
{
    // The same second, and two dates that meet once the calendar carries.
    TestHandheld handheld;
    handheld.add("AccelTestLog", {textLogRecord({2004, 3, 20, 16, 45, 10}, "first"),
                                  textLogRecord({2004, 3, 20, 16, 45, 10}, "second"),
                                  textLogRecord({2003, 13, 20, 9, 0, 0}, "month 13"),
                                  textLogRecord({2004, 1, 20, 9, 0, 0}, "January")});
    QTemporaryDir out;
    const ToolRun run = exportTool({"--tab", "2", "--all", "--format", "TXT", "--out", out.path()});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.contains("4 of 4 files written.")) << run.err.constData();
    const struct {
        const char *file;
        const char *text;
    } saved[] = {{"AccelLog(03.20.2004_16.45.10).TXT", "first"},
                 {"AccelLog(03.20.2004_16.45.10) (2).TXT", "second"},
                 {"AccelLog(01.20.2004_09.00.00).TXT", "month 13"},
                 {"AccelLog(01.20.2004_09.00.00) (2).TXT", "January"}};
    for (const auto &f : saved)
        EXPECT_TRUE(readFile(out.filePath(f.file)).endsWith(QByteArray(f.text) + "\r\n")) << f.file;
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 4);
}

} // namespace
} // namespace vexa::test
