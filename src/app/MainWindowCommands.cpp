// The window's long commands: they gather what the user chose and hand it to
// the core.
#include "BusyScope.h"
#include "MainWindow.h"

#include "WindowHost.h"
#include "core/RuntimeError.h"
#include "deletion/DeleteCommands.h"
#include "export/SaveCommand.h"
#include "logbook/Logbook.h"
#include "store/SyncComponent.h"

#include <QLabel>
#include <QListWidget>

namespace vexa {

std::vector<int> MainWindow::selectedLines() const
{
    std::vector<int> lines;
    for (int i = 0; i < lstSavedData->count(); ++i)
        if (lstSavedData->item(i)->isSelected())
            lines.push_back(i);
    return lines;
}

void MainWindow::onSave()
{
    stopTimer();
    {
        BusyScope busy(*this);
        runSaveCommand({currentKind(), selectedLines(), m_savedLogs},
                       {m_sync, m_dataAdapter.get(), *m_host, prompts(), m_dates});
    }
    restartTimer();
}

void MainWindow::onDelete()
{
    stopTimer();
    if (m_indexAdapter) {
        BusyScope busy(*this);
        const CommandOutcome outcome =
            deleteSelectedLogs({currentKind(), selectedLines(), lstSavedData->count(), m_savedLogs},
                               {m_sync, *m_indexAdapter, m_dataAdapter.get(), *m_host, prompts(),
                                Logbook::defaultPath(), m_listedUser});
        if (outcome.status != CommandOutcome::Status::NotRun) {
            // Rebuilt from the handheld, whatever the command left there.
            try {
                searchLogs();
            } catch (...) {
                prompts().inform(errorBoxText(
                    QStringLiteral("There was an error deleting the log."), currentError()));
            }
        }
    }
    restartTimer();
}

void MainWindow::onDeleteAll()
{
    stopTimer();
    if (m_indexAdapter) {
        BusyScope busy(*this);
        const CommandOutcome outcome =
            deleteAllLogs(currentKind(), {m_sync, *m_indexAdapter, m_dataAdapter.get(), *m_host,
                                          prompts(), Logbook::defaultPath(), m_listedUser});
        if (outcome.status == CommandOutcome::Status::Completed) {
            lstSavedData->clear();
            lblStatus->setText(QStringLiteral("All logs deleted."));
            setLogButtonsEnabled(false);
        }
    }
    restartTimer();
}

} // namespace vexa
