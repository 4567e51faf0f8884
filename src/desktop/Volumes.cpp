#include "Volumes.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace vexa {

QList<Volume> SystemVolumes::volumes()
{
    QList<Volume> list;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid())
            continue;
        const QString root = QDir::toNativeSeparators(storage.rootPath());
#if defined(Q_OS_WIN)
        const QString name = root.left(2).toUpper(); // "C:"
#else
        const QString name = root;
#endif
        list.append({name, root});
    }
    std::sort(list.begin(), list.end(),
              [](const Volume &a, const Volume &b) { return a.name < b.name; });
    return list;
}

bool SystemVolumes::isReadable(const Volume &volume)
{
    const QDir root(volume.rootPath);
    return root.exists() && root.isReadable() && QStorageInfo(volume.rootPath).isReady();
}

} // namespace vexa
