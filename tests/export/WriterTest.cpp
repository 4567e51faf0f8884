// The scan writers against reference files, and what they share: an empty
// log, bad records, a failing disk, Cancel.
#include "catalogue/EfiLogWriter.h"
#include "core/RuntimeError.h"
#include "export/LogFile.h"
#include "format/OleDate.h"
#include "support/ExportFixture.h"
#include "support/FailingDevice.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace vexa::test {
namespace {

const Writer AllWriters[] = {Writer::Csv, Writer::Txt, Writer::Efi, Writer::Msl, Writer::Mlg};

// With one progress text per scan.
TEST(Writers, MatchTheReferenceFiles)
{
    const struct {
        const char *log;
        Writer writer;
        const char *expected;
        int scans;
    } cases[] = {
        {"ect-two-scans", Writer::Csv, "ect-two-scans.csv", 2}, // 8 lines
        {"ect-two-scans", Writer::Txt, "ect-two-scans.txt", 2}, // 7 lines
        {"ect-two-scans", Writer::Efi, "ect-two-scans.efi", 2}, // 1317 bytes
        {"night-run", Writer::Csv, "night-run.csv", 4},
        {"night-run", Writer::Txt, "night-run.txt", 4},
        {"ect-two-scans", Writer::Msl, "ect-two-scans.msl", 2},
        {"ect-two-scans", Writer::Mlg, "ect-two-scans.mlg", 2},
        {"night-run", Writer::Msl, "night-run.msl", 4}, // gaps, an unknown number
        {"night-run", Writer::Mlg, "night-run.mlg", 4},
    };
    for (const auto &c : cases) {
        ExportFixture f;
        addLogCase(f.handheld, readLogCase(dataPath(QString("export/%1.log").arg(c.log))));
        const ScanRun run = f.write(c.writer, f.entry());
        EXPECT_FALSE(run.cancelled);
        EXPECT_TRUE(sameBytes(readFile(dataPath(QString("export/") + c.expected)), f.written()))
            << c.expected;
        EXPECT_EQ(f.statuses.size(), c.scans) << c.expected;
        EXPECT_EQ(f.statuses.last(), QString("Saving scan %1 of %1").arg(c.scans));
        EXPECT_EQ(f.host.yields(), c.scans);
    }
}

// A negative count is no logger's, but a record can hold one.
TEST(Writers, ALogOfNoScansHasItsHeadersOnly)
{
    for (const int scanCount : {0, -3}) {
        for (const Writer writer : AllWriters) {
            SCOPED_TRACE(testing::Message() << writerName(writer) << " " << scanCount);
            ExportFixture f;
            f.handheld.add("RirodData", {scanRecord(10, {})});
            f.handheld.add("RirodIndex", {rirodIndexRecord({2004, 1, 1, 0, 0, 0}, scanCount, 1,
                                                           {15, 0, 2}, "x")});
            EXPECT_EQ(f.write(writer, f.entry()).written, 0);
            const QByteArray out = f.written();
            if (writer == Writer::Efi) {
                EXPECT_EQ(out.size(), 1155 + 144 * 2);
                EXPECT_EQ(out.mid(efiScanCountOffset(2), 4), QByteArray::fromHex("00000000"));
            } else if (writer == Writer::Msl) {
                EXPECT_EQ(out.count("\r\n"), 4);
                EXPECT_TRUE(out.endsWith("s\tRPM\tDEGF\r\n"));
            } else if (writer == Writer::Mlg) {
                // Time, RPM and ECT, then the description and its NUL.
                EXPECT_EQ(out.size(), 22 + 55 * 3 + 17);
                EXPECT_TRUE(out.endsWith(QByteArray("VEXA scan log: x", 17)));
            } else {
                EXPECT_EQ(out.count("\r\n"), writer == Writer::Csv ? 6 : 5);
                EXPECT_TRUE(out.endsWith("\r\n\r\n"));
            }
        }
    }
}

TEST(Writers, BadRecordsEndTheSaveWithAClearError)
{
    Channels nan{};
    nan[0].value = std::numeric_limits<float>::quiet_NaN();
    Channels huge{};
    huge[0].value = 3.0e38f;
    const struct {
        const char *what;
        Bytes record;
        std::int32_t number;
        bool efiOnly;
    } cases[] = {
        {"a 40-byte record", Bytes(40, 0), ErrorNumber::SubscriptOutOfRange, false},
        {"ScanTime 3277", scanRecord(3277, {}), ErrorNumber::Overflow, false},
        {"ScanTime -3277", scanRecord(-3277, {}), ErrorNumber::Overflow, false},
        {"a NaN value", scanRecord(10, nan), ErrorNumber::Overflow, true},
        {"a raw sample past 32 bits", scanRecord(10, huge), ErrorNumber::Overflow, true},
    };
    for (const auto &c : cases) {
        for (const Writer writer : AllWriters) {
            ExportFixture f;
            f.handheld.add("RirodData", {scanRecord(10, {}), c.record, scanRecord(10, {})});
            f.handheld.add("RirodIndex",
                           {rirodIndexRecord({2004, 1, 1, 0, 0, 0}, 3, 1, {15}, "x")});
            bool failed = false;
            try {
                f.write(writer, f.entry());
            } catch (const RuntimeError &e) {
                failed = true;
                EXPECT_EQ(e.number(), c.number) << c.what << " in " << writerName(writer);
            }
            EXPECT_EQ(failed, !c.efiOnly || writer == Writer::Efi)
                << c.what << " in " << writerName(writer);
        }
    }
}

TEST(Writers, AFailingDiskIsAnError)
{
    for (const Writer writer : AllWriters) {
        const qint64 size = readFile(dataPath(QString("export/ect-two-scans.") +
                                              QString(writerName(writer)).toLower()))
                                .size();
        for (const qint64 capacity : {qint64{0}, qint64{50}, size - 5}) {
            ExportFixture f;
            addLogCase(f.handheld, readLogCase(dataPath("export/ect-two-scans.log")));
            FailingDevice disk(capacity);
            try {
                f.write(writer, f.entry(), &disk);
                ADD_FAILURE() << writerName(writer) << " wrote past " << capacity << " bytes";
            } catch (const RuntimeError &e) {
                EXPECT_EQ(e.number(), ErrorNumber::DeviceIoError);
                EXPECT_EQ(e.description(), "Device I/O error: No space left on device");
            }
            if (writer == Writer::Efi && capacity > 1200) {
                // The first scan record was written whole: the header says one.
                EXPECT_EQ(disk.data().mid(efiScanCountOffset(1), 4),
                          QByteArray::fromHex("01000000"));
            }
        }
    }
}

// A log of five scans, Cancel pressed during scan 2.
TEST(Writers, CancelStopsAfterTheCurrentScan)
{
    for (const Writer writer : AllWriters) {
        for (const bool yes : {true, false}) {
            ExportFixture f;
            addRirodLog(f.handheld, {{2004, 3, 7, 14, 5, 9}, "Five", {15, 2}, 5});
            f.host.pressCancelAtYield = 2;
            f.ui.answers = {yes};
            const ScanRun run = f.write(writer, f.entry());
            EXPECT_EQ(f.ui.texts(), QStringList{"Cancel log save - Are you sure?"});
            EXPECT_EQ(run.cancelled, yes);
            EXPECT_EQ(run.written, yes ? 2 : 5) << writerName(writer);
            EXPECT_FALSE(f.host.cancelRequested() && !yes) << "No clears the request";
            const QByteArray out = f.written();
            if (writer == Writer::Efi) {
                // The header counts the records that follow it: 2 of 5 after a cancel.
                const int d = 3; // RPM 2 bytes, ECT 1
                EXPECT_EQ(out.size(), 1155 + 144 * 2 + (d + 8) * run.written);
                EXPECT_EQ(out.mid(efiScanCountOffset(2), 4),
                          QByteArray::fromHex(yes ? "02000000" : "05000000"));
            } else if (writer == Writer::Msl) {
                EXPECT_EQ(out.count("\r\n"), 4 + run.written);
            } else if (writer == Writer::Mlg) {
                // Time, RPM and ECT: blocks of 4 + 3 x 4 + 1 bytes.
                EXPECT_EQ(out.size(), 22 + 55 * 3 + 20 + 17 * run.written);
            } else {
                EXPECT_EQ(out.count("\r\n"), (writer == Writer::Csv ? 6 : 5) + run.written);
            }
        }
    }
}

TEST(LogFile, TextLogsAreTheirDateAndText)
{
    ExportFixture f;
    f.handheld.add("TCodeLog",
                   {textLogRecord({2004, 3, 7, 14, 5, 9}, "P0171 \x93lean\x94\r\nP0174")});
    const LogIndexEntry e =
        readIndexEntry(*f.bytes, f.handheld.open("TCodeLog")->readByIndex(0), LogKind::TroubleCode);
    QTemporaryDir dir;
    ExportContext context = f.context();
    for (const QString format : {"CSV", "TXT"}) {
        ASSERT_TRUE(saveLogFile(dir.filePath("t"), LogKind::TroubleCode, format, e, context));
        EXPECT_EQ(readFile(dir.filePath("t")),
                  "3/7/2004 2:05:09 PM\r\nP0171 \x93lean\x94\r\nP0174\r\n");
    }
    EXPECT_FALSE(saveLogFile(dir.filePath("none"), LogKind::TroubleCode, "EFI", e, context));
    EXPECT_FALSE(saveLogFile(dir.filePath("none"), LogKind::Rirod, QString(), e, context));
    EXPECT_FALSE(QFile::exists(dir.filePath("none")));
    EXPECT_TRUE(f.statuses.isEmpty()) << "no scan progress for text logs";
}

TEST(LogFile, AFolderThatCantBeWrittenIsAnError)
{
    ExportFixture f;
    addLogCase(f.handheld, readLogCase(dataPath("export/ect-two-scans.log")));
    QTemporaryDir dir;
    ExportContext context = f.context();
    const struct {
        QString path;
        std::int32_t number;
    } cases[] = {
        {dir.filePath("missing/log.CSV"), ErrorNumber::PathNotFound},
        {dir.path(), ErrorNumber::PathFileAccessError}, // a folder, not a file
    };
    for (const auto &c : cases) {
        try {
            saveLogFile(c.path, LogKind::Rirod, "CSV", f.entry(), context);
            ADD_FAILURE() << c.path.toStdString();
        } catch (const RuntimeError &e) {
            EXPECT_EQ(e.number(), c.number) << c.path.toStdString();
        }
    }
}

// Rirod and Accel names, and folders with and without their separator, go
// through the save command and vexa-export.
TEST(LogFile, NamesForSeveralLogs)
{
    LogIndexEntry e;
    e.logDate = oledate::fromDate(2004, 3, 7);
    e.logTime = oledate::fromTime(14, 5, 9);
    EXPECT_EQ(multiLogFileName("", LogKind::LTrim, e, "TXT"), "LTrimLog(03.07.2004_14.05.09).TXT");
    EXPECT_EQ(multiLogFileName("", LogKind::TroubleCode, e, "TXT"),
              "TroubleLog(03.07.2004_14.05.09).TXT");
    EXPECT_EQ(withTrailingSeparator("/"), "/");
}

} // namespace
} // namespace vexa::test
