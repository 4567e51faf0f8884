#include "LogbookCommands.h"
#include "LogbookOptions.h"

#include "analysis/LogbookTable.h"
#include "analysis/TableText.h"
#include "core/RuntimeError.h"
#include "logbook/Logbook.h"
#include "store/SyncComponent.h"

#include <iostream>

namespace vexa::logbook {

int tableLogs(const Args &args, const QString &path)
{
    const TableOptions o = parseTableOptions(args);
    const Logbook logbook(path, Logbook::Access::ReadOnly);
    int refused = 0;
    for (const std::int64_t id : o.ids) {
        try {
            if (logbook.log(id).kind != LogKind::Rirod) {
                std::cerr << "vexa-logbook: log " << id << " is not a Rirod log: left out\n";
                ++refused;
            }
        } catch (const RuntimeError &e) {
            if (e.number() != ErrorNumber::SubscriptOutOfRange)
                throw;
            std::cerr << "vexa-logbook: the logbook has no log " << id << '\n';
            ++refused;
        }
    }
    const SyncComponent sync;
    const auto bytes = sync.createByteUtility();
    const LogbookTable made = logbookTable(logbook, *bytes, o.request, o.filter, o.ids);
    for (const LeftOutLog &log : made.leftOut)
        std::cerr << "vexa-logbook: log " << log.id << " left out: " << log.why.toStdString()
                  << '\n';
    if (made.logsUsed == 0) {
        std::cerr << "vexa-logbook: no table: "
                  << (made.leftOut.empty() && refused == 0 ? "no Rirod log is chosen"
                                                           : "none of the chosen logs can be used")
                  << '\n';
        return 1;
    }
    if (!made.table) {
        std::cerr << "vexa-logbook: no table: no scan counts, so an axis with neither usual "
                     "nor given breakpoints has none (--x-axis and --y-axis give them)\n";
        return 1;
    }
    std::cout << tableText(*made.table, o.stat) << std::flush;
    return 0;
}

} // namespace vexa::logbook
