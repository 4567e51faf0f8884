// The plot of the Rirod log on the current line, in a window of its own. It
// only reads the handheld; the main window stays as it is.
#include "MainWindow.h"

#include "core/RuntimeError.h"
#include "plot-gui/PlotWindow.h"
#include "format/OleDate.h"
#include "store/SyncComponent.h"

#include <QKeyEvent>
#include <QListWidget>

namespace vexa {

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
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
        auto *plot = new PlotWindow(readPlotData(entry, *m_dataAdapter, *bytes, m_dates.locale()),
                                    oledate::toDate(entry.logDate), prompts(), this);
        // Looking at the plot is using the program: the countdown starts over.
        connect(plot, &PlotWindow::userActed, this, [this] { m_idleSeconds = 0; });
        plot->show();
    } catch (...) {
        prompts().inform(
            errorBoxText(QStringLiteral("There was an error reading the log."), currentError()));
    }
    restartTimer();
}

} // namespace vexa
