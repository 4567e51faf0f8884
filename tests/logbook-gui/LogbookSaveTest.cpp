// Save as... of the logbook window, through scripted dialogs: the files are
// those vexa-logbook export writes, existing ones skipped or replaced as
// chosen, logs a format doesn't fit named, and cancel loses nothing.
#include "support/LogbookFixture.h"
#include "support/ToolRun.h"

#include "catalogue/EfiLogWriter.h"
#include "datalog/DatalogWriters.h"
#include "export/LogFile.h"
#include "export/OutputFormat.h"
#include "logbook-gui/LogbookSave.h"

#include <QDir>
#include <QDirIterator>

namespace vexa::test {
namespace {

QMap<QString, QByteArray> filesIn(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        QFile file(QDir(folder).filePath(name));
        file.open(QIODevice::ReadOnly);
        files[name] = file.readAll();
    }
    return files;
}

struct SaveFixture : LogbookFixture {
    SaveFixture()
    {
        registerTextLogWriters();
        registerEfiLogWriter();
        registerDatalogWriters();
        pull(); // 1 A, 2 B, 3 A again (Rirod), 4 trim, 5 accel, 6 P0171
    }
    // What vexa-logbook export writes of these logs, in this process's locale.
    QMap<QString, QByteArray> exported(const QStringList &ids, const QString &format)
    {
        QTemporaryDir out;
        const QString locale = "LC_ALL=" + QLocale::system().name() + ".UTF-8";
        const ToolRun run = runTool("vexa-logbook",
                                    QStringList{"--logbook", path(), "export"} + ids +
                                        QStringList{"--format", format, "--out", out.path()},
                                    {locale, "LANG=" + locale.mid(7)});
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        return filesIn(out.path());
    }
    void save(const std::vector<std::int64_t> &ids)
    {
        host.onStatus = [this](const QString &text) { lastStatus = text; };
        saveLogbookLogs(path(), ids, ui, host);
    }

    ScriptedUi ui;
    UnattendedHost host;
    QString lastStatus; // under the summary box: never "Saving ..."
    QTemporaryDir out;
};

TEST(LogbookSave, SeveralLogsToAFolderInAnyFormat)
{
    const QString A = "RirodLog(03.07.2004_12.00.00)", B = "RirodLog(03.08.2004_12.00.00)";
    const struct {
        const char *what;
        std::vector<std::int64_t> ids;
        FormatChoice format;
        QMap<QString, QByteArray> before; // in the folder
        QStringList kept;                 // of those, left as they were
        QString summary;                  // after the folder's name
    } cases[] = {
        {"every log as CSV",
         {1, 2, 3, 4, 5, 6},
         {"CSV", false},
         {},
         {},
         "\nWritten:\n  log 1: " + A + ".CSV\n  log 2: " + B + ".CSV\n  log 3: " + A +
             " (2).CSV\n  log 4: LTrimLog(01.01.2005_08.00.00).CSV\n  log 5: "
             "AccelLog(02.01.2005_09.00.00).CSV\n  log 6: TroubleLog(03.01.2005_10.00.00).CSV"},
        {"EFI: the text logs named, not saved",
         {1, 2, 4, 6},
         {"EFI", false},
         {},
         {},
         "\nWritten:\n  log 1: " + A + ".EFI\n  log 2: " + B +
             ".EFI\nNot saved, EFI files are for Rirod logs only:\n  log 4 (LTrims, "
             "2005-01-01 08:00:00)\n  log 6 (Trouble Codes, 2005-03-01 10:00:00)"},
        {"files that exist skipped",
         {1, 2},
         {"MSL", false},
         {{A + ".MSL", "mine"}},
         {A + ".MSL"},
         "\nWritten:\n  log 2: " + B + ".MSL\nSkipped, the file exists:\n  log 1: " + A + ".MSL"},
        {"files that exist replaced",
         {1, 2},
         {"MLG", true},
         {{A + ".MLG", "mine"}},
         {},
         "\nWritten:\n  log 1: " + A + ".MLG\n  log 2: " + B + ".MLG"},
        {"a log purged meanwhile",
         {2, 99},
         {"TXT", false},
         {},
         {},
         "\nWritten:\n  log 2: " + B + ".TXT\nNo longer in the logbook:\n  log 99"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SaveFixture s;
        for (auto it = c.before.begin(); it != c.before.end(); ++it) {
            QFile file(s.out.filePath(it.key()));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(it.value());
        }
        s.ui.folders = {s.out.path()};
        s.ui.formatChoices = {c.format};
        s.save(c.ids);

        ASSERT_EQ(s.ui.prompts.size(), 3u);
        QStringList offered;
        for (const FormatOffer &f : s.ui.prompts[1].formats)
            offered << f.code;
        EXPECT_EQ(offered, (QStringList{"CSV", "TXT", "EFI", "MSL", "MLG", "PNG", "SVG"}));
        EXPECT_EQ(s.ui.prompts[1].formats[0].description, "Comma-delimited text (*.csv)");
        EXPECT_TRUE(s.ui.prompts[2].text.endsWith(" in " + s.out.path() + c.summary))
            << s.ui.prompts[2].text.toStdString();
        EXPECT_EQ(s.lastStatus, s.ui.prompts[2].text.section(u'\n', 0, 0));

        QStringList ids;
        for (const std::int64_t id : c.ids) // 1 to 3 are the Rirod logs; 99 is none
            if (id <= 3 || (id < 99 && !findOutputFormat(c.format.format)->rirodOnly))
                ids << QString::number(id);
        QMap<QString, QByteArray> expected = s.exported(ids, c.format.format);
        for (const QString &name : c.kept)
            expected[name] = c.before[name];
        EXPECT_EQ(filesIn(s.out.path()), expected);
    }
}

TEST(LogbookSave, OneLogToAFileTheUserNames)
{
    const QString A = "RirodLog(03.07.2004_12.00.00)";
    const struct {
        const char *what;
        std::int64_t id;
        QString typed;    // in the dialog; empty: cancelled
        int filter;       // chosen, from 1
        QString existing; // the file's bytes before; empty: none
        bool replace;     // the answer to the overwrite question
        QString file;     // written; empty: nothing
        QString format;
        int filters; // offered
    } cases[] = {
        {"typed without extension", 1, "trip", 1, {}, false, "trip.csv", "CSV", 7},
        {"a suggested name's dots are no extension", 1, A, 4, {}, false, A + ".msl", "MSL", 7},
        {"typed with one", 2, "trip.txt", 1, {}, false, "trip.txt", "CSV", 7},
        {"a text log: its two formats", 4, "trim", 2, {}, false, "trim.txt", "TXT", 2},
        {"an existing file kept", 1, "trip", 1, "mine", false, {}, "CSV", 7},
        {"an existing file replaced", 1, "trip", 1, "mine", true, "trip.csv", "CSV", 7},
        {"cancelled", 1, {}, 1, {}, false, {}, "CSV", 7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SaveFixture s;
        if (!c.existing.isEmpty()) {
            QFile file(s.out.filePath("trip.csv"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.existing.toUtf8());
            s.ui.answers = {c.replace};
        }
        s.ui.files = {{c.typed.isEmpty() ? QString() : s.out.filePath(c.typed), c.filter}};
        s.save({c.id});

        ASSERT_GE(s.ui.prompts.size(), 1u);
        EXPECT_EQ(s.ui.prompts[0].filters.size(), c.filters);
        const QString listed[] = {
            {}, A, "RirodLog(03.08.2004_12.00.00)", {}, "LTrimLog(01.01.2005_08.00.00)"};
        EXPECT_EQ(s.ui.prompts[0].suggested, QDir::homePath() + "/" + listed[c.id] + ".CSV");
        EXPECT_EQ(s.ui.prompts.size(), c.existing.isEmpty() ? 1u : 2u)
            << s.ui.texts().join('|').toStdString();
        QMap<QString, QByteArray> expected;
        if (!c.existing.isEmpty())
            expected["trip.csv"] = c.existing.toUtf8();
        if (!c.file.isEmpty())
            expected[c.file] = s.exported({QString::number(c.id)}, c.format).first();
        EXPECT_EQ(filesIn(s.out.path()), expected);
    }
}

TEST(LogbookSave, CancelKeepsWhatWasWrittenAndSavesNoMore)
{
    SaveFixture s;
    s.ui.folders = {s.out.path()};
    s.ui.formatChoices = {{"CSV", false}};
    s.host.pressCancelAtYield = 2;
    s.ui.answers = {true}; // stop saving
    s.save({1, 2, 3});
    const QStringList texts = s.ui.texts();
    ASSERT_EQ(texts.size(), 5) << texts.join('|').toStdString();
    EXPECT_EQ(texts[3], "Save operation canceled");
    EXPECT_TRUE(texts[4].endsWith("Cancelled: the logs after the last one written were not saved."))
        << texts[4].toStdString();
    EXPECT_EQ(filesIn(s.out.path()).keys(), QStringList{"RirodLog(03.07.2004_12.00.00).CSV"});

    // Nothing chosen, nothing written, no box.
    for (const bool folderChosen : {false, true}) {
        SaveFixture again;
        again.ui.folders = {folderChosen ? again.out.path() : QString()};
        again.ui.formatChoices = {{}};
        again.save({1, 2});
        EXPECT_EQ(again.ui.prompts.size(), folderChosen ? 2u : 1u);
        EXPECT_TRUE(filesIn(again.out.path()).isEmpty());
    }
}

} // namespace
} // namespace vexa::test
