// Save... in the window: dialogs answered by the test, files on disk.
#include "store/SyncComponent.h"
#include "support/LogCase.h"
#include "support/TestWindow.h"

#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#ifdef __linux__
#include <sys/mount.h>
#endif

namespace vexa::test {
namespace {

const QString Ect = "RirodLog(03.07.2004_14.05.09)";
const QString Night = "RirodLog(03.07.2004_23.59.58)";
const QString Five = "RirodLog(03.08.2004_10.00.00)";

struct Saving {
    TestHandheld handheld;
    QTemporaryDir out;
    SyncComponent sync;
    TestWindow w{sync};

    // A long log, when asked for, is the fourth line.
    explicit Saving(int longLogScans = 0)
    {
        addLogCase(handheld, readLogCase(dataPath("export/ect-two-scans.log")));
        addLogCase(handheld, readLogCase(dataPath("export/night-run.log")));
        addRirodLog(handheld, {{2004, 3, 8, 10, 0, 0}, "Five scans", {15, 2}, 5});
        if (longLogScans > 0)
            addRirodLog(handheld, {{2004, 9, 1, 12, 0, 0}, "Long run", {15, 2}, longLogScans});
        handheld.add("LTrimLog", {textLogRecord({2004, 4, 2, 8, 40, 51}, "trims")});
        w.window.setYieldSlice(0);
        w.window.start();
    }
    QString path(const QString &name) const { return out.filePath(name); }
    QStringList files() const { return QDir(out.path()).entryList(QDir::Files, QDir::Name); }
    void saveOne(int line, const QString &file, int filter)
    {
        w.select({line});
        w.ui.files = {{file, filter}};
        w.click("cmdSave");
    }
    void saveSeveral(std::initializer_list<int> lines, const QString &folder, const QString &format)
    {
        w.select(lines);
        w.ui.locations = {{folder, format}};
        w.click("cmdSave");
    }
    // A CSV header has 6 lines with a one-line text.
    int scanLines(const QString &file) const { return int(readFile(path(file)).count("\r\n")) - 6; }
    // A file saved before.
    void putFile(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
};

// "description|pattern", in the order the file-save dialog lists them.
QStringList filterTexts(const QList<FileFilter> &filters)
{
    QStringList texts;
    for (const FileFilter &filter : filters)
        texts << filter.description + "|" + filter.pattern;
    return texts;
}

const std::vector<bool> IdleButtons = {true, true, true, true, true, true, false};

TEST(SaveCommand, OneRirodLogInTheChosenFilterFormat)
{
    const struct {
        int filter;
        const char *reference;
    } cases[] = {{1, "ect-two-scans.csv"}, {2, "ect-two-scans.txt"}, {3, "ect-two-scans.efi"}};
    for (const auto &c : cases) {
        Saving s;
        const QString file = s.path("my log");      // exactly as typed: no extension added
        s.putFile("my log", QByteArray(5000, 'x')); // longer than the log: replaced whole
        s.w.ui.answers = {true};
        s.saveOne(0, file, c.filter);
        ASSERT_EQ(s.w.ui.prompts.size(), 2u);
        EXPECT_EQ(s.w.ui.prompts[1].text, "File my log already exists - overwrite?");
        const Prompt &dialog = s.w.ui.prompts[0];
        EXPECT_EQ(dialog.kind, Prompt::SaveFile);
        EXPECT_EQ(dialog.title, "Save log as...");
        EXPECT_EQ(filterTexts(dialog.filters),
                  (QStringList{"Comma-delimited (*.csv)|*.csv", "Space-delimited (*.txt)|*.txt",
                               "EFILive format(*.efi)|*.efi"}));
        EXPECT_EQ(s.files(), QStringList{"my log"});
        EXPECT_TRUE(
            sameBytes(readFile(dataPath(QString("export/") + c.reference)), readFile(file)));
        EXPECT_EQ(s.w.status(), "Complete.");
        EXPECT_EQ(s.w.buttonsShown(), IdleButtons);
        EXPECT_EQ(s.w.list()->selectedItems().size(), 1) << "the selection is only read";
    }
}

TEST(SaveCommand, OtherTabsSaveTextWhateverTheFilter)
{
    Saving s;
    s.w.setTab(1);
    s.saveOne(0, s.path("trims.dat"), 3);
    ASSERT_EQ(s.w.ui.prompts.size(), 1u);
    EXPECT_EQ(filterTexts(s.w.ui.prompts[0].filters), QStringList{"Text file (*.txt)|*.txt"});
    EXPECT_EQ(readFile(s.path("trims.dat")), "4/2/2004 8:40:51 AM\r\ntrims\r\n");
}

TEST(SaveCommand, NothingSelectedOrADialogCancelledWritesNothing)
{
    Saving s;
    s.w.click("cmdSave");
    EXPECT_TRUE(s.w.ui.prompts.empty());
    EXPECT_EQ(s.w.status(), "Complete.");
    EXPECT_EQ(s.w.buttonsShown(), IdleButtons);
    EXPECT_TRUE(s.w.control<QTimer>("Timer1")->isActive());
    s.w.setTab(1);
    s.w.setTab(0); // the status is the search's again
    s.saveOne(0, QString(), 1);
    s.w.list()->clearSelection();
    s.saveSeveral({0, 1}, QString(), QString());
    EXPECT_EQ(s.w.ui.prompts.size(), 2u);
    EXPECT_EQ(s.w.ui.prompts[1].kind, Prompt::SaveLocation);
    EXPECT_TRUE(s.w.ui.prompts[1].rirodFormats);
    EXPECT_TRUE(s.files().isEmpty());
    EXPECT_EQ(s.w.status(), "Complete.");
}

// Named by kind, date and format, numbered when logs share a second, with
// the folder's separator neither doubled nor lost.
TEST(SaveCommand, SeveralLogsAreNamedByKindDateAndFormat)
{
    for (const bool trailing : {true, false}) {
        Saving s;
        addRirodLog(s.handheld, {{2004, 3, 7, 14, 5, 9}, "Same second", {15, 2}, 3});
        s.w.setTab(1);
        s.w.setTab(0);
        const QString folder =
            QDir::toNativeSeparators(s.out.path()) + (trailing ? QString(QDir::separator()) : "");
        s.saveSeveral({0, 2, 3}, folder, "TXT");
        EXPECT_EQ(s.files(), (QStringList{Ect + " (2).TXT", Ect + ".TXT", Five + ".TXT"}));
        EXPECT_TRUE(sameBytes(readFile(dataPath("export/ect-two-scans.txt")),
                              readFile(s.path(Ect + ".TXT"))));
        EXPECT_EQ(readFile(s.path(Ect + " (2).TXT")).count("\r\n"), 5 + 3);
        for (const QString &text : s.w.ui.texts())
            EXPECT_FALSE(text.contains("already exists")) << "asked about a file of this save";
    }
}

// No to overwriting ends the command; a save that fails once its file was
// begun (the second log's scans are gone) leaves the file saved before.
TEST(SaveCommand, AFileSavedBeforeStaysUnlessReplacedWhole)
{
    for (const bool failing : {false, true}) {
        Saving s;
        if (failing) {
            s.handheld.drop("RirodData");
            s.handheld.add("RirodData", std::vector<Bytes>(3, scanRecord(10, {})));
        }
        s.putFile(Night + ".CSV", "old");
        s.w.ui.answers = {failing};
        s.saveSeveral({0, 1, 2}, s.out.path(), "CSV");
        EXPECT_EQ(s.w.ui.texts().at(1), "File " + Night + ".CSV already exists - overwrite?");
        EXPECT_EQ(s.w.ui.texts().size(), failing ? 3 : 2);
        EXPECT_EQ(s.files(), (QStringList{Ect + ".CSV", Night + ".CSV"}));
        EXPECT_EQ(readFile(s.path(Night + ".CSV")), "old");
        EXPECT_EQ(s.w.status(), "Complete.");
        EXPECT_EQ(s.w.buttonsShown(), IdleButtons);
    }
}

TEST(SaveCommand, CancelStopsTheLogBeingWrittenOnly)
{
    for (const bool yes : {true, false}) {
        Saving s;
        s.w.ui.answers = {yes};
        // Cancel in the second of the three logs.
        s.w.onStatus("Saving scan 2 of 4", [&s] {
            EXPECT_TRUE(s.w.control<QPushButton>("cmdCancel")->isVisible());
            s.w.click("cmdCancel");
        });
        s.saveSeveral({0, 1, 2}, s.out.path(), "CSV"); // 2, 4 and 5 scans
        EXPECT_EQ(s.w.ui.texts().at(1), "Cancel log save - Are you sure?");
        EXPECT_EQ(s.w.ui.texts().contains("Save operation canceled"), yes);
        EXPECT_EQ(s.files().size(), 3);
        EXPECT_EQ(s.scanLines(Ect + ".CSV"), 2);
        EXPECT_EQ(readFile(s.path(Night + ".CSV")).count("\r\n") - 7, yes ? 2 : 4); // two-line text
        EXPECT_EQ(s.scanLines(Five + ".CSV"), 5) << "the next log is saved whole";
        EXPECT_EQ(s.w.status(), "Complete.");
    }
}

// A file system of its own, too small for a big log. Only root can make one.
struct SmallDisk {
    QTemporaryDir dir;
    bool mounted = false;
    SmallDisk()
    {
#ifdef __linux__
        mounted = ::mount("tmpfs", dir.path().toLocal8Bit(), "tmpfs", 0, "size=64k") == 0;
#endif
    }
    ~SmallDisk()
    {
#ifdef __linux__
        if (mounted)
            ::umount(dir.path().toLocal8Bit());
#endif
    }
};

// A full disk (on a file system too small for a big log) leaves nothing cut
// short.
TEST(SaveCommand, AFailureIsReportedThenTheCommandEnds)
{
    Saving s;
    s.saveOne(0, "/proc/vexa.csv", 1);
    ASSERT_EQ(s.w.ui.prompts.size(), 2u);
    EXPECT_TRUE(
        s.w.ui.prompts[1].text.startsWith("There was an error saving the file.\r\nPath/File access "
                                          "error: can't create /proc/vexa.csv ("))
        << s.w.ui.prompts[1].text.toStdString();
    EXPECT_TRUE(s.w.ui.prompts[1].text.endsWith(")\r\nNumber = 4B"));
    EXPECT_EQ(s.w.status(), "Complete.");
    EXPECT_EQ(s.w.buttonsShown(), IdleButtons);

    SmallDisk disk;
    if (!disk.mounted)
        GTEST_SKIP() << "can't make a small file system here";
    Saving big(3000);
    big.saveSeveral({0, 3}, disk.dir.path(), "CSV");
    ASSERT_EQ(big.w.ui.prompts.size(), 2u);
    EXPECT_EQ(big.w.ui.prompts[1].text,
              "There was an error saving the file.\r\nDevice I/O error: No "
              "space left on device\r\nNumber = 39");
    EXPECT_EQ(QDir(disk.dir.path()).entryList(QDir::Files), QStringList{Ect + ".CSV"})
        << "nothing cut short is left";
}

TEST(SaveCommand, TheWindowTakesNoInputWhileSavingAndClosesAfter)
{
    Saving s;
    bool tried = false;
    s.w.onStatus("Saving scan 2 of 5", [&] {
        tried = true;
        EXPECT_EQ(s.w.buttonsShown(),
                  (std::vector<bool>{false, false, false, false, false, false, true}));
        QTabBar *tabs = s.w.control<QTabWidget>("tabMain")->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        s.w.clickLine(0);
        s.w.window.close();
        EXPECT_FALSE(s.w.window.isUnloaded());
    });
    s.saveOne(2, s.path("five.csv"), 1);
    ASSERT_TRUE(tried);
    EXPECT_EQ(s.w.control<QTabWidget>("tabMain")->currentIndex(), 0);
    EXPECT_EQ(s.w.list()->selectedItems().size(), 1);
    EXPECT_EQ(s.scanLines("five.csv"), 5);
    EXPECT_FALSE(s.w.control<QTimer>("Timer1")->isActive()) << "no countdown while closing";
    QCoreApplication::processEvents();
    EXPECT_TRUE(s.w.window.isUnloaded()) << "the close waited for the save";
}

} // namespace
} // namespace vexa::test
