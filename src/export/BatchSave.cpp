#include "BatchSave.h"

#include "ExportContext.h"
#include "OutputFormat.h"
#include "core/RuntimeError.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace vexa {

namespace {

void printLine(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

} // namespace

BatchSave::BatchSave(QString program, const OutputFormat &format, const QString &folder,
                     Existing existing, const DateText &dates)
    : BatchSave(std::move(program), format, folder, existing, dates,
                {printLine, m_unattended, m_unattended})
{
    m_unattended.printProgress(printLine);
}

BatchSave::BatchSave(QString program, const OutputFormat &format, const QString &folder,
                     Existing existing, const DateText &dates, Reporting reporting)
    : m_program(std::move(program)), m_format(format),
      m_folder(withTrailingSeparator(QDir::toNativeSeparators(folder))), m_existing(existing),
      m_dates(dates), m_reporting(std::move(reporting))
{}

void BatchSave::save(LogSource &source, vexasync::ByteUtility &bytes, LogKind kind,
                     const std::vector<SourceLog> &logs, const std::vector<BatchLog> &chosen)
{
    const auto &say = m_reporting.say;
    for (const BatchLog &chosenLog : chosen) {
        if (cancelled())
            return;
        const auto n = static_cast<long long>(chosenLog.number);
        const SourceLog &log = logs.at(chosenLog.position);
        if (!log.entry) {
            say(QStringLiteral("%1: log %2 can't be read: %3")
                    .arg(m_program)
                    .arg(n)
                    .arg(log.unreadable));
            m_outcome.logs.push_back({n, false, log.unreadable});
            continue;
        }
        const QString name =
            m_names.claim(multiLogFileName(m_folder, kind, *log.entry, m_format.extension()));
        if (m_existing != Existing::Overwrite && QFileInfo::exists(name)) {
            if (m_existing == Existing::Skip) { // done already, for a script saving new logs
                say(QStringLiteral("Log %1: %2 exists; skipped").arg(n).arg(name));
                m_outcome.logs.push_back({n, true, name});
                m_skipped.push_back(n);
                continue;
            }
            say(QStringLiteral("%1: %2 exists; left alone (--force overwrites it)")
                    .arg(m_program, name));
            m_outcome.logs.push_back({n, false, QStringLiteral("exists")});
            continue;
        }
        saveOne(source, bytes, kind, log, chosenLog, name);
    }
}

void BatchSave::saveAs(LogSource &source, vexasync::ByteUtility &bytes, LogKind kind,
                       const SourceLog &log, const BatchLog &chosen, const QString &name)
{
    if (!log.entry) {
        m_outcome.logs.push_back({chosen.number, false, log.unreadable});
        return;
    }
    saveOne(source, bytes, kind, log, chosen, name);
}

void BatchSave::saveOne(LogSource &source, vexasync::ByteUtility &bytes, LogKind kind,
                        const SourceLog &log, const BatchLog &chosen, const QString &name)
{
    const auto n = static_cast<long long>(chosen.number);
    m_reporting.say(QStringLiteral("Log %1: %2").arg(n).arg(name));
    try {
        ExportContext context{kind == LogKind::Rirod ? &source.scanRecords(chosen.position)
                                                     : nullptr,
                              bytes, m_reporting.host, m_reporting.ui, m_dates};
        m_reporting.host.clearCancelRequest();
        saveLogFile(name, kind, m_format.code, *log.entry, context);
        m_outcome.logs.push_back({n, true, name});
        // The writer asked, and the user chose to stop: the file keeps
        // what was written, as in the main window.
        if (m_reporting.host.cancelRequested())
            m_outcome.status = CommandOutcome::Status::Cancelled;
    } catch (...) {
        const RuntimeError error = currentError();
        m_reporting.say(
            QStringLiteral("%1: %2: %3 (error %4)")
                .arg(m_program, name, error.description(), errorNumberText(error.number())));
        m_outcome.logs.push_back({n, false, error.description()});
    }
}

int BatchSave::finish() const
{
    const int skipped = static_cast<int>(m_skipped.size());
    const auto all = static_cast<long long>(m_outcome.logs.size());
    if (skipped == 0)
        m_reporting.say(
            QStringLiteral("%1 of %2 files written.").arg(m_outcome.doneCount()).arg(all));
    else
        m_reporting.say(QStringLiteral("%1 of %2 files written, %3 existing skipped.")
                            .arg(m_outcome.doneCount() - skipped)
                            .arg(all)
                            .arg(skipped));
    return m_outcome.allDone() ? 0 : 1;
}

} // namespace vexa
