#include "LogKeeping.h"

#include "LogbookFile.h"
#include "ScanPack.h"
#include "format/OleDate.h"
#include "format/ScanRecord.h"

#include <QStringList>

namespace vexa {

namespace {

QString startText(const LogIndexEntry &entry)
{
    return oledate::toDate(entry.logDate).toString(Qt::ISODate) + QLatin1Char('T') +
           oledate::toTime(entry.logTime).toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

std::int64_t keepLog(LogbookFile &file, vexasync::ByteUtility &bytes, const LogToKeep &log)
{
    const LogIndexEntry entry = log.parsed->entry(log.record.value_or(0));
    std::int64_t durationMs = 0;
    for (const RecordBytes &scan : log.scans) {
        try {
            durationMs += std::int64_t{scanTimeIn(bytes, scan)} * 10;
        } catch (...) {
            // too short to say: it adds nothing
        }
    }
    QStringList channels;
    if (log.kind == LogKind::Rirod)
        for (const std::uint8_t p : log.parsed->params())
            if (p != 0)
                channels << QString::number(p);
    // user id and name, kind, start, scans, duration, state, text, channels,
    // first pulled, last seen, fingerprint, copy, handheld record, index record
    SqlStatement insert(
        file, "INSERT INTO logs(user_id, user_name, kind, start, scan_count, duration_ms,"
              " state, text, channels, first_pulled, last_seen, fingerprint, copy,"
              " handheld_record, index_record)"
              " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?10, ?11, ?12, ?13, ?14)");
    const RecordBytes print(log.fingerprint.begin(), log.fingerprint.end());
    insert.bind(1, static_cast<std::int64_t>(log.user))
        .bind(2, log.userName)
        .bind(3, static_cast<std::int64_t>(log.kind))
        .bind(4, startText(entry))
        .bind(5, static_cast<std::int64_t>(log.scans.size()))
        .bind(6, durationMs)
        .bind(7, static_cast<std::int64_t>(log.state))
        .bind(8, entry.text)
        .bind(9, channels.join(QLatin1Char(' ')))
        .bind(10, log.at)
        .bind(11, print)
        .bind(12, std::int64_t{log.copy});
    if (log.record)
        insert.bind(13, static_cast<std::int64_t>(*log.record));
    insert.bind(14, log.indexRecord).run();
    const std::int64_t id = file.lastInsertId();
    SqlStatement scans(file, "INSERT INTO log_scans(log, scan_records) VALUES(?1, ?2)");
    scans.bind(1, id).bind(2, packScans(log.scans)).run();
    SqlStatement event(file, "INSERT INTO history(log, at, event) VALUES(?1, ?2, ?3)");
    event.bind(1, id).bind(2, log.at).bind(3, static_cast<std::int64_t>(log.event)).run();
    return id;
}

bool keepStrayScans(LogbookFile &file, const StrayScansToKeep &stray)
{
    const RecordBytes packed = packScans(stray.scans);
    // user id, kind, scan count, scan records
    SqlStatement held(file, "SELECT 1 FROM stray_scans WHERE user_id = ?1 AND kind = ?2"
                            " AND scan_count = ?3 AND scan_records = ?4 LIMIT 1");
    held.bind(1, static_cast<std::int64_t>(stray.user))
        .bind(2, static_cast<std::int64_t>(stray.kind))
        .bind(3, static_cast<std::int64_t>(stray.scans.size()))
        .bind(4, packed);
    if (held.step())
        return false;
    // user id and name, kind, when lost, scan count, scan records, archive
    SqlStatement insert(file, "INSERT INTO stray_scans(user_id, user_name, kind, deleted_at,"
                              " scan_count, scan_records, archive)"
                              " VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    insert.bind(1, static_cast<std::int64_t>(stray.user))
        .bind(2, stray.userName)
        .bind(3, static_cast<std::int64_t>(stray.kind))
        .bind(4, stray.at)
        .bind(5, static_cast<std::int64_t>(stray.scans.size()))
        .bind(6, packed)
        .bind(7, stray.archive)
        .run();
    return true;
}

} // namespace vexa
