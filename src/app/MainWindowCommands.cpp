// The window's long commands: they gather what the user chose and hand it to
// the core.
#include "BusyScope.h"
#include "MainWindow.h"

#include "WindowHost.h"
#include "export/SaveCommand.h"

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

void MainWindow::onDelete() {}
void MainWindow::onDeleteAll() {}

} // namespace vexa
