#include "BigLogbook.h"

#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookFile.h"

namespace vexa::bench {

BigLogbook::BigLogbook()
{
    std::vector<Bytes> scans, index;
    index.push_back(rirodIndexRecord(32767, 1));
    for (int k = 0; k < 32767; ++k)
        scans.push_back(scanRecord(k));
    for (int log = 0; log < 99; ++log) {
        index.push_back(rirodIndexRecord(300, 32768 + log * 300));
        for (int k = 0; k < 300; ++k)
            scans.push_back(scanRecord(log * 300 + k));
    }
    handheld.fill("RirodData", scans);
    handheld.fill("RirodIndex", index);
    Logbook logbook(path());
    pullHandheld(logbook, sync, *bytes);
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
