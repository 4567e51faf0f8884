// The table of output formats against what the main window's dialogs offer
// and what vexa-export accepts.
#include "export/OutputFormat.h"
#include "support/ExportToolRun.h"
#include "support/QtPrinters.h"
#include "support/TestHandheld.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

// What each dialog offers is checked in the dialogs' tests; the save-location
// dialog tells the format by the last seven characters of its combo text.
TEST(OutputFormats, EachSaveLocationTextEndsInItsOwnPattern)
{
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
