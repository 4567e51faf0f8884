#include "ArchiveLock.h"

#include "core/RuntimeError.h"

#include <QDir>

namespace vexa {

ArchiveLock::ArchiveLock(const QString &archivePath, int waitMs)
    : m_file(archivePath + QStringLiteral(".lock"))
{
    m_file.setStaleLockTime(0); // a delete may wait on its question for long
    if (m_file.tryLock(waitMs))
        return;
    const QString archive = QDir::toNativeSeparators(archivePath);
    if (m_file.error() == QLockFile::LockFailedError)
        throw RuntimeError(ErrorNumber::PermissionDenied,
                           QStringLiteral("Permission denied: another command is deleting or "
                                          "restoring the logs archived in %1; nothing was "
                                          "changed, try again when it has ended")
                               .arg(archive));
    throw RuntimeError(ErrorNumber::PathFileAccessError,
                       QStringLiteral("Path/File access error: the archive of deleted logs %1 "
                                      "can't be locked (%2 can't be made); nothing was changed")
                           .arg(archive, QDir::toNativeSeparators(m_file.fileName())));
}

} // namespace vexa
