// The start-up check for older copies of the logger program, on backup
// folders made in a temporary sync root.
#include "desktop/DuplicateCheck.h"
#include "core/RuntimeError.h"
#include "store/SyncComponent.h"
#include "support/LogRecords.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vexa::test {
namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

// Fails its n-th deletion.
class FailingFiles final : public FileSystem {
public:
    explicit FailingFiles(int failAt) : m_failAt(failAt) {}
    QStringList matchingFiles(const QString &folder, const QString &pattern) override
    {
        return m_local.matchingFiles(folder, pattern);
    }
    QDateTime modificationTime(const QString &path) override
    {
        return m_local.modificationTime(path);
    }
    void remove(const QString &path) override
    {
        if (++m_removes == m_failAt)
            throw RuntimeError(ErrorNumber::PermissionDenied, "Permission denied: " + path);
        m_local.remove(path);
    }

private:
    LocalFileSystem m_local;
    int m_failAt;
    int m_removes = 0;
};

// Runs the check with the answer ready; the texts of the boxes it showed.
QStringList boxesOfCheck(FileSystem &&files, bool answer = true,
                         const SyncComponent &sync = SyncComponent())
{
    ScriptedUi ui;
    ui.answers = {answer};
    runDuplicateCheck(sync, ui, files);
    return ui.texts();
}

const QString Question =
    "Multiple copies of the VEXA program have been found for user 'Test User'.  "
    "Would you like to delete the older copies?";

TEST(DuplicateCheck, KeepsTheNewestCopyOfOneUser)
{
    const struct {
        const char *what;
        std::vector<ProgramCopy> copies;
        bool asked;
        QStringList remaining;
    } cases[] = {
        // clang-format off
        {"no copy", {}, false, {}},
        {"one copy", {{"vexa.prc", 5}}, false, {"vexa.prc"}},
        {"newest first", {{"vexa1.prc", 1}, {"vexa2.prc", 5}, {"vexa3.prc", 9}}, true, {"vexa1.prc"}},
        {"newest between", {{"vexa1.prc", 9}, {"vexa2.prc", 1}, {"vexa3.prc", 5}}, true, {"vexa2.prc"}},
        {"newest last", {{"vexa1.prc", 9}, {"vexa2.prc", 5}, {"vexa3.prc", 1}}, true, {"vexa3.prc"}},
        {"same time: the first listed stays", {{"vexa2.prc", 3}, {"vexa1.prc", 3}}, true, {"vexa1.prc"}},
        {"letters in any case", {{"VEXA2.PRC", 1}, {"vexa1.prc", 4}}, true, {"VEXA2.PRC"}},
        {"other names don't count",
         {{"vexa1.prc", 1}, {"myvexa.prc", 4}, {"vexa.prc.bak", 4}, {"vexa.txt", 2}}, false,
         {"myvexa.prc", "vexa.prc.bak", "vexa.txt", "vexa1.prc"}},
        // clang-format on
    };
    for (const auto &c : cases) {
        TestHandheld handheld;
        handheld.putProgramCopies(handheld.user(), c.copies);
        const QString folder = handheld.backupFolder(handheld.user());
        EXPECT_EQ(boxesOfCheck(LocalFileSystem()), c.asked ? QStringList{Question} : QStringList{})
            << c.what;
        EXPECT_EQ(filesIn(folder), c.remaining) << c.what;
    }
}

TEST(DuplicateCheck, OnlyOrdinaryFilesAreCopies)
{
    TestHandheld handheld;
    // ".vexa4.prc" is hidden on Unix; no match anyway elsewhere.
    handheld.putProgramCopies(handheld.user(), {{"vexa1.prc", 1}, {".vexa4.prc", 9}});
    const QString folder = handheld.backupFolder(handheld.user());
    QDir(folder).mkdir("vexa2.prc");
    QFile::link(folder + "/vexa1.prc", folder + "/vexa3.prc");
    LocalFileSystem files;
    EXPECT_EQ(files.matchingFiles(folder, ProgramPattern), QStringList{"vexa1.prc"});
    EXPECT_TRUE(files.matchingFiles(folder + "/missing", ProgramPattern).isEmpty());
}

TEST(DuplicateCheck, NoEndsTheWholeCheck)
{
    TestHandheld handheld;
    const vexasync::UserInfo second = handheld.component().createDesktop()->addUser("Second");
    handheld.putProgramCopies(handheld.user(), {{"vexa1.prc", 1}, {"vexa2.prc", 2}});
    handheld.putProgramCopies(second, {{"vexa1.prc", 1}, {"vexa2.prc", 2}});
    EXPECT_EQ(boxesOfCheck(LocalFileSystem(), false), QStringList{Question})
        << "the second user is not examined";
    EXPECT_EQ(filesIn(handheld.backupFolder(second)).size(), 2);
}

TEST(DuplicateCheck, AnyFailureEndsItSilently)
{
    {
        TestHandheld handheld;
        handheld.putProgramCopies(
            handheld.user(),
            {{"vexa1.prc", 9}, {"vexa2.prc", 8}, {"vexa3.prc", 7}, {"vexa4.prc", 1}});
        const QString folder = handheld.backupFolder(handheld.user());
        EXPECT_EQ(boxesOfCheck(FailingFiles(2)), QStringList{Question})
            << "no message about the failure";
        EXPECT_EQ(filesIn(folder), (QStringList{"vexa2.prc", "vexa3.prc", "vexa4.prc"}));
    }
    {
        TestHandheld handheld; // its backup folder is gone
        QDir(handheld.backupFolder(handheld.user())).removeRecursively();
        QTemporaryDir noLibrary;
        for (const SyncComponent &sync : {SyncComponent(), SyncComponent(noLibrary.path())})
            EXPECT_TRUE(boxesOfCheck(LocalFileSystem(), true, sync).isEmpty());
    }
    // No users at all.
    QTemporaryDir empty;
    const QByteArray previous = qgetenv(vexasync::RootVariable);
    qputenv(vexasync::RootVariable, empty.path().toUtf8());
    EXPECT_TRUE(boxesOfCheck(LocalFileSystem()).isEmpty());
    qputenv(vexasync::RootVariable, previous);
}

} // namespace
} // namespace vexa::test
