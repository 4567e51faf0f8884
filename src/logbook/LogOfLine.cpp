#include "LogOfLine.h"

#include "LogPull.h"
#include "Logbook.h"
#include "LogbookFile.h"
#include "core/RuntimeError.h"
#include "format/IndexRecord.h"

namespace vexa {

namespace {

// False too for a held record that can't be read.
bool isSameLog(vexasync::ByteUtility &bytes, LogKind kind, const RecordBytes &held,
               const IndexRecord &listed)
{
    try {
        return IndexRecord::parse(bytes, held, kind, 1).isSameLog(listed);
    } catch (...) {
        return false;
    }
}

} // namespace

std::int64_t logbookLogAt(Logbook &logbook, const SyncComponent &sync, vexasync::ByteUtility &bytes,
                          std::uint32_t user, LogKind kind, vexasync::RecordAdapter &index,
                          vexasync::RecordAdapter *scans, int line, vexasync::RecordId record)
{
    if (line < 0 || line >= index.recordCount() || index.readByIndex(line).id != record)
        throw RuntimeError(
            ErrorNumber::SubscriptOutOfRange,
            QStringLiteral("The log on line %1 is no longer on the handheld there").arg(line + 1));
    const IndexRecord listed =
        IndexRecord::parse(bytes, index.readByIndex(line).bytes, kind, line + 1);
    LogbookFile &file = logbook.file();
    file.beginWrite();
    try {
        const PullOutcome outcome =
            pullKindInside(file, sync, bytes, user, kind, index, scans, std::vector<int>{line});
        if (!outcome.unreadable.isEmpty())
            throw RuntimeError(ErrorNumber::InvalidCall, outcome.unreadable.join(u'\n'));
        // id, index record: the logs the logbook has at that record now
        SqlStatement rows(file, "SELECT id, index_record FROM logs WHERE user_id = ?1"
                                " AND kind = ?2 AND handheld_record = ?3"
                                " AND state IN (0, 3, 4) ORDER BY id");
        rows.bind(1, static_cast<std::int64_t>(user))
            .bind(2, static_cast<std::int64_t>(kind))
            .bind(3, static_cast<std::int64_t>(record));
        std::int64_t id = 0;
        while (id == 0 && rows.step())
            if (rows.bytes(1) <= MostIndexRecordBytes &&
                isSameLog(bytes, kind, rows.blob(1), listed))
                id = rows.integer(0);
        file.commit();
        if (id == 0)
            throw RuntimeError(
                ErrorNumber::InternalError,
                QStringLiteral("The log on line %1 was not kept in the logbook").arg(line + 1));
        return id;
    } catch (...) {
        file.rollback();
        throw;
    }
}

} // namespace vexa
