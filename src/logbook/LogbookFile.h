// The SQLite file that keeps the logbook. It may come from anywhere, so it
// is opened in SQLite's defensive mode with an untrusted schema, told apart
// from any other file before a row is read, and never rewritten unless it
// is a logbook (or nothing yet) of a version this program knows.
#pragma once

#include "SqliteFile.h"

namespace vexa {

class LogbookFile final : public SqliteFile {
public:
    enum class Mode { Read, Write };
    // Read: the file must be a logbook. Write: a logbook, or nothing yet (no
    // file, or an empty one), made at once; an older logbook is brought up
    // to date. Throws RuntimeError saying which file and why.
    LogbookFile(const QString &path, Mode mode);
    ~LogbookFile() override;

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
    [[noreturn]] void fail(const QString &what, const QString &reason) const override;

private:
    void openFile(int flags);
    void recognise();
    void makeOrUpgrade();
    [[noreturn]] void notALogbook(const QString &reason) const;

    Mode m_mode;
};

} // namespace vexa
