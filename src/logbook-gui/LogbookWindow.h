// The logbook window: every log the logbook holds in a table to sort and
// filter, the selected log's description and note beside it, and the
// commands on the selection. It stays open, with or without a handheld, and
// follows what other programs and the handheld do.
#pragma once

#include "core/UserInterface.h"
#include "logbook/LogbookEntry.h"
#include "store/DateText.h"
#include "vexasync/VexaSync.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QAction;
class QLabel;
class QPlainTextEdit;
class QSplitter;
class QTableView;
class QTimer;

namespace vexa {

class LogbookFilterBar;
class LogbookFilterModel;
class LogbookTableModel;
class LogbookWatch;
class SettingsStore;
class StatusBarHost;
class SyncComponent;

class LogbookWindow final : public QMainWindow {
    Q_OBJECT

public:
    // Boxes go through `ui`; column widths, sort and geometry are kept in
    // `settings`, section "Logbook".
    LogbookWindow(const QString &logbookPath, const SyncComponent &sync, UserInterface &ui,
                  SettingsStore &settings, const QLocale &locale = QLocale::system(),
                  QWidget *parent = nullptr);
    ~LogbookWindow() override;

    // Selects the log and scrolls to it (showing every log if the filter
    // hides it), then raises and activates the window; 0 only raises it.
    void showLog(std::int64_t id);
    // Looks at the logbook and the handheld now rather than at the next tick.
    void lookAgain();

    QTableView *table() const { return m_table; }
    LogbookFilterBar *filterBar() const { return m_filter; }
    const LogbookFilterModel &shownLogs() const { return *m_shown; }
    // The logs selected, in the table's order.
    std::vector<LogbookEntry> selectedLogs() const;
    const std::vector<QWidget *> &plotWindows() const { return m_plots; }
    QAction *tableAction() const { return m_tuningTable; }

public slots:
    void plotSelected();
    // The selected Rirod logs; with none selected, all Rirod logs of the
    // selected log's user, or of the logbook when nothing is selected.
    void tableOfSelected();
    void saveSelected();
    void putBackSelected();
    void pullNow();
    void purge();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void selectLog(std::int64_t id);
    QWidget *buildTablePane();
    QWidget *buildLogPane();
    void buildActions();
    void restoreSettings();
    void saveSettings();

    void reload();
    void applyFilter();
    void showSelected();
    void saveNote();
    void updateActions();
    void updateStatus();
    vexasync::ByteUtility *bytes();
    const LogbookEntry *currentLog() const;
    // "date time - first line" of each log, one a line, for the questions.
    QString namedLogs(const std::vector<LogbookEntry> &logs) const;

    QString m_path;
    const SyncComponent &m_sync;
    UserInterface &m_ui;
    SettingsStore &m_settings;
    DateText m_dates;
    std::unique_ptr<LogbookWatch> m_watch;
    std::unique_ptr<vexasync::ByteUtility> m_bytes;
    std::unique_ptr<StatusBarHost> m_host;

    LogbookTableModel *m_model = nullptr;
    LogbookFilterModel *m_shown = nullptr;
    LogbookFilterBar *m_filter = nullptr;
    QTableView *m_table = nullptr;
    QSplitter *m_split = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QPlainTextEdit *m_note = nullptr;
    QLabel *m_docking = nullptr;
    QTimer *m_tick = nullptr;
    QAction *m_plot = nullptr;
    QAction *m_tuningTable = nullptr;
    QAction *m_save = nullptr;
    QAction *m_putBack = nullptr;
    QAction *m_pull = nullptr;
    QAction *m_purge = nullptr;

    std::int64_t m_noteLog = 0; // whose note the editor holds
    std::vector<QWidget *> m_plots;
};

} // namespace vexa
