#include "LogbookTable.h"

#include "core/RuntimeError.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookSource.h"

#include <QStringList>

namespace vexa {

LogbookTable logbookTable(const Logbook &logbook, vexasync::ByteUtility &bytes,
                          const TableRequest &request, const LogFilter &filter,
                          const std::vector<std::int64_t> &ids)
{
    TableBuilder builder(request, bytes);
    LogbookTable result;
    LogbookSource source(logbook, bytes, filter, ids);
    const std::vector<SourceLog> logs = source.logs(LogKind::Rirod);
    for (std::size_t p = 0; p < logs.size(); ++p) {
        const std::int64_t id = source.idAt(p);
        if (!logs[p].entry) {
            result.leftOut.push_back({id, logs[p].unreadable});
            continue;
        }
        try {
            const PackedScans scans = logbook.packedScans(id);
            const std::vector<std::string> lacking =
                builder.addLog(logs[p].entry->paramCodes, scans.records);
            if (lacking.empty()) {
                ++result.logsUsed;
                continue;
            }
            QStringList codes;
            for (const std::string &code : lacking)
                codes << QString::fromStdString(code);
            result.leftOut.push_back({id, QStringLiteral("lacks %1").arg(codes.join(", "))});
        } catch (...) {
            result.leftOut.push_back({id, currentError().description()});
        }
    }
    if (result.logsUsed > 0) {
        result.table = builder.table();
        result.points = builder.counted();
    }
    return result;
}

} // namespace vexa
