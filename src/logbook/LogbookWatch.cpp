#include "LogbookWatch.h"

#include "Logbook.h"
#include "LogbookFile.h"
#include "core/RuntimeError.h"
#include "store/SyncComponent.h"

#include <QFileInfo>

namespace vexa {

LogbookWatch::LogbookWatch(QString path, const SyncComponent &sync)
    : m_path(std::move(path)), m_sync(sync)
{
    lookAtLogbook();
    lookAtHandheld();
}

LogbookWatch::~LogbookWatch() = default;

LogbookWatch::Changes LogbookWatch::poll()
{
    Changes changes;
    changes.logs = lookAtLogbook();
    const std::uint32_t before = m_docked;
    lookAtHandheld();
    changes.docking = m_docked != before;
    return changes;
}

bool LogbookWatch::lookAtLogbook()
{
    const QFileInfo file(m_path);
    if (m_logbook) {
        // A removed file would keep the connection on what it held.
        if (!file.exists()) {
            m_logbook.reset();
            return lookAtLogbook();
        }
        try {
            // data_version moves only when another connection commits.
            SqlStatement version(m_logbook->file(), "PRAGMA data_version");
            const std::int64_t now = version.step() ? version.integer(0) : -1;
            if (now == m_version)
                return false;
            m_version = now;
        } catch (...) {
            m_logbook.reset();
            becameUnreadable(currentError().description());
        }
        return true;
    }
    if (!file.exists())
        return becameUnreadable(
            QStringLiteral("No log has been pulled yet: the logbook %1 is not there.").arg(m_path));
    // A file that could not be read is tried again once it changes.
    if (!m_unreadable.isEmpty() && file.lastModified() == m_fileChanged)
        return false;
    m_fileChanged = file.lastModified();
    try {
        m_logbook = std::make_unique<Logbook>(m_path, Logbook::Access::ReadOnly);
        SqlStatement version(m_logbook->file(), "PRAGMA data_version");
        m_version = version.step() ? version.integer(0) : -1;
        m_unreadable.clear();
        return true;
    } catch (...) {
        m_logbook.reset();
        return becameUnreadable(currentError().description());
    }
}

bool LogbookWatch::becameUnreadable(const QString &reason)
{
    const bool changed = reason != m_unreadable;
    m_unreadable = reason;
    return changed;
}

void LogbookWatch::lookAtHandheld()
{
    try {
        const std::uint32_t docked =
            m_sync.createSyncStatus()->inProgress() ? m_sync.dockedUser() : 0;
        if (docked != m_docked)
            m_dockedName =
                docked == 0
                    ? QString()
                    : QString::fromStdString(m_sync.createUserDirectory()->userName(docked));
        m_docked = docked;
    } catch (...) {
        // No component, or a registry that can't be read: nothing is docked.
        m_docked = 0;
        m_dockedName.clear();
    }
}

} // namespace vexa
