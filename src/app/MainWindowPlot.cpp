// The plot of the Rirod log on the current line, in a window of its own. It
// only reads the handheld; the main window stays as it is.
#include "MainWindow.h"

#include "analysis-gui/PlotTable.h"
#include "core/RuntimeError.h"
#include "desktop/SavedPaths.h"
#include "plot-gui/PlotWindow.h"
#include "store/SyncComponent.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListWidget>

namespace vexa {

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_listViewport && lineMenuEvent(event))
        return true;
    if (watched == lstSavedData && event->type() == QEvent::ContextMenu &&
        static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard) {
        // The menu key reaches the list, not its viewport: the current line's menu.
        if (const QListWidgetItem *line = lstSavedData->currentItem()) {
            const QPoint at = lstSavedData->visualItemRect(line).center();
            openLineMenu(at, m_listViewport->mapToGlobal(at));
        }
        return true;
    }
    if (watched == lstSavedData && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && lstSavedData->currentRow() >= 0) {
            openPlot();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::openPlot()
{
    const int line = lstSavedData->currentRow();
    if (line < 0 || line >= m_logCount || currentKind() != LogKind::Rirod || !m_dataAdapter)
        return;
    stopTimer();
    const LogIndexEntry &entry = m_savedLogs[line];
    try {
        const auto bytes = m_sync.createByteUtility();
        if (!m_plotSettings) {
            m_userSettings = std::make_unique<UserSettings>();
            m_plotSettings = m_userSettings.get();
        }
        // A window of its own, not a child: it stays when this one unloads.
        auto *plot =
            new PlotWindow(readPlotData(entry, *m_dataAdapter, *bytes, m_dates.locale()), m_dates,
                           prompts(), *m_plotSettings, [this](const PlotData &p, QWidget *over) {
                               openPlotTable(p, m_sync, prompts(), *m_plotSettings, over);
                           });
        m_plots.push_back(plot);
        // Looking at the plot is using the program: the countdown starts over.
        connect(plot, &PlotWindow::userActed, this, [this] { m_idleSeconds = 0; });
        connect(plot, &QObject::destroyed, this, [this](QObject *gone) {
            std::erase(m_plots, gone);
            if (m_unloaded && m_plots.empty())
                emit finished();
        });
        plot->show();
    } catch (...) {
        prompts().inform(
            errorBoxText(QStringLiteral("There was an error reading the log."), currentError()));
    }
    restartTimer();
}

} // namespace vexa
