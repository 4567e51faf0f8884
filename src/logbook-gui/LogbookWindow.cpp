#include "LogbookWindow.h"

#include "KeptSelection.h"
#include "LogbookFilterBar.h"
#include "LogbookFilterModel.h"
#include "LogbookTableModel.h"
#include "StatusBarHost.h"

#include "core/RuntimeError.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookText.h"
#include "logbook/LogbookWatch.h"
#include "store/SyncComponent.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vexa {

namespace {

// Another program's change shows within two seconds.
constexpr int LookEveryMs = 1000;

} // namespace

LogbookWindow::LogbookWindow(const QString &logbookPath, const SyncComponent &sync,
                             UserInterface &ui, SettingsStore &settings, const QLocale &locale,
                             QWidget *parent)
    : QMainWindow(parent), m_path(logbookPath), m_sync(sync), m_ui(ui), m_settings(settings),
      m_dates(locale)
{
    setObjectName(QStringLiteral("LogbookWindow"));
    setWindowTitle(QStringLiteral("VEXA Logbook"));
    m_model = new LogbookTableModel(m_dates, this);
    m_shown = new LogbookFilterModel(*m_model, this);
    m_host = std::make_unique<StatusBarHost>(*statusBar());

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    m_filter = new LogbookFilterBar(locale, central);
    layout->addWidget(m_filter);
    auto *split = new QSplitter(Qt::Horizontal, central);
    split->setObjectName(QStringLiteral("logSplit"));
    split->addWidget(buildTablePane());
    split->addWidget(buildLogPane());
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setChildrenCollapsible(false);
    split->setSizes({800, 200});
    m_split = split;
    layout->addWidget(split, 1);
    setCentralWidget(central);
    m_docking = new QLabel(this);
    m_docking->setObjectName(QStringLiteral("dockingStatus"));
    statusBar()->addPermanentWidget(m_docking);
    buildActions();
    connect(m_filter, &LogbookFilterBar::changed, this, &LogbookWindow::applyFilter);

    m_watch = std::make_unique<LogbookWatch>(m_path, m_sync);
    reload();
    m_table->sortByColumn(LogbookTableModel::Start, Qt::AscendingOrder);
    restoreSettings();
    // The newest log, described from the start.
    if (const int rows = m_shown->rowCount(); rows > 0) {
        const QModelIndex newest = m_shown->index(
            m_table->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder ? rows - 1 : 0,
            0);
        m_table->selectionModel()->setCurrentIndex(newest, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
        m_table->scrollTo(newest);
    }
    m_tick = new QTimer(this);
    connect(m_tick, &QTimer::timeout, this, &LogbookWindow::lookAgain);
    m_tick->start(LookEveryMs);
}

LogbookWindow::~LogbookWindow() = default;

void LogbookWindow::closeEvent(QCloseEvent *event)
{
    saveNote();
    saveSettings();
    event->accept();
}

bool LogbookWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_note && event->type() == QEvent::FocusOut)
        saveNote();
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            plotSelected();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void LogbookWindow::lookAgain()
{
    const LogbookWatch::Changes changes = m_watch->poll();
    if (changes.logs)
        reload();
    else if (changes.docking) {
        updateActions();
        updateStatus();
    }
}

void LogbookWindow::reload()
{
    const KeptSelection kept = KeptSelection::of(*m_table->selectionModel());
    std::vector<LogbookEntry> logs;
    if (const Logbook *logbook = m_watch->logbook()) {
        try {
            logs = logbook->logs();
        } catch (...) {
            statusBar()->showMessage(currentError().description());
        }
    }
    QStringList users;
    for (const LogbookEntry &log : logs)
        if (!users.contains(log.userName))
            users << log.userName;
    {
        const QSignalBlocker quiet(m_table->selectionModel());
        m_model->setLogs(std::move(logs));
        kept.restore(*m_table->selectionModel());
    }
    m_filter->setUsers(users);
    showSelected();
}

void LogbookWindow::applyFilter()
{
    const KeptSelection kept = KeptSelection::of(*m_table->selectionModel());
    {
        const QSignalBlocker quiet(m_table->selectionModel());
        m_shown->setLogFilter(m_filter->filter());
        kept.restore(*m_table->selectionModel());
    }
    showSelected();
}

std::vector<LogbookEntry> LogbookWindow::selectedLogs() const
{
    QModelIndexList rows = m_table->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    std::vector<LogbookEntry> logs;
    for (const QModelIndex &row : rows)
        logs.push_back(m_model->log(m_shown->mapToSource(row).row()));
    return logs;
}

const LogbookEntry *LogbookWindow::currentLog() const
{
    const QModelIndex current = m_table->selectionModel()->currentIndex();
    if (!current.isValid() || !m_table->selectionModel()->isRowSelected(current.row()))
        return nullptr;
    return &m_model->log(m_shown->mapToSource(current).row());
}

vexasync::ByteUtility *LogbookWindow::bytes()
{
    if (!m_bytes)
        m_bytes = m_sync.createByteUtility();
    return m_bytes.get();
}

void LogbookWindow::showSelected()
{
    const LogbookEntry *log = currentLog();
    if (!log || log->id != m_noteLog)
        saveNote();
    if (!log) {
        m_description->clear();
        m_note->clear();
        m_note->setEnabled(false);
        m_noteLog = 0;
    } else {
        QString text;
        if (!log->damage.isEmpty())
            text = QStringLiteral("This log can't be read: %1").arg(log->damage);
        else {
            try {
                text = logbookDescription(*log, *bytes(), m_dates);
            } catch (...) {
                text = errorBoxText(QStringLiteral("There was an error reading the log."),
                                    currentError());
            }
        }
        m_description->setPlainText(text);
        // What is being typed stays, whatever another program wrote.
        if (log->id != m_noteLog || !m_note->document()->isModified()) {
            m_note->setPlainText(log->note);
            m_note->document()->setModified(false);
        }
        m_note->setEnabled(true);
        m_noteLog = log->id;
    }
    updateActions();
    updateStatus();
}

void LogbookWindow::saveNote()
{
    if (m_noteLog == 0 || !m_note->document()->isModified())
        return;
    const QString note = m_note->toPlainText();
    m_note->document()->setModified(false);
    try {
        Logbook(m_path).setNote(m_noteLog, note);
        if (const int row = m_model->rowOf(m_noteLog); row >= 0)
            m_model->setNote(row, note);
    } catch (...) {
        m_ui.inform(errorBoxText(QStringLiteral("The note was not saved."), currentError()));
    }
}

void LogbookWindow::updateActions()
{
    const std::vector<LogbookEntry> logs = selectedLogs();
    const std::uint32_t docked = m_watch->dockedUser();
    const bool one = logs.size() == 1;
    m_plot->setEnabled(one && logs.front().kind == LogKind::Rirod && logs.front().damage.isEmpty());
    m_save->setEnabled(!logs.empty());
    m_putBack->setEnabled(docked != 0 &&
                          std::any_of(logs.begin(), logs.end(), [docked](const LogbookEntry &log) {
                              return log.user == docked && log.damage.isEmpty();
                          }));
    m_pull->setEnabled(docked != 0);
    m_purge->setEnabled(m_watch->logbook() != nullptr);
    m_tuningTable->setEnabled(m_watch->logbook() != nullptr);
}

void LogbookWindow::updateStatus()
{
    m_docking->setText(m_watch->dockedUser() == 0
                           ? QStringLiteral("No handheld docked")
                           : QStringLiteral("Docked: %1").arg(m_watch->dockedUserName()));
    if (!m_watch->logbook()) {
        statusBar()->showMessage(m_watch->unreadable());
        return;
    }
    const QLocale &l = m_dates.locale();
    const int all = m_model->rowCount();
    const int shown = m_shown->rowCount();
    const auto selected = m_table->selectionModel()->selectedRows().size();
    QString text =
        all == 1 ? QStringLiteral("1 log") : QStringLiteral("%1 logs").arg(l.toString(all));
    if (shown != all)
        text += QStringLiteral(", %1 shown").arg(l.toString(shown));
    if (selected > 1)
        text += QStringLiteral(", %1 selected").arg(l.toString(selected));
    statusBar()->showMessage(text + QLatin1Char('.'));
}

void LogbookWindow::selectLog(std::int64_t id)
{
    QModelIndex row = m_shown->indexOf(id);
    if (!row.isValid() && m_model->rowOf(id) < 0) {
        lookAgain(); // just pulled, perhaps
        row = m_shown->indexOf(id);
    }
    if (!row.isValid() && m_model->rowOf(id) >= 0) {
        m_filter->clear();
        row = m_shown->indexOf(id);
    }
    if (row.isValid()) {
        m_table->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        m_table->scrollTo(row, QAbstractItemView::PositionAtCenter);
        m_table->setFocus();
    } else {
        statusBar()->showMessage(QStringLiteral("The logbook has no log %1.").arg(id));
    }
}

void LogbookWindow::showLog(std::int64_t id)
{
    if (id != 0)
        selectLog(id);
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

QString LogbookWindow::namedLogs(const std::vector<LogbookEntry> &logs) const
{
    QStringList lines;
    for (const LogbookEntry &log : logs)
        lines << logbookLine(log, m_dates);
    return lines.join(QLatin1Char('\n'));
}

} // namespace vexa
