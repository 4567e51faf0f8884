// An SQLite file that may come from anywhere, the logbook's or an archive
// of deleted logs: opened so that nothing in it runs, its failures said in
// the file's own words, and its statements.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vexa {

class SqliteFile {
public:
    virtual ~SqliteFile();
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    const QString &path() const { return m_path; }
    // None until opened.
    sqlite3 *db() const { return m_db.get(); }

    // "Path/File access error: <the file, in its words> <what> (<reason>)";
    // throws RuntimeError.
    [[noreturn]] virtual void fail(const QString &what, const QString &reason) const = 0;
    // The reason of a failed SQLite call, in the file system's words where
    // it is the file system's.
    QString reasonOf(int result) const;

protected:
    SqliteFile(const QString &path, bool writing);
    // Opens `file` (the path, or a private copy of it) with these flags of
    // sqlite3_open_v2, waiting up to busyMs for another program's write;
    // fails with the reason.
    void open(const QString &file, int flags, int busyMs);
    void close();
    bool writing() const { return m_writing; }

private:
    QString m_path;
    bool m_writing;
    struct Close {
        void operator()(sqlite3 *db) const;
    };
    std::unique_ptr<sqlite3, Close> m_db; // closed even when a constructor throws
};

// What is in the way of the file at `path`, where it is the file system;
// empty otherwise.
QString fileSystemCause(const QString &path, bool writing);

// One prepared statement; a failure throws through its file's fail().
class SqlStatement {
public:
    SqlStatement(const SqliteFile &file, const char *sql);
    struct Tolerant {};
    // A statement that can't be prepared fails only when stepped, so that
    // tryStep() tells why.
    SqlStatement(const SqliteFile &file, const char *sql, Tolerant);
    ~SqlStatement();
    SqlStatement(const SqlStatement &) = delete;
    SqlStatement &operator=(const SqlStatement &) = delete;

    SqlStatement &bind(int column, std::int64_t value);
    SqlStatement &bind(int column, const QString &text);
    SqlStatement &bind(int column, const std::vector<std::uint8_t> &bytes);
    // True while a row is there; false when done. Throws on failure.
    bool step();
    // Steps a statement that returns no row.
    void run();
    // For a caller that tells a failure itself: SQLITE_ROW, SQLITE_DONE or
    // the failure's result code.
    int tryStep();

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    QString text(int column) const;
    std::vector<std::uint8_t> blob(int column) const;
    // Blob and text sizes, read before the value is.
    std::int64_t bytes(int column) const;

private:
    const SqliteFile &m_file;
    sqlite3_stmt *m_stmt = nullptr;
    int m_prepared = 0; // of sqlite3_prepare_v2
};

} // namespace vexa
