#include "Sqlite.h"

#include "vexasync/VexaSync.h"

namespace vexasync::sqlite {

Connection::Connection(const std::string &path, Mode mode)
{
    const int flags = mode == ReadOnly ? SQLITE_OPEN_READONLY
                      : mode == Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                       : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw Error(error::StorageFailure, "Can't open " + path + ": " + message);
    }
    sqlite3_extended_result_codes(m_db, 1);
    // Another process (the handheld tool) may hold the image for a moment.
    sqlite3_busy_timeout(m_db, 5000);
}

Connection::~Connection()
{
    sqlite3_close_v2(m_db);
}

void Connection::exec(const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(m_db);
        sqlite3_free(message);
        throw Error(error::StorageFailure, "Handheld storage failure: " + text);
    }
}

void Connection::fail(const std::string &what) const
{
    throw Error(error::StorageFailure, what + ": " + sqlite3_errmsg(m_db));
}

Statement::Statement(Connection &db, const char *sql) : m_db(db)
{
    if (sqlite3_prepare_v3(db.handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) !=
        SQLITE_OK)
        db.fail("Handheld storage failure");
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement &Statement::bind(int column, std::int64_t value)
{
    sqlite3_bind_int64(m_stmt, column, value);
    return *this;
}

Statement &Statement::bind(int column, const std::string &value)
{
    sqlite3_bind_text(m_stmt, column, value.data(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

Statement &Statement::bind(int column, std::span<const std::uint8_t> value)
{
    // A zero-length blob must still be a blob, not NULL.
    static const std::uint8_t empty = 0;
    sqlite3_bind_blob(m_stmt, column, value.empty() ? &empty : value.data(),
                      static_cast<int>(value.size()), SQLITE_TRANSIENT);
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    reset();
    if (rc != SQLITE_DONE)
        m_db.fail("Handheld storage failure");
    return false;
}

void Statement::run()
{
    while (step()) {
    }
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

std::string Statement::text(int column) const
{
    const auto *p = sqlite3_column_text(m_stmt, column);
    return p ? std::string(reinterpret_cast<const char *>(p),
                           static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
             : std::string();
}

std::vector<std::uint8_t> Statement::blob(int column) const
{
    const auto *p = static_cast<const std::uint8_t *>(sqlite3_column_blob(m_stmt, column));
    const int size = sqlite3_column_bytes(m_stmt, column);
    return p ? std::vector<std::uint8_t>(p, p + size) : std::vector<std::uint8_t>();
}

} // namespace vexasync::sqlite
