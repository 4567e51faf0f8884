// The SQLite file that keeps the archive of deleted logs, told apart from
// any other file before a row is read or written: a reader never changes
// it, and a writer never makes its table in a file that holds anything else.
#pragma once

#include "logbook/SqliteFile.h"

class QTemporaryDir;

namespace vexa {

class ArchiveFile final : public SqliteFile {
public:
    enum class Mode { Read, Write };
    // Read: the file must be an archive; one a write left half done is read
    // as it was before that write. Write: an archive, or nothing yet (no
    // file, or an empty one) until beginWrite(). Throws RuntimeError.
    ArchiveFile(const QString &path, Mode mode);
    ~ArchiveFile() override;
    // db(): none while a writer's archive is not made yet.

    // Archives made before the handheld's record ids were kept lack them.
    bool hasHandheldRecordColumns() const;
    // Write: BEGIN IMMEDIATE, making the file and its table first when there
    // are none, and bringing an older table up to date.
    void beginWrite();
    void exec(const char *sql);
    // "Path/File access error: the archive of deleted logs P <what> (<reason>)"
    [[noreturn]] void fail(const QString &what, const QString &reason) const override;

private:
    enum class Contents { Empty, Archive, Other };
    struct Look {
        int result;     // of SQLite
        QString reason; // when it failed
        Contents found;
    };
    void openFile(const QString &file, int flags);
    Look look() const;
    void recognise();
    void refuseReadOnly();
    bool readFromPrivateCopy();
    [[noreturn]] void notAnArchive(const QString &reason) const;

    Mode m_mode;
    std::unique_ptr<QTemporaryDir> m_copy; // the destructor closes the connection first
};

} // namespace vexa
