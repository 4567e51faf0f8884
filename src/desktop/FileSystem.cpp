#include "FileSystem.h"

#include "core/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace vexa {

QStringList LocalFileSystem::matchingFiles(const QString &folder, const QString &pattern)
{
    // No QDir::Hidden, QDir::System: those never match; NoSymLinks drops links.
    QStringList names =
        QDir(folder).entryList({pattern}, QDir::Files | QDir::NoSymLinks, QDir::NoSort);
    // The same order on every platform: by name, case ignored, then exactly.
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QDateTime LocalFileSystem::modificationTime(const QString &path)
{
    const QFileInfo info(path);
    const QDateTime time = info.lastModified();
    if (!info.exists() || !time.isValid())
        throw RuntimeError(ErrorNumber::FileNotFound,
                           QStringLiteral("File not found: %1").arg(path));
    return time;
}

void LocalFileSystem::remove(const QString &path)
{
    QFile file(path);
    if (!file.remove())
        throw RuntimeError(
            ErrorNumber::PermissionDenied,
            QStringLiteral("Permission denied: %1 (%2)").arg(path, file.errorString()));
}

} // namespace vexa
