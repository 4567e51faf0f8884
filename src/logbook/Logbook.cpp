#include "Logbook.h"

#include "LogbookFile.h"
#include "core/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>

namespace vexa {

namespace {

// id, user id and name, kind, start, scans, duration, state, text, note,
// channels, first pulled, last seen, copy, index record
const char *const Columns =
    "SELECT id, user_id, user_name, kind, start, scan_count, duration_ms, state, text, note,"
    " channels, first_pulled, last_seen, copy, length(index_record), index_record FROM logs ";

LogbookEntry entryOf(const SqlStatement &row)
{
    LogbookEntry e;
    e.id = row.integer(0);
    e.user = static_cast<std::uint32_t>(row.integer(1));
    e.userName = row.text(2);
    const std::int64_t kind = row.integer(3);
    e.kind = logKindOfTab(static_cast<int>(kind & 3));
    e.start = row.text(4);
    const std::int64_t scans = row.integer(5);
    e.scanCount = static_cast<int>(std::clamp<std::int64_t>(scans, 0, MostScans));
    e.durationMs = row.integer(6);
    const std::int64_t state = row.integer(7);
    e.state = state >= 0 && state <= 4 ? static_cast<LogState>(state) : LogState::Gone;
    e.text = row.text(8);
    e.note = row.text(9);
    e.channels = row.text(10);
    e.firstPulled = Logbook::timeOf(row.text(11));
    e.lastSeen = Logbook::timeOf(row.text(12));
    e.copy = static_cast<int>(row.integer(13));
    const std::int64_t indexBytes = row.integer(14);
    if (kind < 0 || kind > 3)
        e.damage = QStringLiteral("its kind (%1) is none the program knows").arg(kind);
    else if (state < 0 || state > 4)
        e.damage = QStringLiteral("its state (%1) is none the program knows").arg(state);
    else if (scans < 0 || scans > MostScans)
        e.damage = QStringLiteral("its scan count (%1) is none a log can have").arg(scans);
    else if (indexBytes > MostIndexRecordBytes)
        e.damage = QStringLiteral("its index record is %1 bytes long").arg(indexBytes);
    else
        e.indexRecord = row.blob(15);
    return e;
}

[[noreturn]] void noSuchLog(std::int64_t id)
{
    throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                       QStringLiteral("Subscript out of range: the logbook has no log %1").arg(id));
}

} // namespace

Logbook::Logbook(const QString &path, Access access)
    : m_file(std::make_unique<LogbookFile>(path, access == Access::Write ? LogbookFile::Mode::Write
                                                                         : LogbookFile::Mode::Read))
{}

Logbook::~Logbook() = default;

QString Logbook::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("VEXASynch/logbook.sqlite"));
}

const QString &Logbook::path() const
{
    return m_file->path();
}

QString Logbook::timeText(const QDateTime &t)
{
    return t.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime Logbook::timeOf(const QString &text)
{
    return text.isEmpty() ? QDateTime() : QDateTime::fromString(text, Qt::ISODateWithMs);
}

namespace {

QString sightingsPath(const QString &logbook)
{
    return logbook + QStringLiteral("-seen");
}

// Larger than the lines of every handheld user there can be.
constexpr qint64 MostSightingBytes = 1 << 20;

} // namespace

std::map<std::uint32_t, QDateTime> Logbook::sightings() const
{
    // "user TAB time" lines; anything else is no hint.
    std::map<std::uint32_t, QDateTime> seen;
    QFile file(sightingsPath(path()));
    if (!file.open(QIODevice::ReadOnly))
        return seen;
    for (const QByteArray &line : file.read(MostSightingBytes).split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        bool ok = false;
        const std::uint32_t user = fields.value(0).toUInt(&ok);
        const QDateTime at = timeOf(QString::fromLatin1(fields.value(1)));
        if (ok && at.isValid())
            seen[user] = at;
    }
    return seen;
}

void Logbook::noteSighting(std::uint32_t user, const QDateTime &at)
{
    std::map<std::uint32_t, QDateTime> seen = sightings();
    seen[user] = at;
    QByteArray text;
    for (const auto &[id, time] : seen)
        text += QByteArray::number(id) + '\t' + timeText(time).toLatin1() + '\n';
    // A write cut short loses a hint only: no waiting for the disk.
    QFile file(sightingsPath(path()));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}

void Logbook::applySightings(std::vector<LogbookEntry> &logs) const
{
    const std::map<std::uint32_t, QDateTime> seen = sightings();
    for (LogbookEntry &log : logs)
        if (const auto it = seen.find(log.user);
            it != seen.end() && isOnHandheld(log.state) && it->second > log.lastSeen)
            log.lastSeen = it->second;
}

std::vector<LogbookEntry> Logbook::logs(const LogFilter &filter) const
{
    SqlStatement rows(*m_file, (QByteArray(Columns) + "ORDER BY id").constData());
    std::vector<LogbookEntry> logs;
    while (rows.step()) {
        LogbookEntry e = entryOf(rows);
        if (!e.damage.isEmpty() || filter.admits(e))
            logs.push_back(std::move(e));
    }
    applySightings(logs);
    return logs;
}

LogbookEntry Logbook::log(std::int64_t id) const
{
    SqlStatement row(*m_file, (QByteArray(Columns) + "WHERE id = ?").constData());
    row.bind(1, id);
    if (!row.step())
        noSuchLog(id);
    std::vector<LogbookEntry> e{entryOf(row)};
    row.step(); // done: the id is the key
    applySightings(e);
    return e.front();
}

std::vector<RecordBytes> Logbook::scans(std::int64_t id) const
{
    const PackedScans packed = packedScans(id);
    std::vector<RecordBytes> records;
    records.reserve(packed.records.size());
    for (const std::span<const std::uint8_t> r : packed.records)
        records.emplace_back(r.begin(), r.end());
    return records;
}

PackedScans Logbook::packedScans(std::int64_t id) const
{
    // listed count, bytes held, the records
    SqlStatement row(*m_file, "SELECT l.scan_count, length(s.scan_records), s.scan_records"
                              " FROM logs l LEFT JOIN log_scans s ON s.log = l.id"
                              " WHERE l.id = ?");
    row.bind(1, id);
    if (!row.step())
        noSuchLog(id);
    const std::int64_t listed = row.integer(0);
    const std::int64_t held = row.integer(1);
    const auto damaged = [&](const QString &why) {
        throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                           QStringLiteral("Subscript out of range: the scan records of logbook "
                                          "log %1 %2")
                               .arg(id)
                               .arg(why));
    };
    if (listed < 0 || listed > MostScans || listed > mostScansIn(held))
        damaged(QStringLiteral("are cut short"));
    std::optional<PackedScans> records = vexa::packedScans(row.blob(2));
    row.step();
    if (!records)
        damaged(QStringLiteral("are cut short"));
    if (static_cast<std::int64_t>(records->records.size()) != listed)
        damaged(QStringLiteral("number %1, where the log lists %2")
                    .arg(records->records.size())
                    .arg(listed));
    return std::move(*records);
}

std::vector<HistoryEvent> Logbook::history(std::int64_t id) const
{
    SqlStatement rows(*m_file, "SELECT at, event FROM history WHERE log = ? ORDER BY rowid");
    rows.bind(1, id);
    std::vector<HistoryEvent> events;
    while (rows.step())
        if (const std::int64_t event = rows.integer(1); event >= 0 && event <= 4)
            events.push_back({timeOf(rows.text(0)), static_cast<LogEvent>(event)});
    return events;
}

void Logbook::setNote(std::int64_t id, const QString &note)
{
    SqlStatement update(*m_file, "UPDATE logs SET note = ? WHERE id = ?");
    update.bind(1, note).bind(2, id).run();
    if (m_file->changes() == 0)
        noSuchLog(id);
}

void Logbook::markDeleted(std::uint32_t user, LogKind kind,
                          const std::optional<std::vector<std::uint64_t>> &records,
                          const std::vector<std::uint64_t> &kept)
{
    SqlStatement keep(*m_file, "UPDATE logs SET state = 0 WHERE user_id = ?1 AND kind = ?2"
                               " AND state = 4 AND handheld_record = ?3");
    // the logs of the user's handheld, of the kind, still on it
    SqlStatement held(*m_file, "SELECT id, handheld_record FROM logs WHERE user_id = ?1"
                               " AND kind = ?2 AND state IN (0, 3, 4)");
    SqlStatement mark(*m_file, "UPDATE logs SET state = 1, handheld_record = NULL"
                               " WHERE id = ?1");
    SqlStatement event(*m_file, "INSERT INTO history(log, at, event) VALUES(?1, ?2, 2)");
    const QString now = timeText(QDateTime::currentDateTimeUtc());
    m_file->beginWrite();
    try {
        std::vector<std::int64_t> ids;
        held.bind(1, static_cast<std::int64_t>(user)).bind(2, static_cast<std::int64_t>(kind));
        while (held.step())
            if (!records ||
                std::find(records->begin(), records->end(),
                          static_cast<std::uint64_t>(held.integer(1))) != records->end())
                ids.push_back(held.integer(0));
        for (const std::int64_t id : ids) {
            mark.bind(1, id).run();
            event.bind(1, id).bind(2, now).run();
        }
        for (const std::uint64_t record : kept)
            keep.bind(1, static_cast<std::int64_t>(user))
                .bind(2, static_cast<std::int64_t>(kind))
                .bind(3, static_cast<std::int64_t>(record))
                .run();
        m_file->commit();
    } catch (...) {
        m_file->rollback();
        throw;
    }
}

void Logbook::markPutBack(std::int64_t id, std::uint64_t record)
{
    SqlStatement mark(*m_file, "UPDATE logs SET state = ?1, handheld_record = ?2,"
                               " last_seen = ?3 WHERE id = ?4");
    SqlStatement event(*m_file, "INSERT INTO history(log, at, event) VALUES(?1, ?2, ?3)");
    const QString now = timeText(QDateTime::currentDateTimeUtc());
    m_file->beginWrite();
    try {
        mark.bind(1, static_cast<std::int64_t>(LogState::PutBack))
            .bind(2, static_cast<std::int64_t>(record))
            .bind(3, now)
            .bind(4, id)
            .run();
        if (m_file->changes() == 0)
            noSuchLog(id);
        event.bind(1, id).bind(2, now).bind(3, static_cast<std::int64_t>(LogEvent::PutBack)).run();
        m_file->commit();
    } catch (...) {
        m_file->rollback();
        throw;
    }
}

std::vector<std::int64_t> Logbook::purgeable(const QDate &day) const
{
    const QDateTime cut = day.startOfDay();
    std::vector<std::int64_t> old;
    // id, last seen of the logs no handheld holds
    SqlStatement rows(*m_file, "SELECT id, last_seen FROM logs WHERE state IN (1, 2)");
    while (rows.step())
        if (const QDateTime seen = timeOf(rows.text(1)); seen.isValid() && seen < cut)
            old.push_back(rows.integer(0));
    return old;
}

int Logbook::purgeBefore(const QDate &day)
{
    m_file->beginWrite();
    try {
        const std::vector<std::int64_t> old = purgeable(day);
        SqlStatement logs(*m_file, "DELETE FROM logs WHERE id = ?");
        SqlStatement scans(*m_file, "DELETE FROM log_scans WHERE log = ?");
        SqlStatement events(*m_file, "DELETE FROM history WHERE log = ?");
        for (const std::int64_t id : old) {
            logs.bind(1, id).run();
            scans.bind(1, id).run();
            events.bind(1, id).run();
        }
        m_file->commit();
        return static_cast<int>(old.size());
    } catch (...) {
        m_file->rollback();
        throw;
    }
}

} // namespace vexa
