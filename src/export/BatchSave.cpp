#include "BatchSave.h"

#include "ExportContext.h"
#include "OutputFormat.h"
#include "core/RuntimeError.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace vexa {

BatchSave::BatchSave(QString program, const OutputFormat &format, const QString &folder,
                     Existing existing, const DateText &dates)
    : m_program(std::move(program)), m_format(format),
      m_folder(withTrailingSeparator(QDir::toNativeSeparators(folder))), m_existing(existing),
      m_dates(dates)
{
    m_host.printProgress(
        [](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
}

void BatchSave::save(LogSource &source, vexasync::ByteUtility &bytes, LogKind kind,
                     const std::vector<SourceLog> &logs, const std::vector<BatchLog> &chosen)
{
    const QByteArray program = m_program.toLocal8Bit();
    for (const BatchLog &chosenLog : chosen) {
        const auto n = static_cast<long long>(chosenLog.number);
        const SourceLog &log = logs.at(chosenLog.position);
        if (!log.entry) {
            std::fprintf(stderr, "%s: log %lld can't be read: %s\n", program.constData(), n,
                         qPrintable(log.unreadable));
            m_outcome.logs.push_back({n, false, log.unreadable});
            continue;
        }
        const LogIndexEntry &entry = *log.entry;
        const QString name =
            m_names.claim(multiLogFileName(m_folder, kind, entry, m_format.extension()));
        if (m_existing != Existing::Overwrite && QFileInfo::exists(name)) {
            if (m_existing == Existing::Skip) { // done already, for a script saving new logs
                std::fprintf(stderr, "Log %lld: %s exists; skipped\n", n, qPrintable(name));
                m_outcome.logs.push_back({n, true, name});
                ++m_skipped;
                continue;
            }
            std::fprintf(stderr, "%s: %s exists; left alone (--force overwrites it)\n",
                         program.constData(), qPrintable(name));
            m_outcome.logs.push_back({n, false, QStringLiteral("exists")});
            continue;
        }
        std::fprintf(stderr, "Log %lld: %s\n", n, qPrintable(name));
        try {
            ExportContext context{kind == LogKind::Rirod ? &source.scanRecords(chosenLog.position)
                                                         : nullptr,
                                  bytes, m_host, m_host, m_dates};
            saveLogFile(name, kind, m_format.code, entry, context);
            m_outcome.logs.push_back({n, true, name});
        } catch (...) {
            const RuntimeError error = currentError();
            std::fprintf(stderr, "%s: %s: %s (error %s)\n", program.constData(), qPrintable(name),
                         qPrintable(error.description()),
                         qPrintable(errorNumberText(error.number())));
            m_outcome.logs.push_back({n, false, error.description()});
        }
    }
}

int BatchSave::finish() const
{
    if (m_skipped == 0)
        std::fprintf(stderr, "%d of %lld files written.\n", m_outcome.doneCount(),
                     static_cast<long long>(m_outcome.logs.size()));
    else
        std::fprintf(stderr, "%d of %lld files written, %d existing skipped.\n",
                     m_outcome.doneCount() - m_skipped,
                     static_cast<long long>(m_outcome.logs.size()), m_skipped);
    return m_outcome.allDone() ? 0 : 1;
}

} // namespace vexa
