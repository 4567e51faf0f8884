// The SQLite file that keeps the logbook. It may come from anywhere, so it
// is opened in SQLite's defensive mode with an untrusted schema, told apart
// from any other file before a row is read, and never rewritten unless it
// is a logbook (or nothing yet) of a version this program knows.
#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vexa {

class LogbookFile {
public:
    enum class Mode { Read, Write };
    // Read: the file must be a logbook. Write: a logbook, or nothing yet (no
    // file, or an empty one), made at once; an older logbook is brought up
    // to date. Throws RuntimeError saying which file and why.
    LogbookFile(const QString &path, Mode mode);
    ~LogbookFile();
    LogbookFile(const LogbookFile &) = delete;
    LogbookFile &operator=(const LogbookFile &) = delete;

    const QString &path() const { return m_path; }
    sqlite3 *db() const { return m_db.get(); }

    // The version of the logbook this program writes.
    static int currentVersion();

    // BEGIN IMMEDIATE; other programs' writes are waited for.
    void beginWrite();
    // BEGIN: what is read next is read as of one moment.
    void beginRead();
    void commit();
    void rollback() noexcept;
    void exec(const char *sql, const QString &what);
    // Rows the last statement changed; the id the last insert made.
    int changes() const;
    std::int64_t lastInsertId() const;
    // "Path/File access error: the logbook P <what> (<reason>)"
    [[noreturn]] void fail(const QString &what, const QString &reason) const;
    QString reasonOf(int result) const;

private:
    void open(int flags);
    void recognise();
    void makeOrUpgrade();
    [[noreturn]] void notALogbook(const QString &reason) const;

    QString m_path;
    Mode m_mode;
    struct Close {
        void operator()(sqlite3 *db) const;
    };
    std::unique_ptr<sqlite3, Close> m_db;
};

// One prepared statement; failures throw with the file's name.
class LogbookStatement {
public:
    LogbookStatement(const LogbookFile &file, const char *sql);
    ~LogbookStatement();
    LogbookStatement(const LogbookStatement &) = delete;
    LogbookStatement &operator=(const LogbookStatement &) = delete;

    LogbookStatement &bind(int column, std::int64_t value);
    LogbookStatement &bind(int column, const QString &text);
    LogbookStatement &bind(int column, const std::vector<std::uint8_t> &bytes);
    // True while a row is there; false when done. Throws on failure.
    bool step();
    // Steps a statement that returns no row.
    void run();

    bool isNull(int column) const;
    std::int64_t integer(int column) const;
    QString text(int column) const;
    std::vector<std::uint8_t> blob(int column) const;
    // Blob and text sizes, read before the value is.
    std::int64_t bytes(int column) const;

private:
    const LogbookFile &m_file;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace vexa
