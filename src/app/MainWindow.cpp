#include "MainWindow.h"

#include "BusyScope.h"
#include "InputGuard.h"
#include "WindowHost.h"
#include "core/RuntimeError.h"
#include "deletion/ArchiveTakeIn.h"
#include "desktop/DuplicateCheck.h"
#include "desktop/SavedPaths.h"
#include "logbook/LogPull.h"
#include "logbook/Logbook.h"
#include "store/LogSearch.h"
#include "store/SyncComponent.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace vexa {

namespace {

// The docked user's archive of deleted logs, taken in before the pull that
// settles its unconfirmed deletes; what goes wrong is said on standard error.
void takeInArchiveSilently(Logbook &logbook, const SyncComponent &sync)
{
    try {
        for (const QString &line : takeInDockedArchive(logbook, sync).damaged)
            std::fprintf(stderr, "VEXASynch: not taken into the logbook: %s\n", qPrintable(line));
    } catch (...) {
        std::fprintf(stderr, "VEXASynch: the archive of deleted logs was not taken in: %s\n",
                     qPrintable(currentError().description()));
    }
}

// The logbook keeps what the window has just listed. Silent: whatever goes
// wrong is said on standard error, and the window goes on as before.
void pullIntoLogbook(const SyncComponent &sync)
{
    try {
        Logbook logbook(Logbook::defaultPath());
        takeInArchiveSilently(logbook, sync);
        const PullOutcome outcome = pullHandheld(logbook, sync, *sync.createByteUtility());
        for (const QString &line : outcome.unreadable)
            std::fprintf(stderr, "VEXASynch: not kept in the logbook: %s\n", qPrintable(line));
    } catch (...) {
        std::fprintf(stderr, "VEXASynch: the logbook was not brought up to date: %s\n",
                     qPrintable(currentError().description()));
    }
}

} // namespace

// The user interface the window's operations use: the window counts as busy
// while a box or dialog is open, so the countdown can't unload it under the
// box.
class MainWindow::GuardedPrompts final : public UserInterface {
public:
    GuardedPrompts(MainWindow &window, UserInterface &ui) : m_window(window), m_ui(ui) {}

    void showMessage(const QString &text, const QString &title, Icon icon) override
    {
        BusyScope busy(m_window);
        m_ui.showMessage(text, title, icon);
    }
    bool askYesNo(const QString &text, const QString &title) override
    {
        BusyScope busy(m_window);
        return m_ui.askYesNo(text, title);
    }
    SaveFileChoice chooseSaveFile(const QString &title, const QList<FileFilter> &filters,
                                  const QString &suggested = QString()) override
    {
        BusyScope busy(m_window);
        return m_ui.chooseSaveFile(title, filters, suggested);
    }
    SaveLocation chooseSaveLocation(bool rirodFormats) override
    {
        BusyScope busy(m_window);
        return m_ui.chooseSaveLocation(rirodFormats);
    }
    QString chooseFolder(const QString &title) override
    {
        BusyScope busy(m_window);
        return m_ui.chooseFolder(title);
    }
    FormatChoice chooseFormat(const QString &title, const QList<FormatOffer> &formats) override
    {
        BusyScope busy(m_window);
        return m_ui.chooseFormat(title, formats);
    }
    void setDialogOwner(QObject *window) override { m_ui.setDialogOwner(window); }

private:
    MainWindow &m_window;
    UserInterface &m_ui;
};

MainWindow::MainWindow(const SyncComponent &sync, UserInterface &ui, const QLocale &locale,
                       QWidget *parent)
    : QWidget(parent), m_sync(sync), m_ui(ui), m_dates(locale)
{
    buildControls();
    m_prompts = std::make_unique<GuardedPrompts>(*this, m_ui);
    m_host = std::make_unique<WindowHost>(
        lblStatus, cmdCancel,
        QList<QPushButton *>{cmdSelectAll, cmdClearAll, cmdSave, cmdDelete, cmdDeleteAll, cmdDone},
        m_cancelRequested);
    Timer1->start(); // enabled from creation: the countdown runs from the start
}

void MainWindow::setPlotSettings(SettingsStore &settings)
{
    m_plotSettings = &settings;
}

MainWindow::~MainWindow()
{
    for (QWidget *plot : std::exchange(m_plots, {})) {
        disconnect(plot, nullptr, this, nullptr);
        delete plot;
    }
}

UserInterface &MainWindow::prompts()
{
    return *m_prompts;
}

void MainWindow::setYieldSlice(int ms)
{
    m_host->setSliceMs(ms);
}

LogKind MainWindow::currentKind() const
{
    return logKindOfTab(tabMain->currentIndex());
}

void MainWindow::stopTimer()
{
    Timer1->stop();
}

void MainWindow::restartTimer()
{
    m_idleSeconds = 0;
    if (!m_unloaded && !m_closePending)
        Timer1->start();
}

void MainWindow::start()
{
    m_idleSeconds = 0;
    setWindowTitle(QStringLiteral("VEXA Synchronization v%1.%2")
                       .arg(VEXA_VERSION_MAJOR)
                       .arg(VEXA_VERSION_MINOR));
    runDuplicateCheck();
    openLogStore();
    if (!m_unloaded && !m_closePending)
        show();
}

void MainWindow::runDuplicateCheck()
{
    LocalFileSystem files;
    vexa::runDuplicateCheck(m_sync, prompts(), files);
}

void MainWindow::openLogStore()
{
    m_idleSeconds = 0;
    BusyScope busy(*this);
    try {
        if (!m_sync.createSyncStatus()->inProgress()) {
            m_prompts->showMessage(QStringLiteral("Hot-Synch not in progress"),
                                   QStringLiteral("Error"), UserInterface::Icon::Information);
            return;
        }
        lstSavedData->clear();
        const LogKind kind = currentKind();
        m_listedUser = m_sync.dockedUser();
        m_indexAdapter = m_sync.openDatabase(logKindInfo(kind).indexDatabase);
        if (kind == LogKind::Rirod)
            m_dataAdapter = m_sync.openDatabase(ScanDatabase);
        searchLogs();
        pullIntoLogbook(m_sync);
    } catch (...) {
        const RuntimeError error = currentError();
        if (error.number() == ErrorNumber::CannotCreateObject)
            m_prompts->inform(QStringLiteral("Can't load the VEXASynch.dll file.  Try rebooting or "
                                             "reinstalling the synchronizer from CD."));
        else if (error.description() != QLatin1String(vexasync::NotFoundDescription))
            m_prompts->inform(
                errorBoxText(QStringLiteral("There was an error performing the search."), error));
        setLogButtonsEnabled(false);
    }
}

void MainWindow::searchLogs()
{
    class ListFiller final : public SearchListener {
    public:
        explicit ListFiller(MainWindow &w) : m_w(w) {}
        void counted(int logCount) override
        {
            m_w.m_logCount = static_cast<std::int16_t>(logCount);
        }
        void found(int line, const LogIndexEntry &entry) override
        {
            m_w.m_savedLogs[line] = entry;
            m_w.lstSavedData->addItem(listLine(entry, m_w.m_dates));
        }

    private:
        MainWindow &m_w;
    };

    m_idleSeconds = 0;
    m_logCount = 0;
    lstSavedData->clear();
    lblStatus->setText(QStringLiteral("Searching....."));
    QCoreApplication::processEvents(); // once, so that the text shows

    const auto bytes = m_sync.createByteUtility();
    ListFiller filler(*this);
    vexa::searchLogs(*m_indexAdapter, *bytes, currentKind(), filler);
    lblStatus->setText(foundLogsText(m_logCount));
    setLogButtonsEnabled(m_logCount > 0);
}

void MainWindow::showLogDescription()
{
    stopTimer();
    const int line = lstSavedData->currentRow();
    if (line < 0)
        return; // the timer stays off until the next handler
    QString text = logDescription(m_savedLogs[line], currentKind(), m_dates);
    txtDesc->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    restartTimer();
}

void MainWindow::onTabChanged()
{
    stopTimer();
    openLogStore();
    restartTimer();
}

void MainWindow::onSelectAll()
{
    stopTimer();
    for (int i = 0; i < lstSavedData->count(); ++i)
        lstSavedData->item(i)->setSelected(true);
    restartTimer();
}

void MainWindow::onClearAll()
{
    stopTimer();
    for (int i = 0; i < lstSavedData->count(); ++i)
        lstSavedData->item(i)->setSelected(false);
    txtDesc->clear();
    restartTimer();
}

void MainWindow::onTimerTick()
{
    const int n = m_idleSeconds;
    if (n >= 10)
        lblStatus->setText(QStringLiteral("Closing in %1 seconds").arg(40 - n));
    if (n >= 40)
        close();
    m_idleSeconds = static_cast<std::int16_t>(n + 1);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_busyDepth > 0) {
        // A box or a command is still running: unload once it has ended.
        m_closePending = true;
        Timer1->stop();
        event->ignore();
        return;
    }
    Timer1->stop();
    m_indexAdapter.reset();
    m_dataAdapter.reset();
    event->accept();
    if (!m_unloaded) {
        m_unloaded = true;
        emit unloaded();
        if (m_plots.empty())
            emit finished();
    }
}

} // namespace vexa
