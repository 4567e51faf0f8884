// Change groups: applied whole or not at all, and nested. (A crash inside
// one is the delete tests' business.)
#include "DockedHandheld.h"

#include <gtest/gtest.h>

namespace vexasync::test {
namespace {

std::vector<Bytes> sequence(int n, int start = 0)
{
    std::vector<Bytes> records;
    for (int i = 0; i < n; ++i)
        records.push_back({static_cast<std::uint8_t>((start + i) & 0xFF),
                           static_cast<std::uint8_t>((start + i) >> 8)});
    return records;
}

struct TwoDatabases {
    DockedHandheld handheld;
    std::shared_ptr<RecordAdapter> a, b;
    TwoDatabases()
    {
        handheld.add("A", sequence(5));
        handheld.add("B", sequence(5, 100));
        a = handheld.open("A");
        b = handheld.open("B");
    }
    // Deletes the first record of A, appends one, and rewrites the first of B.
    void change()
    {
        a->remove(a->readByIndex(0).id);
        a->write(0, 0, 0, Bytes{9});
        b->write(b->readByIndex(0).id, 1, 2, Bytes{42});
    }
};

TEST(ChangeGroup, CommitKeepsAndRollbackUndoesEveryDatabase)
{
    for (const bool commit : {true, false}) {
        TwoDatabases db;
        db.b->beginGroup(); // a group spans the handheld, whichever adapter opens it
        db.change();
        if (commit)
            db.a->commitGroup();
        else
            db.b->rollbackGroup();
        std::vector<Bytes> changedA = sequence(4, 1);
        changedA.push_back({9});
        std::vector<Bytes> changedB = sequence(5, 100);
        changedB[0] = {42};
        EXPECT_EQ(db.handheld.records("A"), commit ? changedA : sequence(5)) << commit;
        EXPECT_EQ(db.handheld.records("B"), commit ? changedB : sequence(5, 100)) << commit;
        EXPECT_EQ(db.a->readByIndex(0).bytes, commit ? changedA[0] : sequence(1)[0])
            << "the adapter forgot what was undone";
    }
}

TEST(ChangeGroup, AnInnerGroupCanBeUndoneAlone)
{
    TwoDatabases db;
    db.a->beginGroup();
    db.a->remove(db.a->readByIndex(4).id);
    db.a->beginGroup();
    EXPECT_EQ(db.a->groupDepth(), 2);
    db.change();
    db.a->rollbackGroup();
    EXPECT_EQ(db.a->groupDepth(), 1);
    EXPECT_EQ(db.a->recordCount(), 4);
    db.a->commitGroup();
    EXPECT_EQ(db.a->groupDepth(), 0);
    EXPECT_EQ(db.handheld.records("A"), sequence(4));
    EXPECT_EQ(db.handheld.records("B"), sequence(5, 100));
    EXPECT_EQ(errorNumber([&] { db.a->commitGroup(); }), error::NoChangeGroup);
}

} // namespace
} // namespace vexasync::test
