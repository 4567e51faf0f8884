#include "LogPull.h"

#include "LogFingerprint.h"
#include "LogKeeping.h"
#include "Logbook.h"
#include "LogbookFile.h"
#include "core/RuntimeError.h"
#include "format/IndexRecord.h"
#include "store/ChangeGroup.h"
#include "store/SyncComponent.h"

#include <algorithm>
#include <map>
#include <set>

namespace vexa {

namespace {

// A log the logbook holds for the docked user.
struct Held {
    std::int64_t id;
    LogKind kind;
    std::optional<vexasync::RecordId> record; // where it was last seen
    LogState state;
    QByteArray fingerprint;
    RecordBytes indexRecord;
    bool seen = false;
};

// Thrown by a quiet pull that meets a change the logbook must keep.
struct NeedsWrite {};

std::vector<Held> heldLogs(const LogbookFile &file, std::uint32_t user)
{
    // id, kind, handheld record, state, fingerprint, index record, scans
    SqlStatement rows(file, "SELECT id, kind, handheld_record, state, fingerprint,"
                            " index_record, scan_count FROM logs WHERE user_id = ?"
                            " ORDER BY id");
    rows.bind(1, static_cast<std::int64_t>(user));
    std::vector<Held> held;
    while (rows.step()) {
        const std::int64_t kind = rows.integer(1), state = rows.integer(3);
        const std::int64_t scans = rows.integer(6);
        // A row that can't be read holds its log no more: it is pulled again.
        if (kind < 0 || kind > 3 || state < 0 || state > 4 || scans < 0 || scans > MostScans ||
            rows.bytes(5) > MostIndexRecordBytes)
            continue;
        held.push_back({rows.integer(0), static_cast<LogKind>(kind),
                        rows.isNull(2)
                            ? std::nullopt
                            : std::optional(static_cast<vexasync::RecordId>(rows.integer(2))),
                        static_cast<LogState>(state), QByteArray(), rows.blob(5)});
        const RecordBytes fingerprint = rows.blob(4);
        held.back().fingerprint = QByteArray(reinterpret_cast<const char *>(fingerprint.data()),
                                             static_cast<qsizetype>(fingerprint.size()));
    }
    return held;
}

// A log read from the handheld that the logbook does not hold at its record.
struct NewLog {
    vexasync::RecordId record;
    RecordBytes indexRecord;
    LogIndexEntry entry;
    IndexRecord parsed;
    std::vector<RecordBytes> scans;
};

class Pull {
public:
    // Quiet: nothing but when the logs were seen may change (NeedsWrite).
    Pull(LogbookFile &file, const SyncComponent &sync, vexasync::ByteUtility &bytes,
         std::uint32_t user, QString userName, bool quiet)
        : m_quiet(quiet), m_file(file), m_sync(sync), m_bytes(bytes), m_user(user),
          m_userName(userName), m_now(Logbook::timeText(QDateTime::currentDateTimeUtc())),
          m_held(heldLogs(file, user)),
          m_seen(file, "UPDATE logs SET last_seen = ?1 WHERE id = ?2"),
          m_moved(file, "UPDATE logs SET last_seen = ?1, handheld_record = ?2, state = ?3"
                        " WHERE id = ?4"),
          m_event(file, "INSERT INTO history(log, at, event) VALUES(?1, ?2, ?3)")
    {}

    // only: the positions (from 0) of the logs copied in if not held; the
    // others are neither read nor marked gone.
    void pullKind(LogKind kind, vexasync::RecordAdapter *index, PullOutcome &outcome,
                  const std::vector<int> *only = nullptr);
    // The scan database already open in the caller's change group.
    void useScans(vexasync::RecordAdapter *scans) { m_openScans = scans; }

private:
    std::vector<RecordBytes> readScans(const IndexRecord &record);
    bool isSameLog(LogKind kind, const RecordBytes &held, const IndexRecord &now) const;
    void add(LogKind kind, const NewLog &log, const QByteArray &fingerprint);
    // A log whose delete was not confirmed, found on the handheld or not.
    void settle(Held &h, LogState state)
    {
        if (m_quiet)
            throw NeedsWrite{};
        SqlStatement set(m_file, "UPDATE logs SET state = ?1, last_seen = ?2,"
                                 " handheld_record = CASE WHEN ?1 = 1 THEN NULL"
                                 " ELSE handheld_record END WHERE id = ?3");
        set.bind(1, static_cast<std::int64_t>(state)).bind(2, m_now).bind(3, h.id).run();
        record(h.id, state == LogState::Deleted ? LogEvent::Deleted : LogEvent::SeenAgain);
        h.state = state;
    }
    void record(std::int64_t id, LogEvent event)
    {
        m_event.bind(1, id).bind(2, m_now).bind(3, static_cast<std::int64_t>(event)).run();
    }

    bool m_quiet;
    LogbookFile &m_file;
    const SyncComponent &m_sync;
    vexasync::ByteUtility &m_bytes;
    std::uint32_t m_user;
    QString m_userName;
    QString m_now;
    std::vector<Held> m_held;
    std::shared_ptr<vexasync::RecordAdapter> m_scans;
    vexasync::RecordAdapter *m_openScans = nullptr;
    SqlStatement m_seen, m_moved, m_event;
};

// False too when the record the logbook holds can't be read: the log is
// then told by its content.
bool Pull::isSameLog(LogKind kind, const RecordBytes &held, const IndexRecord &now) const
{
    try {
        return IndexRecord::parse(m_bytes, held, kind, 1).isSameLog(now);
    } catch (...) {
        return false;
    }
}

std::vector<RecordBytes> Pull::readScans(const IndexRecord &record)
{
    if (!m_openScans && !m_scans)
        m_scans = m_sync.openDatabase(ScanDatabase, vexasync::mode::Read);
    vexasync::RecordAdapter &scanDatabase = m_openScans ? *m_openScans : *m_scans;
    const std::int32_t first = record.firstScan() - 1, count = record.scanCount();
    if (first < 0 || count < 0 || first + count > scanDatabase.recordCount())
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("Subscript out of range: its scans %1 to %2 are not all "
                                          "in %3")
                               .arg(first + 1)
                               .arg(first + count)
                               .arg(QLatin1String(ScanDatabase)));
    std::vector<RecordBytes> scans;
    scans.reserve(static_cast<std::size_t>(count));
    for (std::int32_t k = 0; k < count; ++k)
        scans.push_back(scanDatabase.readByIndex(first + k).bytes);
    return scans;
}

void Pull::pullKind(LogKind kind, vexasync::RecordAdapter *index, PullOutcome &outcome,
                    const std::vector<int> *only)
{
    std::vector<vexasync::Record> records;
    try {
        if (index)
            for (std::int32_t r = 0, n = index->recordCount(); r < n; ++r)
                records.push_back(index->readByIndex(r));
    } catch (...) {
        // Nothing of the kind is marked gone on a listing cut short.
        const RuntimeError error = currentError();
        outcome.unreadable << QStringLiteral("%1 can't be listed: %2 (error %3)")
                                  .arg(QLatin1String(logKindInfo(kind).caption),
                                       error.description(), errorNumberText(error.number()));
        outcome.unreadableAt.push_back(0);
        return;
    }
    std::map<vexasync::RecordId, Held *> atRecord;
    std::set<vexasync::RecordId> present;
    for (const vexasync::Record &r : records)
        present.insert(r.id);
    for (Held &h : m_held)
        if (h.kind == kind && h.record && mayBeOnHandheld(h.state))
            atRecord[*h.record] = &h;

    const auto unreadable = [&](int position) {
        const RuntimeError error = currentError();
        outcome.unreadable << QStringLiteral("%1 log %2 can't be read: %3 (error %4)")
                                  .arg(QLatin1String(logKindInfo(kind).caption))
                                  .arg(position)
                                  .arg(error.description(), errorNumberText(error.number()));
        outcome.unreadableAt.push_back(position);
    };
    std::vector<NewLog> fresh;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const vexasync::Record &r = records[i];
        const int position = static_cast<int>(i + 1);
        const auto it = atRecord.find(r.id);
        try {
            IndexRecord parsed = IndexRecord::parse(m_bytes, r.bytes, kind, position);
            const LogIndexEntry entry = parsed.entry(r.id);
            if (it != atRecord.end() && isSameLog(kind, it->second->indexRecord, parsed)) {
                it->second->seen = true;
                if (it->second->state == LogState::Unconfirmed)
                    settle(*it->second, LogState::OnHandheld);
                else if (!m_quiet)
                    m_seen.bind(1, m_now).bind(2, it->second->id).run();
                ++outcome.held;
                continue;
            }
            if (only && std::find(only->begin(), only->end(), static_cast<int>(i)) == only->end())
                continue;
            if (m_quiet)
                throw NeedsWrite{};
            std::vector<RecordBytes> scans;
            if (kind == LogKind::Rirod)
                scans = readScans(parsed);
            fresh.push_back({r.id, r.bytes, entry, std::move(parsed), std::move(scans)});
        } catch (const NeedsWrite &) {
            throw;
        } catch (...) {
            if (it != atRecord.end())
                it->second->seen = true; // still there, whatever it holds now
            unreadable(position);
        }
    }
    for (const NewLog &log : fresh) {
        const QByteArray fingerprint = logFingerprint(m_bytes, kind, log.indexRecord, log.scans);
        // An equal log no longer where the logbook saw it: the same one,
        // moved, put back or seen again. Copies are counted, not merged.
        Held *same = nullptr;
        for (Held &h : m_held)
            if (!h.seen && h.kind == kind && h.fingerprint == fingerprint &&
                !(mayBeOnHandheld(h.state) && h.record && present.count(*h.record))) {
                same = &h;
                break;
            }
        if (!same) {
            add(kind, log, fingerprint);
            ++outcome.added;
            continue;
        }
        same->seen = true;
        const LogState state = isOnHandheld(same->state) ? same->state : LogState::OnHandheld;
        m_moved.bind(1, m_now)
            .bind(2, static_cast<std::int64_t>(log.record))
            .bind(3, static_cast<std::int64_t>(state))
            .bind(4, same->id)
            .run();
        if (!isOnHandheld(same->state))
            record(same->id, LogEvent::SeenAgain);
        ++outcome.held;
    }
    if (only)
        return;
    for (Held &h : m_held)
        if (h.kind == kind && !h.seen && h.state == LogState::Unconfirmed)
            settle(h, LogState::Deleted);
    for (Held &h : m_held)
        if (h.kind == kind && !h.seen && isOnHandheld(h.state)) {
            if (m_quiet)
                throw NeedsWrite{};
            SqlStatement gone(m_file, "UPDATE logs SET state = ?1 WHERE id = ?2");
            gone.bind(1, static_cast<std::int64_t>(LogState::Gone)).bind(2, h.id).run();
            h.state = LogState::Gone;
            record(h.id, LogEvent::Gone);
            ++outcome.gone;
        }
}

void Pull::add(LogKind kind, const NewLog &log, const QByteArray &fingerprint)
{
    LogToKeep keep{m_user, m_userName, kind, log.indexRecord, &log.parsed, log.scans, fingerprint};
    for (const Held &h : m_held)
        keep.copy += h.kind == kind && h.fingerprint == fingerprint;
    keep.record = log.record;
    keep.at = m_now;
    const std::int64_t id = keepLog(m_file, m_bytes, keep);
    m_held.push_back(
        {id, kind, log.record, LogState::OnHandheld, fingerprint, log.indexRecord, true});
}

} // namespace

PullOutcome pullHandheld(Logbook &logbook, const SyncComponent &sync, vexasync::ByteUtility &bytes)
{
    const auto status = sync.createSyncStatus();
    if (!status->inProgress())
        throw RuntimeError(vexasync::error::NotDocked,
                           QStringLiteral("No handheld is docked: nothing was pulled"));
    const std::uint32_t user = status->dockedUser();
    const QString userName = QString::fromStdString(sync.createUserDirectory()->userName(user));

    std::array<std::shared_ptr<vexasync::RecordAdapter>, 4> indexes;
    vexasync::RecordAdapter *any = nullptr;
    for (int k = 0; k < 4; ++k) {
        try {
            indexes[k] =
                sync.openDatabase(logKindInfo(LogKind(k)).indexDatabase, vexasync::mode::Read);
            any = indexes[k].get();
        } catch (const vexasync::Error &e) {
            if (e.number() != vexasync::error::NotFound)
                throw;
        }
    }
    std::optional<ChangeGroup> group;
    if (any) {
        // A group begun while another program's was open may keep the record
        // order from before that one's commit; one rolled back has let it go.
        ChangeGroup(*any).rollback();
        group.emplace(*any);
    }
    LogbookFile &file = logbook.file();
    // An unchanged handheld changes nothing but when its logs were last
    // seen, a hint kept beside the logbook: no write waits for the disk.
    for (const bool quiet : {true, false}) {
        PullOutcome outcome;
        quiet ? file.beginRead() : file.beginWrite();
        try {
            Pull pull(file, sync, bytes, user, userName, quiet);
            for (int k = 0; k < 4; ++k)
                pull.pullKind(LogKind(k), indexes[k].get(), outcome);
            file.commit();
            if (quiet)
                logbook.noteSighting(user, QDateTime::currentDateTimeUtc());
            return outcome;
        } catch (const NeedsWrite &) {
            file.rollback();
        } catch (...) {
            file.rollback();
            throw;
        }
    }
    return {};
}

PullOutcome pullKindInside(LogbookFile &file, const SyncComponent &sync,
                           vexasync::ByteUtility &bytes, std::uint32_t user, LogKind kind,
                           vexasync::RecordAdapter &index, vexasync::RecordAdapter *scans,
                           const std::optional<std::vector<int>> &lines)
{
    Pull pull(file, sync, bytes, user,
              QString::fromStdString(sync.createUserDirectory()->userName(user)), false);
    pull.useScans(scans);
    PullOutcome outcome;
    pull.pullKind(kind, &index, outcome, lines ? &*lines : nullptr);
    return outcome;
}

PullOutcome holdKind(Logbook &logbook, const SyncComponent &sync, vexasync::ByteUtility &bytes,
                     std::uint32_t user, LogKind kind, vexasync::RecordAdapter &index,
                     vexasync::RecordAdapter *scans, const std::optional<std::vector<int>> &lines)
{
    LogbookFile &file = logbook.file();
    file.beginWrite();
    try {
        const PullOutcome outcome =
            pullKindInside(file, sync, bytes, user, kind, index, scans, lines);
        // Until the delete's outcome is kept: a delete killed after the
        // handheld's commit leaves them for the next pull to settle.
        SqlStatement unconfirmed(
            file, "UPDATE logs SET state = 4 WHERE user_id = ?1 AND kind = ?2 AND state IN (0, 3)"
                  " AND (?3 OR handheld_record = ?4)");
        unconfirmed.bind(1, static_cast<std::int64_t>(user))
            .bind(2, static_cast<std::int64_t>(kind));
        if (!lines)
            unconfirmed.bind(3, std::int64_t{1}).run();
        else
            for (const int line : *lines)
                unconfirmed.bind(3, std::int64_t{0})
                    .bind(4, static_cast<std::int64_t>(index.readByIndex(line).id))
                    .run();
        file.commit();
        return outcome;
    } catch (...) {
        file.rollback();
        throw;
    }
}

QString pulledText(const PullOutcome &outcome)
{
    QString text =
        QStringLiteral("%1 new logs pulled, %2 held already.").arg(outcome.added).arg(outcome.held);
    if (outcome.gone > 0)
        text += QStringLiteral("\n%1 logs are no longer on the handheld.").arg(outcome.gone);
    return text;
}

} // namespace vexa
