// "Show in Logbook": the log on the line under the mouse, pulled into the
// logbook if it isn't there yet, shown in the logbook window. The list's
// selection and the countdown stay as they were.
#include "BusyScope.h"
#include "MainWindow.h"

#include "core/RuntimeError.h"
#include "desktop/LogbookLink.h"
#include "logbook/LogOfLine.h"
#include "logbook/Logbook.h"
#include "store/SyncComponent.h"

#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>

namespace vexa {

bool MainWindow::lineMenuEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return static_cast<QMouseEvent *>(event)->button() == Qt::RightButton;
    case QEvent::ContextMenu: {
        const auto *menu = static_cast<QContextMenuEvent *>(event);
        openLineMenu(menu->pos(), menu->globalPos());
        return true;
    }
    default:
        return false;
    }
}

void MainWindow::openLineMenu(const QPoint &at, const QPoint &globalAt)
{
    const int line = lstSavedData->indexAt(at).row();
    if (line < 0 || line >= m_logCount || !m_indexAdapter)
        return;
    m_menuLine = {line, currentKind(), m_savedLogs[line].recordId};
    mnuLogLine->popup(globalAt);
}

void MainWindow::showInLogbook()
{
    const MenuLine chosen = std::exchange(m_menuLine, {});
    // The list was emptied or listed anew while the menu was open.
    if (chosen.line < 0 || m_unloaded || !m_indexAdapter || chosen.kind != currentKind())
        return;
    BusyScope busy(*this);
    try {
        if (m_sync.dockedUser() != m_listedUser)
            throw RuntimeError(vexasync::error::NotDocked,
                               QStringLiteral("The handheld the list came from is not docked"));
        Logbook logbook(Logbook::defaultPath());
        const auto bytes = m_sync.createByteUtility();
        const std::int64_t id =
            logbookLogAt(logbook, m_sync, *bytes, m_listedUser, chosen.kind, *m_indexAdapter,
                         m_dataAdapter.get(), chosen.line, chosen.record);
        if (m_openLogbook)
            m_openLogbook(logbook.path(), id);
        else
            LogbookLink(logbook.path()).show(id);
    } catch (...) {
        prompts().inform(errorBoxText(QStringLiteral("The log could not be shown in the logbook."),
                                      currentError()));
    }
}

} // namespace vexa
