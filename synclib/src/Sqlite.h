// A thin RAII layer over SQLite that turns every failure into a
// vexasync::Error.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vexasync::sqlite {

class Connection {
public:
    enum Mode { ReadOnly, ReadWrite, Create };
    Connection(const std::string &path, Mode mode);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    void exec(const char *sql);
    sqlite3 *handle() const { return m_db; }
    [[noreturn]] void fail(const std::string &what) const;
    int changes() const { return sqlite3_changes(m_db); }
    std::int64_t lastInsertId() const { return sqlite3_last_insert_rowid(m_db); }

private:
    sqlite3 *m_db = nullptr;
};

class Statement {
public:
    Statement(Connection &db, const char *sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int column, std::int64_t value);
    Statement &bind(int column, const std::string &value);
    Statement &bind(int column, std::span<const std::uint8_t> value);
    // True while a row is available; resets the statement when done.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    std::int64_t integer(int column) const;
    std::string text(int column) const;
    std::vector<std::uint8_t> blob(int column) const;

private:
    Connection &m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace vexasync::sqlite
