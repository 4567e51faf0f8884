#include "SqliteFile.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

namespace vexa {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString fileSystemCause(const QString &path, bool writing)
{
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (file.isDir())
        return QStringLiteral("a folder of that name is in its place");
    if (!folder.exists())
        return QStringLiteral("its folder %1 doesn't exist").arg(native(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("%1 is a file, not a folder").arg(native(folder.filePath()));
    if (file.exists() && !file.isReadable())
        return QStringLiteral("it can't be read: permission denied");
    if (writing && file.exists() && !file.isWritable())
        return QStringLiteral("it is read-only");
    if (writing && !folder.isWritable())
        return QStringLiteral("its folder %1 can't be written").arg(native(folder.filePath()));
    return {};
}

SqliteFile::SqliteFile(const QString &path, bool writing) : m_path(path), m_writing(writing) {}

SqliteFile::~SqliteFile() = default;

void SqliteFile::Close::operator()(sqlite3 *db) const
{
    sqlite3_close(db);
}

void SqliteFile::close()
{
    m_db.reset();
}

void SqliteFile::open(const QString &file, int flags, int busyMs)
{
    m_db.reset();
    sqlite3 *db = nullptr;
    const int result = sqlite3_open_v2(native(file).toUtf8().constData(), &db, flags, nullptr);
    m_db.reset(db);
    if (result != SQLITE_OK) {
        const QString cause = fileSystemCause(m_path, m_writing);
        // No handle comes back only when SQLite could not allocate one.
        const QString reason = !cause.isEmpty() ? cause
                               : db             ? QString::fromUtf8(sqlite3_errmsg(db))
                                                : QStringLiteral("out of memory");
        m_db.reset();
        fail(QStringLiteral("can't be opened"), reason);
    }
    sqlite3_extended_result_codes(db, 1);
    // Nothing in the file runs, nothing writes to it behind SQLite's back.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_busy_timeout(db, busyMs);
}

QString SqliteFile::reasonOf(int result) const
{
    if ((result & 0xff) == SQLITE_CANTOPEN || (result & 0xff) == SQLITE_READONLY)
        if (const QString cause = fileSystemCause(m_path, m_writing); !cause.isEmpty())
            return cause;
    if ((result & 0xff) == SQLITE_BUSY)
        return QStringLiteral("another program kept it busy too long; try again");
    return db() ? QString::fromUtf8(sqlite3_errmsg(db()))
                : QString::fromUtf8(sqlite3_errstr(result));
}

SqlStatement::SqlStatement(const SqliteFile &file, const char *sql, Tolerant) : m_file(file)
{
    m_prepared = sqlite3_prepare_v2(file.db(), sql, -1, &m_stmt, nullptr);
}

SqlStatement::SqlStatement(const SqliteFile &file, const char *sql)
    : SqlStatement(file, sql, Tolerant{})
{
    if (m_prepared != SQLITE_OK)
        file.fail(QStringLiteral("can't be read"), file.reasonOf(m_prepared));
}

SqlStatement::~SqlStatement()
{
    sqlite3_finalize(m_stmt);
}

SqlStatement &SqlStatement::bind(int column, std::int64_t value)
{
    if (m_stmt)
        sqlite3_bind_int64(m_stmt, column, value);
    return *this;
}

SqlStatement &SqlStatement::bind(int column, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (m_stmt)
        sqlite3_bind_text(m_stmt, column, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
    return *this;
}

SqlStatement &SqlStatement::bind(int column, const std::vector<std::uint8_t> &bytes)
{
    // A zero-length blob, not NULL, for an empty record.
    if (m_stmt)
        sqlite3_bind_blob64(m_stmt, column,
                            bytes.empty() ? static_cast<const void *>("") : bytes.data(),
                            bytes.size(), SQLITE_TRANSIENT);
    return *this;
}

int SqlStatement::tryStep()
{
    if (!m_stmt)
        return m_prepared == SQLITE_OK ? SQLITE_DONE : m_prepared; // an empty statement
    const int result = sqlite3_step(m_stmt);
    if (result != SQLITE_ROW)
        sqlite3_reset(m_stmt);
    return result;
}

bool SqlStatement::step()
{
    const int result = tryStep();
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        m_file.fail(!m_stmt || sqlite3_stmt_readonly(m_stmt) ? QStringLiteral("can't be read")
                                                             : QStringLiteral("can't be written"),
                    m_file.reasonOf(result));
    return false;
}

void SqlStatement::run()
{
    while (step()) {
    }
}

bool SqlStatement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

std::int64_t SqlStatement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QString SqlStatement::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
}

std::vector<std::uint8_t> SqlStatement::blob(int column) const
{
    const auto *data = static_cast<const std::uint8_t *>(sqlite3_column_blob(m_stmt, column));
    return data ? std::vector<std::uint8_t>(data, data + sqlite3_column_bytes(m_stmt, column))
                : std::vector<std::uint8_t>();
}

std::int64_t SqlStatement::bytes(int column) const
{
    return sqlite3_column_bytes(m_stmt, column);
}

} // namespace vexa
