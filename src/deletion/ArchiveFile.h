// The SQLite file that keeps the archive of deleted logs, told apart from
// any other file before a row is read or written: a reader never changes
// it, and a writer never makes its table in a file that holds anything else.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class QTemporaryDir;

namespace vexa {

class ArchiveFile {
public:
    enum class Mode { Read, Write };
    // Read: the file must be an archive; one a write left half done is read
    // as it was before that write. Write: an archive, or nothing yet (no
    // file, or an empty one) until beginWrite(). Throws RuntimeError.
    ArchiveFile(const QString &path, Mode mode);
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile &) = delete;
    ArchiveFile &operator=(const ArchiveFile &) = delete;

    const QString &path() const { return m_path; }
    // None while a writer's archive is not made yet.
    sqlite3 *db() const { return m_db.get(); }

    // Archives made before the handheld's record ids were kept lack them.
    bool hasHandheldRecordColumns() const;
    // Write: BEGIN IMMEDIATE, making the file and its table first when there
    // are none, and bringing an older table up to date.
    void beginWrite();
    void exec(const char *sql);
    // "Path/File access error: the archive of deleted logs P <what> (<reason>)"
    [[noreturn]] void fail(const QString &what, const QString &reason) const;
    // The reason of a failed SQLite call, in the file system's words where
    // it is the file system's.
    QString reasonOf(int result, const QString &sqliteMessage) const;

private:
    enum class Contents { Empty, Archive, Other };
    struct Look {
        int result;     // of SQLite
        QString reason; // when it failed
        Contents found;
    };
    void open(const QString &file, int flags);
    Look look() const;
    void recognise();
    void refuseReadOnly();
    bool readFromPrivateCopy();
    [[noreturn]] void notAnArchive(const QString &reason) const;

    QString m_path;
    Mode m_mode;
    std::unique_ptr<QTemporaryDir> m_copy; // outlives the connection reading it
    struct Close {
        void operator()(sqlite3 *db) const;
    };
    std::unique_ptr<sqlite3, Close> m_db; // closed even when the constructor throws
};

// One prepared statement; a failure keeps its reason.
class ArchiveStatement {
public:
    ArchiveStatement(const ArchiveFile &file, const char *sql);
    ~ArchiveStatement();
    ArchiveStatement(const ArchiveStatement &) = delete;
    ArchiveStatement &operator=(const ArchiveStatement &) = delete;

    ArchiveStatement &bind(int column, std::int64_t value);
    ArchiveStatement &bind(int column, const QString &text);
    ArchiveStatement &bind(int column, const std::vector<std::uint8_t> &bytes);
    // True while a row is there; false when done (and reset) or failed.
    bool step();
    // Steps a statement that returns no row; throws with `what` on failure.
    void run(const QString &what);
    bool failed() const { return m_result != 0; }
    int result() const { return m_result; }
    QString reason() const { return m_reason; }

    std::int64_t integer(int column) const;
    QString text(int column) const;
    std::vector<std::uint8_t> blob(int column) const;

private:
    const ArchiveFile &m_file;
    sqlite3_stmt *m_stmt = nullptr;
    int m_result = 0;
    QString m_reason;
};

} // namespace vexa
