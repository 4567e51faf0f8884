#include "BigLogbook.h"

#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookFile.h"

namespace vexa::bench {

void replaceRecords(const BenchHandheld &handheld, const std::string &database,
                    const std::vector<Bytes> &records)
{
    const auto db = handheld.open(database);
    db->beginGroup();
    db->removeAll(0, 255);
    for (const Bytes &r : records)
        db->write(0, 0, 0, r);
    db->commitGroup();
}

// A log of 32,767 scans fills every scan a handheld can point at: the long
// log is pulled first (id 1), the 99 after it from the same handheld
// emptied, and the long log is put back for the benchmarks that read it
// there.
BigLogbook::BigLogbook()
{
    std::vector<Bytes> longScans, scans, index;
    for (int k = 0; k < 32767; ++k)
        longScans.push_back(scanRecord(k));
    handheld.fill("RirodData", longScans);
    handheld.fill("RirodIndex", {rirodIndexRecord(32767, 1)});
    Logbook logbook(path());
    pullHandheld(logbook, sync, *bytes);
    for (int log = 0; log < 99; ++log) {
        index.push_back(rirodIndexRecord(300, 1 + log * 300));
        for (int k = 0; k < 300; ++k)
            scans.push_back(scanRecord(log * 300 + k));
    }
    replaceRecords(handheld, "RirodData", scans);
    replaceRecords(handheld, "RirodIndex", index);
    pullHandheld(logbook, sync, *bytes);
    replaceRecords(handheld, "RirodData", longScans);
    replaceRecords(handheld, "RirodIndex", {rirodIndexRecord(32767, 1)});
    LogbookFile &file = logbook.file();
    file.beginWrite();
    for (int copy = 0; copy < 101; ++copy)
        file.exec("INSERT INTO logs(user_id, user_name, kind, start, scan_count,"
                  " duration_ms, state, text, note, channels, first_pulled, last_seen,"
                  " fingerprint, copy, handheld_record, index_record)"
                  " SELECT user_id, user_name, kind, start, scan_count, duration_ms, 2,"
                  " text || ' ' || abs(random() % 1000), note, channels, first_pulled,"
                  " last_seen, fingerprint, copy, NULL, index_record FROM logs"
                  " WHERE id BETWEEN 2 AND 100",
                  "bench");
    file.exec("INSERT INTO log_scans(log, scan_records) SELECT l.id, s.scan_records"
              " FROM logs l JOIN log_scans s ON s.log = (l.id - 2) % 99 + 2 WHERE l.id > 100",
              "bench");
    file.commit();
}

BigLogbook &bigLogbook()
{
    static BigLogbook big;
    return big;
}

} // namespace vexa::bench
