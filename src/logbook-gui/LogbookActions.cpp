// The logbook window's commands on the selected logs: each gathers what it
// needs, asks through the user interface and calls the layers below.
#include "LogbookWindow.h"

#include "LogbookSave.h"
#include "StatusBarHost.h"

#include "analysis-gui/PlotTable.h"
#include "analysis-gui/TableWindow.h"
#include "core/RuntimeError.h"
#include "deletion/ArchiveTakeIn.h"
#include "deletion/LogbookRestore.h"
#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookSource.h"
#include "logbook/LogbookText.h"
#include "logbook/LogbookWatch.h"
#include "plot-gui/PlotWindow.h"

#include <QStatusBar>
#include <QTimer>

namespace vexa {

namespace {

// The longest list a question names log by log.
constexpr std::size_t MostNamedLogs = 20;

} // namespace

void LogbookWindow::plotSelected()
{
    const std::vector<LogbookEntry> logs = selectedLogs();
    const Logbook *logbook = m_watch->logbook();
    if (!logbook || logs.size() != 1 || logs.front().kind != LogKind::Rirod ||
        !logs.front().damage.isEmpty())
        return;
    try {
        LogbookSource source(*logbook, *bytes(), {}, {logs.front().id});
        const std::vector<SourceLog> listed = source.logs(LogKind::Rirod);
        if (listed.empty())
            throw RuntimeError(ErrorNumber::SubscriptOutOfRange,
                               QStringLiteral("The logbook has no log %1").arg(logs.front().id));
        if (!listed.front().entry)
            throw RuntimeError(ErrorNumber::InvalidCall, listed.front().unreadable);
        // A window of its own: it stays when this one closes.
        auto *plot = new PlotWindow(
            readPlotData(*listed.front().entry, source.scanRecords(0), *bytes(), m_dates.locale()),
            m_dates, m_ui, m_settings,
            [&sync = m_sync, &ui = m_ui, &settings = m_settings](const PlotData &p, QWidget *over) {
                openPlotTable(p, sync, ui, settings, over);
            });
        m_plots.push_back(plot);
        connect(plot, &QObject::destroyed, this,
                [this](QObject *gone) { std::erase(m_plots, gone); });
        plot->show();
    } catch (...) {
        m_ui.inform(
            errorBoxText(QStringLiteral("There was an error reading the log."), currentError()));
    }
}

void LogbookWindow::tableOfSelected()
{
    const std::vector<LogbookEntry> logs = selectedLogs();
    std::vector<std::int64_t> ids;
    for (const LogbookEntry &log : logs)
        if (log.kind == LogKind::Rirod)
            ids.push_back(log.id);
    LogFilter filter;
    QString name;
    if (!ids.empty())
        name = ids.size() == 1 ? QStringLiteral("log %1").arg(ids.front())
                               : QStringLiteral("%1 logs").arg(ids.size());
    else if (!logs.empty())
        name = QStringLiteral("logs of %1").arg(filter.user = logs.front().userName);
    else
        name = QStringLiteral("all logs");
    // Closes with this window: it reads through this window's logbook.
    auto *table = new TableWindow(
        name,
        [this, ids, filter](const TableRequest &request) {
            const Logbook *logbook = m_watch->logbook();
            if (!logbook)
                throw RuntimeError(ErrorNumber::InvalidCall, m_watch->unreadable());
            return logbookTable(*logbook, *bytes(), request, filter, ids);
        },
        m_ui, m_settings, this);
    table->show();
    table->makeTable();
}

void LogbookWindow::saveSelected()
{
    const std::vector<LogbookEntry> logs = selectedLogs();
    if (logs.empty())
        return;
    saveNote();
    std::vector<std::int64_t> ids;
    for (const LogbookEntry &log : logs)
        ids.push_back(log.id);
    const QSignalBlocker quiet(m_tick); // no reload while the command yields
    saveLogbookLogs(m_path, ids, m_ui, *m_host);
}

void LogbookWindow::putBackSelected()
{
    const std::vector<LogbookEntry> logs = selectedLogs();
    if (logs.empty() || m_watch->dockedUser() == 0)
        return;
    saveNote();
    const QString which = logs.size() == 1 ? QStringLiteral("this log")
                                           : QStringLiteral("these %1 logs").arg(logs.size());
    const QString question = QStringLiteral("Put %1 back on %2's handheld?\n\n%3")
                                 .arg(which, m_watch->dockedUserName(), namedLogs(logs));
    if (!m_ui.ask(question))
        return;
    std::vector<std::int64_t> ids;
    for (const LogbookEntry &log : logs)
        ids.push_back(log.id);
    CommandOutcome outcome;
    try {
        const QSignalBlocker quiet(m_tick); // no reload while the command yields
        Logbook logbook(m_path);
        outcome = restoreFromLogbook(logbook, ids, {m_sync, *m_host, false});
    } catch (...) {
        outcome.status = CommandOutcome::Status::Failed;
        outcome.error = currentError().description();
    }
    QStringList lines;
    for (const LogOutcome &o : outcome.logs)
        if (!o.done) {
            const auto log = std::find_if(logs.begin(), logs.end(),
                                          [&o](const LogbookEntry &l) { return l.id == o.log; });
            lines << (log == logs.end() ? QString::number(o.log) : logbookLine(*log, m_dates)) +
                         QStringLiteral(": ") + o.detail;
        }
    if (outcome.status == CommandOutcome::Status::Failed)
        lines << outcome.error;
    lines.prepend(QStringLiteral("%1 of %2 logs put back on the handheld.")
                      .arg(outcome.doneCount())
                      .arg(logs.size()));
    m_ui.inform(lines.join(QStringLiteral("\n\n")));
    lookAgain();
}

void LogbookWindow::pullNow()
{
    if (m_watch->dockedUser() == 0)
        return;
    m_host->showStatusNow(QStringLiteral("Pulling the handheld's logs..."));
    QStringList problems;
    QString pulled;
    try {
        const QSignalBlocker quiet(m_tick); // no reload while the command yields
        Logbook logbook(m_path);
        try {
            problems << takeInDockedArchive(logbook, m_sync).damaged;
        } catch (...) {
            problems << currentError().description();
        }
        const PullOutcome outcome = pullHandheld(logbook, m_sync, *bytes());
        pulled = pulledText(outcome);
        problems << outcome.unreadable;
    } catch (...) {
        m_ui.inform(
            errorBoxText(QStringLiteral("The handheld's logs were not pulled."), currentError()));
        lookAgain();
        updateStatus();
        return;
    }
    lookAgain();
    statusBar()->showMessage(QString(pulled).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    if (!problems.isEmpty())
        m_ui.inform(pulled + QStringLiteral("\n\n") + problems.join(QLatin1Char('\n')));
}

void LogbookWindow::purge()
{
    const Logbook *logbook = m_watch->logbook();
    if (!logbook)
        return;
    saveNote();
    const std::optional<QDate> day = m_ui.chooseDate(
        QStringLiteral("Remove from the logbook the logs no handheld holds, last seen before:"),
        QStringLiteral("Purge"));
    if (!day)
        return;
    const QString dayText = m_dates.locale().toString(
        *day, withFourDigitYear(m_dates.locale().dateFormat(QLocale::ShortFormat)));
    std::vector<LogbookEntry> going;
    try {
        for (const std::int64_t id : logbook->purgeable(*day))
            going.push_back(logbook->log(id));
    } catch (...) {
        m_ui.inform(errorBoxText(QStringLiteral("Nothing was purged."), currentError()));
        return;
    }
    if (going.empty()) {
        m_ui.inform(
            QStringLiteral("No log was last seen before %1 on a handheld that no longer holds it: "
                           "nothing to purge.")
                .arg(dayText));
        return;
    }
    const std::size_t more = going.size() > MostNamedLogs ? going.size() - MostNamedLogs : 0;
    going.resize(going.size() - more);
    const std::size_t count = going.size() + more;
    QString question = QStringLiteral("Remove %1 from the logbook for good?\n\n%2")
                           .arg(count == 1 ? QStringLiteral("this log")
                                           : QStringLiteral("these %1 logs").arg(count),
                                namedLogs(going));
    if (more > 0)
        question += QStringLiteral("\nand %1 more").arg(more);
    if (!m_ui.ask(question))
        return;
    try {
        const int removed = Logbook(m_path).purgeBefore(*day);
        statusBar()->showMessage(QStringLiteral("%1 logs removed from the logbook.").arg(removed));
    } catch (...) {
        m_ui.inform(errorBoxText(QStringLiteral("Nothing was purged."), currentError()));
    }
    lookAgain();
}

} // namespace vexa
