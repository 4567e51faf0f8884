// Five Rirod logs and three trouble codes on a test handheld, each saved
// before the test changes anything, and the delete commands over them.
#pragma once

#include "deletion/DeleteCommands.h"
#include "deletion/DeletedLogArchive.h"
#include "support/ExportFixture.h"

#include <QTemporaryDir>

#include <map>

namespace vexa::test {

// What the window would pass with the tab's index database as listed now.
DeleteRequest listedRequest(vexasync::ByteUtility &bytes, vexasync::RecordAdapter &index,
                            LogKind kind, std::vector<int> lines);

struct FiveLogs {
    // Logs A to E with 10, 20, 30, 40 and 50 scans at positions 1, 11, 31,
    // 61, 101; trouble codes P0171, P0174, P0300. Attach: those of the
    // parent process, for a child.
    explicit FiveLogs(LogKind kind = LogKind::Rirod,
                      TestHandheld::Mode mode = TestHandheld::Mode::Fresh);

    // Every log of the tab, by its text, saved in each of the tab's formats.
    std::map<QString, QByteArray> saveEvery();
    DeleteServices services(std::optional<QString> archive = std::nullopt,
                            vexasync::RecordAdapter *scanDatabase = nullptr);
    // Answers as set in f.ui; the whole outcome is kept in `outcome`.
    CommandOutcome::Status deleteLines(std::vector<int> lines,
                                       std::optional<QString> archive = std::nullopt,
                                       vexasync::RecordAdapter *scanDatabase = nullptr);
    // First-scan fields of the index records, in order.
    std::vector<int> firstScans();
    // The text of every log of the tab, in order.
    QStringList texts();
    // The logs left save as they did before; their texts.
    QStringList remainingSaveAsBefore();

    ExportFixture f;
    LogKind kind;
    std::shared_ptr<vexasync::RecordAdapter> index, scans;
    std::map<QString, QByteArray> before;
    CommandOutcome outcome;
    std::optional<QString> logbook; // the deletes' logbook, none by default
};

// The rows restore --all takes: every one that holds a log not restored yet.
std::vector<std::int64_t> notRestoredYet(const DeletedLogArchive &archive);

// The five logs with an archive folder beside them.
struct Archiving : FiveLogs {
    template <class... Args>
    explicit Archiving(Args &&...args) : FiveLogs(std::forward<Args>(args)...)
    {
        logbook = folder.filePath(QStringLiteral("logbook.sqlite"));
    }
    QTemporaryDir folder;
    QString archivePath() const { return DeletedLogArchive::pathIn(folder.path()); }
    CommandOutcome::Status deleteLines(std::vector<int> lines)
    {
        f.ui.answers = {true};
        return FiveLogs::deleteLines(std::move(lines), archivePath());
    }
    // Restores these rows of the archive; none: those not restored yet.
    CommandOutcome restore(std::vector<std::int64_t> ids = {});
    // restore --all; the ids it restored.
    std::vector<std::int64_t> restoreAll();
};

} // namespace vexa::test
