// Five Rirod logs and three trouble codes on a test handheld, each saved
// before the test changes anything, and the delete and restore commands
// over them.
#pragma once

#include "deletion/DeleteCommands.h"
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
    DeleteServices services(vexasync::RecordAdapter *scanDatabase = nullptr);
    // Answers as set in f.ui; the whole outcome is kept in `outcome`.
    CommandOutcome::Status deleteLines(std::vector<int> lines,
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

// The logbook's logs in the deleted state: those a restore of all takes.
std::vector<std::int64_t> deletedLogs(const QString &logbookPath);
// These logs of the logbook put back (none: every deleted one).
CommandOutcome putBackFromLogbook(const QString &logbookPath, const SyncComponent &sync,
                                  CommandHost &host, std::vector<std::int64_t> ids = {});

// The five logs with a logbook beside them.
struct Logbooking : FiveLogs {
    template <class... Args>
    explicit Logbooking(Args &&...args) : FiveLogs(std::forward<Args>(args)...)
    {
        logbook = folder.filePath(QStringLiteral("logbook.sqlite"));
    }
    QTemporaryDir folder;
    CommandOutcome::Status deleteLines(std::vector<int> lines)
    {
        f.ui.answers = {true};
        return FiveLogs::deleteLines(std::move(lines));
    }
    CommandOutcome::Status deleteAll()
    {
        f.ui.answers = {true};
        return deleteAllLogs(kind, services()).status;
    }
    // The logbook's id of the log of this text.
    std::int64_t idOf(const QString &text) const;
    CommandOutcome restore(std::vector<std::int64_t> ids = {})
    {
        return putBackFromLogbook(*logbook, f.sync, f.host, std::move(ids));
    }
    // Every deleted one; the ids restored.
    std::vector<std::int64_t> restoreAll();
};

} // namespace vexa::test
