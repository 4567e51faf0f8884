// The sync component as the program uses it: record order, byte reads,
// users and folders, and its errors.
#include "support/TestHandheld.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

using vexasync::Error;

Bytes bytesOf(std::initializer_list<int> values)
{
    Bytes b;
    for (const int v : values)
        b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

// Records {0}, {1}, ... {n-1}.
std::shared_ptr<vexasync::RecordAdapter> numbered(const TestHandheld &handheld, int n)
{
    std::vector<Bytes> records;
    for (int i = 0; i < n; ++i)
        records.push_back(bytesOf({i}));
    handheld.add("Numbers", records);
    return handheld.open("Numbers");
}

std::vector<int> contents(vexasync::RecordAdapter &db)
{
    std::vector<int> values;
    for (std::int32_t i = 0; i < db.recordCount(); ++i)
        values.push_back(db.readByIndex(i).bytes.at(0));
    return values;
}

std::int32_t errorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Error &e) {
        return e.number();
    }
    return 0;
}

// Deletes, appends and in-place writes as the delete and restore commands
// make them.
TEST(Component, RecordsKeepTheirIdsAndCloseUpOnDelete)
{
    TestHandheld handheld;
    auto db = numbered(handheld, 5);
    const vexasync::RecordId second = db->readByIndex(1).id;
    const vexasync::RecordId fourth = db->readByIndex(3).id;
    db->remove(second);
    EXPECT_EQ(db->readById(fourth).index, 2);
    EXPECT_EQ(errorNumber([&] { db->remove(second); }), vexasync::error::NotFound);
    db->write(fourth, 0x40, 7, bytesOf({9}));
    EXPECT_EQ(db->readByIndex(2).id, fourth);
    EXPECT_EQ(db->readByIndex(2).attributes, 0x40u);
    const vexasync::RecordId added = db->write(0, 0, 0, bytesOf({5}));
    EXPECT_EQ(contents(*db), (std::vector<int>{0, 2, 9, 4, 5}));
    EXPECT_EQ(db->idsOfRange(3, 10),
              (std::vector<vexasync::RecordId>{db->readByIndex(3).id, added}));
    EXPECT_TRUE(db->idsOfRange(5, 1).empty());
    EXPECT_EQ(errorNumber([&] { db->idsOfRange(-1, 2); }), vexasync::error::InvalidArgument);
}

TEST(Component, ByteReadsStopAtTheEndsOfARecord)
{
    TestHandheld handheld;
    auto bytes = handheld.component().createByteUtility();
    const Bytes b = bytesOf({0x12, 0x34, 0xFF, 0xFE, 'A', 'B', 0, 'C'});
    EXPECT_EQ(bytes->readInt16(b, 0, true), 0x1234);
    EXPECT_EQ(bytes->readInt16(b, 0, false), 0x3412);
    EXPECT_EQ(bytes->readInt16(b, 2, true), -2);
    EXPECT_EQ(bytes->readInt16(b, 6, true), 0x0043);
    EXPECT_EQ(bytes->readInt32(b, 0, true), 0x1234FFFE);
    EXPECT_EQ(bytes->readInt32(b, 4, true), 0x41420043);
    EXPECT_EQ(bytes->readText(b, 4, 999), "AB");
    EXPECT_EQ(bytes->readText(b, 4, 1), "A");
    EXPECT_EQ(bytes->readText(b, 7, 999), "C");
    EXPECT_EQ(bytes->readText(b, 8, 999), "");

    const struct {
        const char *what;
        std::function<void()> read;
    } pastEnd[] = {
        {"16-bit at the last byte", [&] { bytes->readInt16(b, 7, true); }},
        {"32-bit three bytes from the end", [&] { bytes->readInt32(b, 5, true); }},
        {"text past the end", [&] { bytes->readText(b, 9, 999); }},
        {"16-bit far past the end", [&] { bytes->readInt16(b, std::size_t(-1), true); }},
        {"16-bit write at the last byte",
         [&] {
             Bytes copy = b;
             bytes->writeInt16(copy, 7, true, 1);
         }},
    };
    for (const auto &c : pastEnd)
        EXPECT_EQ(errorNumber(c.read), vexasync::error::PastRecordEnd) << c.what;

    Bytes written = b;
    bytes->writeInt16(written, 6, true, -2);
    bytes->writeInt16(written, 0, false, 0x0102);
    EXPECT_EQ(written, bytesOf({0x02, 0x01, 0xFF, 0xFE, 'A', 'B', 0xFF, 0xFE}));
}

TEST(Component, FailuresCarryTheirNumbersAndDescriptions)
{
    TestHandheld handheld;
    auto opener = handheld.component().createDatabaseOpener();
    try {
        opener->open("Missing", vexasync::RecordAdapterClass, vexasync::mode::ReadWriteDelete);
        FAIL() << "a missing database opened";
    } catch (const Error &e) {
        EXPECT_EQ(e.number(), vexasync::error::NotFound);
        EXPECT_STREQ(e.what(), "Database, record, etc. not found");
    }
    EXPECT_EQ(errorNumber([&] { opener->open("Missing", "Other.Class", 208); }), 429);
    EXPECT_EQ(errorNumber([&] { handheld.create(std::string(31, 'N')); }), 0);
    EXPECT_EQ(errorNumber([&] { handheld.create(std::string(32, 'N')); }),
              vexasync::error::InvalidArgument);

    handheld.add("Numbers", {bytesOf({1})});
    auto readOnly = opener->open("Numbers", vexasync::RecordAdapterClass, vexasync::mode::Read);
    EXPECT_EQ(errorNumber([&] { readOnly->write(0, 0, 0, bytesOf({1})); }),
              vexasync::error::AccessDenied);
    EXPECT_EQ(errorNumber([&] { readOnly->readByIndex(1); }), vexasync::error::NotFound);
    EXPECT_EQ(errorNumber([&] { readOnly->readByIndex(-1); }), vexasync::error::NotFound);
}

// Before, opening ran the schema and turned these into empty handhelds.
TEST(Component, ADamagedImageCantBeReadAndStaysAsItWas)
{
    using Damage = TestHandheld::Damage;
    for (const Damage damage :
         {Damage::RecordsTableDropped, Damage::EmptyFile, Damage::NotSqlite}) {
        for (const std::int32_t mode : {vexasync::mode::Read, vexasync::mode::ReadWriteDelete}) {
            TestHandheld handheld;
            handheld.add("RirodIndex", {bytesOf({1})});
            handheld.damage(damage);
            const QByteArray before = handheld.imageBytes();
            auto opener = handheld.component().createDatabaseOpener();
            try {
                opener->open("RirodIndex", vexasync::RecordAdapterClass, mode);
                ADD_FAILURE() << "opened damaged image " << int(damage);
            } catch (const Error &e) {
                EXPECT_EQ(e.number(), vexasync::error::StorageFailure);
                EXPECT_TRUE(QString(e.what()).startsWith(QString::fromStdString(
                    "The handheld image " + handheld.imagePath() + " can't be read (")))
                    << e.what();
            }
            EXPECT_EQ(handheld.imageBytes(), before) << int(damage);
        }
    }
}

TEST(Component, SyncIsInProgressOnlyWhileADockedHandheldExists)
{
    TestHandheld handheld;
    auto status = handheld.component().createSyncStatus();
    EXPECT_TRUE(status->inProgress());
    EXPECT_EQ(status->dockedUser(), handheld.user().id);
    handheld.undock();
    EXPECT_FALSE(status->inProgress());
    EXPECT_EQ(status->dockedUser(), 0u);
    EXPECT_EQ(errorNumber([&] { handheld.open("RirodIndex"); }), vexasync::error::NotDocked);

    handheld.component().createDesktop()->dock(handheld.user().id);
    EXPECT_TRUE(status->inProgress());
    ASSERT_TRUE(QFile::remove(QString::fromStdString(handheld.imagePath())));
    EXPECT_FALSE(status->inProgress()) << "the handheld was pulled out";
    EXPECT_EQ(status->dockedUser(), handheld.user().id) << "its user stays docked";
}

QString tool()
{
    return QCoreApplication::applicationDirPath() + "/vexa-handheld";
}

int runTool(const QStringList &args, const QByteArray &input = {}, QByteArray *out = nullptr,
            QByteArray *err = nullptr)
{
    QProcess p;
    p.start(tool(), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    if (out)
        *out = p.readAllStandardOutput();
    if (err)
        *err = p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// The tool's import: a record per line in hex, '-' for an empty record.
TEST(Component, ChangesByAnotherProcessAreSeen)
{
    TestHandheld handheld;
    auto db = numbered(handheld, 2);
    EXPECT_EQ(db->recordCount(), 2);
    ASSERT_EQ(runTool({"import", "Numbers"}, "07\n08 ff\n-\n\n0d0A\n"), 0);
    EXPECT_EQ(db->recordCount(), 6);
    EXPECT_EQ(handheld.records("Numbers"), (std::vector<Bytes>{bytesOf({0}),
                                                               bytesOf({1}),
                                                               bytesOf({7}),
                                                               bytesOf({8, 0xFF}),
                                                               {},
                                                               bytesOf({0x0D, 0x0A})}));
}

TEST(HandheldTool, BadInputIsRefusedWithAMessage)
{
    TestHandheld handheld;
    handheld.add("Kept", {bytesOf({5})});
    const struct {
        QStringList args;
        QByteArray input;
        const char *message;
    } cases[] = {
        {{"import", "Kept"}, "0102\n0A0\n", "line 2: odd number of hex digits"},
        {{"import", "Kept"}, "zz\n", "line 1: 'z' is not a hexadecimal digit"},
        {{"dock", "Nobody"}, {}, "Unknown user Nobody"},
        {{"dump", "Missing"}, {}, "Database, record, etc. not found"},
        {{"frobnicate"}, {}, "unknown command"},
        {{"dock"}, {}, "usage"},
    };
    for (const auto &c : cases) {
        QByteArray err;
        EXPECT_NE(runTool(c.args, c.input, nullptr, &err), 0) << c.message;
        EXPECT_TRUE(err.contains(c.message)) << err.constData();
    }
    EXPECT_EQ(handheld.records("Kept"), std::vector<Bytes>{bytesOf({5})}) << "nothing imported";

    handheld.undock();
    QByteArray err;
    EXPECT_NE(runTool({"dump", "Kept"}, {}, nullptr, &err), 0);
    EXPECT_TRUE(err.contains("No handheld is docked")) << err.constData();
}

// The component can't know the logger's logs, so these are no aliases.
TEST(HandheldTool, MovedCommandsNameTheirNewHome)
{
    TestHandheld handheld;
    const QByteArray image = handheld.imageBytes();
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{"demo"}, "vexa-handheld: 'demo' moved: use 'vexa-logbook demo'\n"},
        {{"archive", "list"}, "vexa-handheld: 'archive' moved: use 'vexa-logbook archive'\n"},
        {{"restore", "--all"}, "vexa-handheld: 'restore' moved: use 'vexa-logbook restore'\n"},
        {{"demo", "--help"}, "vexa-handheld: 'demo' moved: use 'vexa-logbook demo'\n"},
    };
    for (const auto &c : cases) {
        QByteArray out, err;
        EXPECT_EQ(runTool(c.args, {}, &out, &err), 2) << c.message;
        EXPECT_EQ(out, "");
        EXPECT_EQ(err, c.message);
    }
    EXPECT_EQ(handheld.imageBytes(), image);
    EXPECT_EQ(handheld.component().createDesktop()->users().size(), 1u) << "no demo user";
}

} // namespace
} // namespace vexa::test
