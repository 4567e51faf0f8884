// The sync component as the program uses it: record order, byte reads,
// users and folders, and its errors.
#include "DockedHandheld.h"
#include "HandheldToolRun.h"

#include <gtest/gtest.h>

namespace vexasync::test {
namespace {

// Records {0}, {1}, ... {n-1}.
std::shared_ptr<vexasync::RecordAdapter> numbered(const DockedHandheld &handheld, int n)
{
    std::vector<Bytes> records;
    for (int i = 0; i < n; ++i)
        records.push_back({static_cast<std::uint8_t>(i)});
    handheld.add("Numbers", records);
    return handheld.open("Numbers");
}

// Deletes, appends and in-place writes as the delete and restore commands
// make them.
TEST(Component, RecordsKeepTheirIdsAndCloseUpOnDelete)
{
    DockedHandheld handheld;
    auto db = numbered(handheld, 5);
    const vexasync::RecordId second = db->readByIndex(1).id;
    const vexasync::RecordId fourth = db->readByIndex(3).id;
    db->remove(second);
    EXPECT_EQ(db->readById(fourth).index, 2);
    EXPECT_EQ(errorNumber([&] { db->remove(second); }), vexasync::error::NotFound);
    db->write(fourth, 0x40, 7, Bytes{9});
    EXPECT_EQ(db->readByIndex(2).id, fourth);
    EXPECT_EQ(db->readByIndex(2).attributes, 0x40u);
    const vexasync::RecordId added = db->write(0, 0, 0, Bytes{5});
    EXPECT_EQ(handheld.records("Numbers"), (std::vector<Bytes>{{0}, {2}, {9}, {4}, {5}}));
    EXPECT_EQ(db->idsOfRange(3, 10),
              (std::vector<vexasync::RecordId>{db->readByIndex(3).id, added}));
    EXPECT_TRUE(db->idsOfRange(5, 1).empty());
    EXPECT_EQ(errorNumber([&] { db->idsOfRange(-1, 2); }), vexasync::error::InvalidArgument);
}

TEST(Component, ByteReadsStopAtTheEndsOfARecord)
{
    DockedHandheld handheld;
    auto bytes = handheld.component().createByteUtility();
    const Bytes b{0x12, 0x34, 0xFF, 0xFE, 'A', 'B', 0, 'C'};
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
    EXPECT_EQ(written, (Bytes{0x02, 0x01, 0xFF, 0xFE, 'A', 'B', 0xFF, 0xFE}));
}

TEST(Component, FailuresCarryTheirNumbersAndDescriptions)
{
    DockedHandheld handheld;
    auto opener = handheld.component().createDatabaseOpener();
    // Its description is what vexa-handheld prints for a missing database.
    EXPECT_EQ(errorNumber([&] {
                  opener->open("Missing", vexasync::RecordAdapterClass,
                               vexasync::mode::ReadWriteDelete);
              }),
              vexasync::error::NotFound);
    EXPECT_EQ(errorNumber([&] { opener->open("Missing", "Other.Class", 208); }), 429);
    EXPECT_EQ(errorNumber([&] { handheld.create(std::string(31, 'N')); }), 0);
    EXPECT_EQ(errorNumber([&] { handheld.create(std::string(32, 'N')); }),
              vexasync::error::InvalidArgument);

    handheld.add("Numbers", {Bytes{1}});
    auto readOnly = opener->open("Numbers", vexasync::RecordAdapterClass, vexasync::mode::Read);
    EXPECT_EQ(errorNumber([&] { readOnly->write(0, 0, 0, Bytes{1}); }),
              vexasync::error::AccessDenied);
    EXPECT_EQ(errorNumber([&] { readOnly->readByIndex(1); }), vexasync::error::NotFound);
    EXPECT_EQ(errorNumber([&] { readOnly->readByIndex(-1); }), vexasync::error::NotFound);
}

// Before, opening ran the schema and turned these into empty handhelds.
TEST(Component, ADamagedImageCantBeReadAndStaysAsItWas)
{
    using Damage = DockedHandheld::Damage;
    for (const Damage damage :
         {Damage::RecordsTableDropped, Damage::EmptyFile, Damage::NotSqlite}) {
        for (const std::int32_t mode : {vexasync::mode::Read, vexasync::mode::ReadWriteDelete}) {
            DockedHandheld handheld;
            handheld.add("RirodIndex", {Bytes{1}});
            handheld.damage(damage);
            const std::string before = handheld.imageBytes();
            auto opener = handheld.component().createDatabaseOpener();
            try {
                opener->open("RirodIndex", vexasync::RecordAdapterClass, mode);
                ADD_FAILURE() << "opened damaged image " << int(damage);
            } catch (const Error &e) {
                EXPECT_EQ(e.number(), vexasync::error::StorageFailure);
                const std::string start =
                    "The handheld image " + handheld.imagePath() + " can't be read (";
                EXPECT_EQ(std::string(e.what()).substr(0, start.size()), start);
            }
            EXPECT_EQ(handheld.imageBytes(), before) << int(damage);
        }
    }
}

TEST(Component, SyncIsInProgressOnlyWhileADockedHandheldExists)
{
    DockedHandheld handheld;
    auto status = handheld.component().createSyncStatus();
    EXPECT_TRUE(status->inProgress());
    EXPECT_EQ(status->dockedUser(), handheld.user().id);
    handheld.undock();
    EXPECT_FALSE(status->inProgress());
    EXPECT_EQ(status->dockedUser(), 0u);
    EXPECT_EQ(errorNumber([&] { handheld.open("RirodIndex"); }), vexasync::error::NotDocked);

    handheld.component().createDesktop()->dock(handheld.user().id);
    EXPECT_TRUE(status->inProgress());
    ASSERT_TRUE(std::filesystem::remove(handheld.imagePath()));
    EXPECT_FALSE(status->inProgress()) << "the handheld was pulled out";
    EXPECT_EQ(status->dockedUser(), handheld.user().id) << "its user stays docked";
}

// The tool's import: a record per line in hex, '-' for an empty record.
TEST(Component, ChangesByAnotherProcessAreSeen)
{
    DockedHandheld handheld;
    auto db = numbered(handheld, 2);
    EXPECT_EQ(db->recordCount(), 2);
    ASSERT_EQ(runHandheldTool({"import", "Numbers"}, "07\n08 ff\n-\n\n0d0A\n").exitCode, 0);
    EXPECT_EQ(db->recordCount(), 6);
    EXPECT_EQ(
        handheld.records("Numbers"),
        (std::vector<Bytes>{Bytes{0}, Bytes{1}, Bytes{7}, Bytes{8, 0xFF}, {}, Bytes{0x0D, 0x0A}}));
}

} // namespace
} // namespace vexasync::test
