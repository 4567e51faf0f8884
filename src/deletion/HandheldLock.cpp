#include "HandheldLock.h"

#include "DeletedLogArchive.h"
#include "core/RuntimeError.h"

#include <QDir>

namespace vexa {

namespace {

QString lockFileIn(const QString &userFolder)
{
    if (userFolder.isEmpty())
        throw RuntimeError(ErrorNumber::PathNotFound,
                           QStringLiteral("Path not found: no handheld user is docked, so no "
                                          "folder holds the lock of its logs; nothing was "
                                          "changed"));
    // Named as the archive's lock was, so that an earlier version of the
    // program running beside this one still waits for ours, and we for it.
    return DeletedLogArchive::pathIn(userFolder) + QStringLiteral(".lock");
}

} // namespace

HandheldLock::HandheldLock(const QString &userFolder, int waitMs) : m_file(lockFileIn(userFolder))
{
    m_file.setStaleLockTime(0); // a delete may wait on its question for long
    if (m_file.tryLock(waitMs))
        return;
    const QString folder = QDir::toNativeSeparators(userFolder);
    if (m_file.error() == QLockFile::LockFailedError)
        throw RuntimeError(ErrorNumber::PermissionDenied,
                           QStringLiteral("Permission denied: another command is deleting or "
                                          "restoring the logs of the handheld user whose folder "
                                          "is %1; nothing was changed, try again when it has "
                                          "ended")
                               .arg(folder));
    throw RuntimeError(ErrorNumber::PathFileAccessError,
                       QStringLiteral("Path/File access error: the logs of the handheld user "
                                      "whose folder is %1 can't be locked (%2 can't be made); "
                                      "nothing was changed")
                           .arg(folder, QDir::toNativeSeparators(m_file.fileName())));
}

} // namespace vexa
