// What the duplicate-program check needs of the file system, behind a seam
// so that tests can make a deletion fail.
#pragma once

#include <QDateTime>
#include <QStringList>

namespace vexa {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Names of the ordinary files in `folder` that match the wildcard
    // pattern, letters compared without regard to case; no hidden files,
    // links or folders. In name order. A missing folder has none.
    virtual QStringList matchingFiles(const QString &folder, const QString &pattern) = 0;
    // Both throw RuntimeError when they fail.
    virtual QDateTime modificationTime(const QString &path) = 0;
    virtual void remove(const QString &path) = 0;
};

class LocalFileSystem final : public FileSystem {
public:
    QStringList matchingFiles(const QString &folder, const QString &pattern) override;
    QDateTime modificationTime(const QString &path) override;
    void remove(const QString &path) override;
};

} // namespace vexa
