// The table of output formats against what the main window's dialogs offer
// and what vexa-export accepts.
#include "export/OutputFormat.h"
#include "export/SaveCommand.h"
#include "support/ExportToolRun.h"
#include "support/QtPrinters.h"
#include "support/TestHandheld.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

QStringList codes(const QList<const OutputFormat *> &formats)
{
    QStringList all;
    for (const OutputFormat *format : formats)
        all << format->code;
    return all;
}

// In the order each dialog lists them; the save-location dialog tells the
// format by the last seven characters of its combo text.
TEST(OutputFormats, EachDialogOffersItsRowsInOrder)
{
    const struct {
        LogKind kind;
        QStringList codes;
        QStringList fileDialog; // "description|pattern"
        QStringList saveLocation;
    } tabs[] = {
        {LogKind::Rirod,
         {"CSV", "TXT", "EFI"},
         {"Comma-delimited (*.csv)|*.csv", "Space-delimited (*.txt)|*.txt",
          "EFILive format(*.efi)|*.efi"},
         {"Comma-delimited (*.csv)", "Space-delimited (*.txt)", "EFILive format(*.efi)"}},
        {LogKind::LTrim, {"TXT"}, {"Text file (*.txt)|*.txt"}, {"Space-delimited (*.txt)"}},
        {LogKind::AccelTest, {"TXT"}, {"Text file (*.txt)|*.txt"}, {"Space-delimited (*.txt)"}},
        {LogKind::TroubleCode, {"TXT"}, {"Text file (*.txt)|*.txt"}, {"Space-delimited (*.txt)"}},
    };
    for (const auto &tab : tabs) {
        const bool rirod = tab.kind == LogKind::Rirod;
        SCOPED_TRACE(logKindInfo(tab.kind).caption);
        const QList<const OutputFormat *> offered = windowFormats(rirod);
        EXPECT_EQ(codes(offered), tab.codes);
        QStringList fileDialog;
        for (const FileFilter &filter : saveFileFilters(tab.kind))
            fileDialog << filter.description + "|" + filter.pattern;
        EXPECT_EQ(fileDialog, tab.fileDialog);
        QStringList saveLocation;
        for (const OutputFormat *format : offered)
            saveLocation << format->saveLocationText;
        EXPECT_EQ(saveLocation, tab.saveLocation);
    }
    QStringList endings;
    for (const OutputFormat &format : outputFormats()) {
        if (format.saveLocationText.isEmpty())
            continue;
        const QString ending = format.saveLocationText.right(7);
        EXPECT_EQ(ending, "(*." + format.extension().toLower() + ")") << qPrintable(format.code);
        EXPECT_FALSE(endings.contains(ending)) << qPrintable(format.code);
        endings << ending;
    }
}

TEST(OutputFormats, TheBatchToolAcceptsExactlyTheTableCodes)
{
    TestHandheld handheld;
    QTemporaryDir out;
    const QString nowhere = out.filePath("nowhere");
    for (const OutputFormat &format : outputFormats()) {
        SCOPED_TRACE(format.code.toStdString());
        // Past the command line, it stops at the folder.
        const ToolRun rirod =
            exportTool({"--all", "--format", format.code.toLower(), "--out", nowhere});
        EXPECT_EQ(rirod.exitCode, 1) << rirod.err.constData();
        EXPECT_TRUE(rirod.err.contains("is not a folder")) << rirod.err.constData();
        const ToolRun trims =
            exportTool({"--tab", "1", "--all", "--format", format.code, "--out", nowhere});
        EXPECT_EQ(trims.exitCode, format.rirodOnly ? 2 : 1) << trims.err.constData();
    }
    for (const char *code : {"CS", "CSVX", "EFILive", "JPG"}) {
        const ToolRun run = exportTool({"--all", "--format", code, "--out", nowhere});
        EXPECT_EQ(run.exitCode, 2) << code;
        EXPECT_TRUE(run.err.contains("--format takes")) << run.err.constData();
    }
}

} // namespace
} // namespace vexa::test
