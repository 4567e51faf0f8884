// frmMain: the program's one window. It lists the saved logs of the tab's
// kind, describes the clicked log, runs the commands and closes itself after
// forty idle seconds.
#pragma once

#include "core/UserInterface.h"
#include "format/LogIndexEntry.h"
#include "format/LogKind.h"
#include "store/DateText.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;

namespace vexa {

class InputGuard;
class SettingsStore;
class WindowHost;
class SyncComponent;

class MainWindow : public QWidget {
    Q_OBJECT

public:
    MainWindow(const SyncComponent &sync, UserInterface &ui,
               const QLocale &locale = QLocale::system(), QWidget *parent = nullptr);
    ~MainWindow() override;

    // The load sequence: caption, duplicate-program check, log store; the
    // window shows when it has finished.
    void start();

    int idleSeconds() const { return m_idleSeconds; }
    bool cancelRequested() const { return m_cancelRequested; }
    int logCount() const { return m_logCount; }
    const SavedLogs &savedLogs() const { return m_savedLogs; }
    std::weak_ptr<vexasync::RecordAdapter> indexAdapter() const { return m_indexAdapter; }
    std::weak_ptr<vexasync::RecordAdapter> dataAdapter() const { return m_dataAdapter; }
    bool isUnloaded() const { return m_unloaded; }
    bool isBusy() const { return m_busyDepth > 0; }
    // How often a long command lets the window run (tests: 0, every record).
    void setYieldSlice(int ms);
    // Where the plot windows keep their choices (the user's settings unless
    // told otherwise).
    void setPlotSettings(SettingsStore &settings);
    // The plot windows still open; they outlive the window's unload.
    const std::vector<QWidget *> &plotWindows() const { return m_plots; }
    // What "Show in Logbook" does with the log it found (the logbook window
    // unless told otherwise).
    using LogbookOpener = std::function<void(const QString &logbookPath, std::int64_t id)>;
    void setLogbookOpener(LogbookOpener opener) { m_openLogbook = std::move(opener); }

public slots:
    // One tick of Timer1: the auto-close countdown.
    void onTimerTick();

signals:
    // The window has unloaded.
    void unloaded();
    // The window has unloaded and no plot window is open: the program ends.
    void finished();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Enter on a list line opens its plot.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class BusyScope;
    class GuardedPrompts;

    // Boxes and dialogs, with the window marked busy while they are open.
    UserInterface &prompts();
    void buildControls();
    LogKind currentKind() const;
    std::vector<int> selectedLines() const;
    void setLogButtonsEnabled(bool enabled);
    void stopTimer();
    void restartTimer(); // IdleSeconds := 0; Timer1 on

    void runDuplicateCheck();
    void openLogStore();
    void searchLogs();
    void showLogDescription();
    void onTabChanged();
    void onSelectAll();
    void onClearAll();
    void onSave();
    void onDelete();
    void onDeleteAll();
    void openPlot();
    // True for the list's right-clicks, which only open the line's menu.
    bool lineMenuEvent(QEvent *event);
    void openLineMenu(const QPoint &at, const QPoint &globalAt);
    void showInLogbook();

    const SyncComponent &m_sync;
    UserInterface &m_ui;
    std::unique_ptr<GuardedPrompts> m_prompts; // m_ui, with the window marked busy
    std::unique_ptr<WindowHost> m_host;
    DateText m_dates;

    QLabel *lblStatus = nullptr;
    QTabWidget *tabMain = nullptr;
    QGroupBox *Frame1 = nullptr;
    QListWidget *lstSavedData = nullptr;
    QPlainTextEdit *txtDesc = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdSelectAll = nullptr;
    QPushButton *cmdClearAll = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdDeleteAll = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdDone = nullptr;
    QTimer *Timer1 = nullptr;

    std::int16_t m_idleSeconds = 0;
    bool m_cancelRequested = false;
    SavedLogs m_savedLogs;
    std::int16_t m_logCount = 0;
    std::shared_ptr<vexasync::RecordAdapter> m_indexAdapter;
    std::shared_ptr<vexasync::RecordAdapter> m_dataAdapter;
    std::uint32_t m_listedUser = 0; // whose handheld the adapters are

    // The line the context menu was opened on, as it was listed then.
    QMenu *mnuLogLine = nullptr;
    QWidget *m_listViewport = nullptr; // compared, never reached through
    struct MenuLine {
        int line = -1;
        LogKind kind = LogKind::Rirod;
        vexasync::RecordId record = 0;
    } m_menuLine;
    LogbookOpener m_openLogbook;

    std::vector<QWidget *> m_plots;
    std::unique_ptr<SettingsStore> m_userSettings;
    SettingsStore *m_plotSettings = nullptr;

    int m_busyDepth = 0;
    std::unique_ptr<InputGuard> m_inputGuard;
    bool m_closePending = false;
    bool m_unloaded = false;
};

} // namespace vexa
