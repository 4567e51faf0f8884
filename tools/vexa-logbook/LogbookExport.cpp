#include "LogbookCommands.h"
#include "LogbookOptions.h"

#include "core/RuntimeError.h"
#include "export/OutputFormat.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookSource.h"
#include "store/DateText.h"
#include "store/SyncComponent.h"

#include <QDir>
#include <QFileInfo>

#include <iostream>
#include <set>

namespace vexa::logbook {

int exportLogs(const Args &args, const QString &path)
{
    const ExportOptions o = parseExportOptions(args);
    if (!QFileInfo(o.out).isDir())
        throw RuntimeError(
            ErrorNumber::PathNotFound,
            QStringLiteral("%1 is not a folder").arg(QDir::toNativeSeparators(o.out)));
    const Logbook logbook(path, Logbook::Access::ReadOnly);
    int refused = 0;
    std::map<std::int64_t, LogKind> held;
    for (const LogbookEntry &log : logbook.logs())
        held[log.id] = log.kind;
    for (const std::int64_t id : o.ids) {
        const auto it = held.find(id);
        if (it == held.end()) {
            std::cerr << "vexa-logbook: the logbook has no log " << id << '\n';
            ++refused;
        } else if (!o.format->fits(it->second)) {
            std::cerr << "vexa-logbook: log " << id
                      << " is not a Rirod log: " << o.format->code.toStdString()
                      << " files are for Rirod logs only\n";
            ++refused;
        }
    }
    const SyncComponent sync;
    const auto bytes = sync.createByteUtility();
    const DateText dates;
    BatchSave save(QStringLiteral("vexa-logbook"), *o.format, o.out, o.existing, dates);
    for (int k = 0; k < 4; ++k) {
        const LogKind kind = LogKind(k);
        if (!o.format->fits(kind))
            continue;
        LogbookSource source(logbook, *bytes, o.filter, o.ids);
        const std::vector<SourceLog> logs = source.logs(kind);
        std::vector<BatchLog> chosen;
        for (std::size_t p = 0; p < logs.size(); ++p)
            chosen.push_back({source.idAt(p), p});
        save.save(source, *bytes, kind, logs, chosen);
    }
    const int status = save.finish();
    return refused > 0 ? 1 : status;
}

} // namespace vexa::logbook
