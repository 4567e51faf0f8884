// Writes deleted-logs.sqlite as the archive of deleted logs kept them before
// the logbook: one row of each outcome, scans of no log and a row whose
// index record can't be read. Run: make_deleted_logs_fixture FILE
#include "LoggerRecords.h"
#include "deletion/DeletedLogArchive.h"

#include <cstdio>

using namespace vexa;
using namespace logger;

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_deleted_logs_fixture FILE\n");
        return 2;
    }
    std::vector<RecordBytes> scans;
    for (std::int16_t k = 1; k <= 10; ++k)
        scans.push_back(scanRecord(10, Channels{{{0, float(k)}}}, k));
    std::vector<ArchivedLog> rows(6);
    rows[0].indexRecord = rirodIndexRecord({2003, 1, 2, 8, 0, 0}, 10, 1, {15}, "X");
    rows[0].scanRecords = scans;
    rows[0].deletedRecord = 7001;
    rows[1].kind = LogKind::LTrim; // on the test handheld
    rows[1].indexRecord = textLogRecord({2005, 1, 1, 8, 0, 0}, "trim");
    rows[2].kind = LogKind::TroubleCode;
    rows[2].indexRecord = textLogRecord({2006, 1, 1, 8, 0, 0}, "P0300");
    rows[3].kind = LogKind::AccelTest;
    rows[3].indexRecord = textLogRecord({2007, 1, 1, 8, 0, 0}, "old accel");
    rows[4].scanRecords = {scans[0], scans[1], scans[2]}; // scans of no log
    rows[5].indexRecord = {1, 2, 3};
    DeletedLogArchive archive(QString::fromLocal8Bit(argv[1]));
    const std::vector<std::int64_t> ids = archive.add(rows);
    // 1 and 2: deletes never confirmed; 3 restored
    archive.markRemoved({ids[0], ids[3], ids[4], ids[5]});
    archive.markRestoring(ids[3], 9001);
    archive.markRestored(ids[3]);
    return 0;
}
