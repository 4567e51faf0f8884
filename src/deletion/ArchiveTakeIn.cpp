#include "ArchiveTakeIn.h"

#include "DeletedLogArchive.h"
#include "core/RuntimeError.h"
#include "logbook/LogFingerprint.h"
#include "logbook/LogKeeping.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookFile.h"
#include "store/SyncComponent.h"

#include <QFileInfo>

#include <algorithm>
#include <map>
#include <optional>

namespace vexa {

namespace {

using Content = std::pair<LogKind, QByteArray>;
// The states of the logs of each content the logbook holds for the user,
// each taken by one row at most.
using Held = std::map<Content, std::vector<LogState>>;

Held heldFor(const LogbookFile &file, std::uint32_t user)
{
    SqlStatement rows(file, "SELECT kind, fingerprint, state FROM logs WHERE user_id = ?");
    rows.bind(1, static_cast<std::int64_t>(user));
    Held held;
    while (rows.step()) {
        const RecordBytes print = rows.blob(1);
        const std::int64_t state = rows.integer(2);
        held[{logKindOfTab(static_cast<int>(rows.integer(0) & 3)),
              QByteArray(reinterpret_cast<const char *>(print.data()),
                         static_cast<qsizetype>(print.size()))}]
            .push_back(state >= 0 && state <= 4 ? LogState(state) : LogState::Gone);
    }
    return held;
}

// A log the row was: a deleted row's log is no longer on a handheld, so an
// equal log still there is another copy.
bool takeOne(std::vector<LogState> &held, LogState row)
{
    const auto it = std::find_if(held.begin(), held.end(), [&](LogState s) {
        return row != LogState::Deleted || !isOnHandheld(s);
    });
    if (it == held.end())
        return false;
    held.erase(it);
    return true;
}

bool wasTaken(const LogbookFile &file, const QString &key)
{
    SqlStatement row(file, "SELECT 1 FROM taken_archives WHERE path = ?");
    row.bind(1, key);
    const bool taken = row.step();
    if (taken)
        row.step();
    return taken;
}

// The state the row's outcome says; a delete or restore cut short before
// its outcome was kept is settled by the next pull.
LogToKeep stateOf(const ArchivedLog &row, LogToKeep keep)
{
    if (row.restoredAt.isValid()) {
        keep.state = LogState::PutBack;
        if (row.restoredRecord != 0)
            keep.record = row.restoredRecord;
    } else if (row.removed && row.restoredRecord == 0) {
        keep.state = LogState::Deleted;
    } else {
        keep.state = LogState::Unconfirmed;
        const vexasync::RecordId at = row.removed ? row.restoredRecord : row.deletedRecord;
        if (at != 0)
            keep.record = at;
    }
    return keep;
}

} // namespace

TakeInOutcome takeInArchive(Logbook &logbook, const QString &archivePath, std::uint32_t user,
                            const QString &userName, vexasync::ByteUtility &bytes)
{
    TakeInOutcome outcome;
    const QFileInfo info(archivePath);
    if (!info.isFile())
        return outcome;
    const QString key = info.canonicalFilePath(); // one file, however it is reached
    LogbookFile &file = logbook.file();
    if (wasTaken(file, key))
        return outcome;
    const std::vector<ArchivedLog> rows =
        DeletedLogArchive(archivePath, DeletedLogArchive::Access::ReadOnly).logs();
    const QString now = Logbook::timeText(QDateTime::currentDateTimeUtc());
    SqlStatement event(file, "INSERT INTO history(log, at, event) VALUES(?1, ?2, ?3)");
    file.beginWrite();
    try {
        if (wasTaken(file, key)) { // another program took it meanwhile
            file.rollback();
            return outcome;
        }
        Held held = heldFor(file, user);
        std::map<Content, int> copies;
        for (const auto &[content, states] : held)
            copies[content] = static_cast<int>(states.size());
        for (const ArchivedLog &row : rows) {
            const QString at = row.deletedAt.isValid() ? Logbook::timeText(row.deletedAt) : now;
            if (!row.damage.isEmpty()) {
                outcome.damaged << QStringLiteral("row %1: %2").arg(row.id).arg(row.damage);
                continue;
            }
            if (row.indexRecord.empty()) {
                if (keepStrayScans(file, {user, userName, row.kind, at, row.scanRecords, key}))
                    ++outcome.stray;
                else
                    ++outcome.held;
                continue;
            }
            std::optional<IndexRecord> parsed;
            QByteArray fingerprint;
            try {
                parsed = IndexRecord::parse(bytes, row.indexRecord, row.kind, 1);
                parsed->entry(0);
                fingerprint = logFingerprint(bytes, row.kind, row.indexRecord, row.scanRecords);
            } catch (...) {
                outcome.damaged << QStringLiteral("row %1: its index record can't be read: %2")
                                       .arg(row.id)
                                       .arg(currentError().description());
                continue;
            }
            LogToKeep keep{user,     userName,        row.kind,   row.indexRecord,
                           &*parsed, row.scanRecords, fingerprint};
            keep = stateOf(row, std::move(keep));
            if (takeOne(held[{row.kind, fingerprint}], keep.state)) {
                ++outcome.held; // the logbook holds this one already
                continue;
            }
            keep.copy = ++copies[{row.kind, fingerprint}];
            keep.at = at;
            const std::int64_t id = keepLog(file, bytes, keep);
            if (keep.state == LogState::Deleted || keep.state == LogState::PutBack)
                event.bind(1, id)
                    .bind(2, at)
                    .bind(3, static_cast<std::int64_t>(LogEvent::Deleted))
                    .run();
            if (keep.state == LogState::PutBack)
                event.bind(1, id)
                    .bind(2, Logbook::timeText(row.restoredAt))
                    .bind(3, static_cast<std::int64_t>(LogEvent::PutBack))
                    .run();
            ++outcome.logs;
        }
        SqlStatement taken(file, "INSERT INTO taken_archives(path, user_id, taken_at, logs,"
                                 " damaged) VALUES(?1, ?2, ?3, ?4, ?5)");
        taken.bind(1, key)
            .bind(2, static_cast<std::int64_t>(user))
            .bind(3, now)
            .bind(4, std::int64_t{outcome.logs})
            .bind(5, static_cast<std::int64_t>(outcome.damaged.size()))
            .run();
        file.commit();
    } catch (...) {
        file.rollback();
        throw;
    }
    outcome.taken = true;
    return outcome;
}

TakeInOutcome takeInDockedArchive(Logbook &logbook, const SyncComponent &sync)
{
    const std::uint32_t user = sync.dockedUser();
    if (user == 0)
        return {};
    return takeInArchive(logbook, DeletedLogArchive::pathIn(sync.userFolder(user)), user,
                         QString::fromStdString(sync.createUserDirectory()->userName(user)),
                         *sync.createByteUtility());
}

} // namespace vexa
