// The logbook and the docked handheld as a window that stays open sees
// them: looked at again every second or so, and cheap when nothing changed.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>

namespace vexa {

class Logbook;
class SyncComponent;

class LogbookWatch {
public:
    // Looks at once; a logbook that can't be read is a reason, not a throw.
    LogbookWatch(QString path, const SyncComponent &sync);
    ~LogbookWatch();

    struct Changes {
        bool logs = false;    // another connection wrote, or the file came or went
        bool docking = false; // a handheld docked or undocked
    };
    Changes poll();

    const QString &path() const { return m_path; }
    // The watch's own read-only connection; null while the file can't be read.
    const Logbook *logbook() const { return m_logbook.get(); }
    // Why there is no connection.
    const QString &unreadable() const { return m_unreadable; }
    // The user whose handheld is docked; 0 when none is.
    std::uint32_t dockedUser() const { return m_docked; }
    QString dockedUserName() const { return m_dockedName; }

private:
    bool lookAtLogbook();
    bool becameUnreadable(const QString &reason);
    void lookAtHandheld();

    QString m_path;
    const SyncComponent &m_sync;
    std::unique_ptr<Logbook> m_logbook;
    QString m_unreadable;
    std::int64_t m_version = -1;
    QDateTime m_fileChanged; // of the file that could not be opened
    std::uint32_t m_docked = 0;
    QString m_dockedName;
};

} // namespace vexa
