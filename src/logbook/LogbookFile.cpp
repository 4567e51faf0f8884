#include "LogbookFile.h"

#include "core/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace vexa {

namespace {

constexpr std::uint32_t ApplicationId = 0x56584C42; // "VXLB"

// Each step brings a logbook of the version before it to its own; the
// first makes one in an empty file. Steps are only ever added.
const char *const Steps[] = {
    // 1: logs (columns in list order), their records apart so a listing
    // never reads past them, and what happened to each.
    "PRAGMA application_id = 1448627266;"
    "CREATE TABLE logs("
    " id INTEGER PRIMARY KEY, user_id INTEGER NOT NULL, user_name TEXT NOT NULL,"
    " kind INTEGER NOT NULL, start TEXT NOT NULL, scan_count INTEGER NOT NULL,"
    " duration_ms INTEGER NOT NULL, state INTEGER NOT NULL, text TEXT NOT NULL,"
    " note TEXT NOT NULL DEFAULT '', channels TEXT NOT NULL,"
    " first_pulled TEXT NOT NULL, last_seen TEXT NOT NULL,"
    " fingerprint BLOB NOT NULL, copy INTEGER NOT NULL,"
    " handheld_record INTEGER, index_record BLOB NOT NULL);"
    "CREATE INDEX logs_by_record ON logs(user_id, kind, handheld_record);"
    "CREATE INDEX logs_by_content ON logs(user_id, kind, fingerprint);"
    "CREATE TABLE log_scans(log INTEGER PRIMARY KEY, scan_records BLOB NOT NULL);"
    "CREATE TABLE history(log INTEGER NOT NULL, at TEXT NOT NULL, event INTEGER NOT NULL);"
    "CREATE INDEX history_by_log ON history(log);",
    // 2: the archives of deleted logs taken in (by path, once each), and
    // the scans they kept that no log pointed at, never listed as logs.
    "CREATE TABLE taken_archives(path TEXT PRIMARY KEY, user_id INTEGER NOT NULL,"
    " taken_at TEXT NOT NULL, logs INTEGER NOT NULL, damaged INTEGER NOT NULL);"
    "CREATE TABLE stray_scans(id INTEGER PRIMARY KEY, user_id INTEGER NOT NULL,"
    " user_name TEXT NOT NULL, kind INTEGER NOT NULL, deleted_at TEXT NOT NULL,"
    " scan_count INTEGER NOT NULL, scan_records BLOB NOT NULL, archive TEXT NOT NULL);",
};
constexpr int CurrentVersion = static_cast<int>(std::size(Steps));
static_assert(ApplicationId == 1448627266);

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

std::uint32_t bigEndian32(const QByteArray &bytes, int at)
{
    std::uint32_t value = 0;
    for (int k = 0; k < 4; ++k)
        value = value << 8 | std::uint8_t(bytes[at + k]);
    return value;
}

// Why the file's first bytes say it is no logbook, before SQLite sees it.
QString foreignByHeader(const QByteArray &header, qint64 fileSize)
{
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return QStringLiteral("it is not an SQLite database");
    // 18, 19: write and read versions, 2 for a write-ahead log, which the
    // logbook never uses; 68: the application id.
    const std::uint32_t id = bigEndian32(header, 68);
    if (header[18] == 2 || header[19] == 2 || (id != 0 && id != ApplicationId))
        return QStringLiteral("it is another program's database");
    // 16: page size (1 means 65536); 28: pages, valid while 92 equals 24.
    const std::uint32_t pageField = std::uint8_t(header[16]) << 8 | std::uint8_t(header[17]);
    const qint64 pageSize = pageField == 1 ? 65536 : pageField;
    if (bigEndian32(header, 92) == bigEndian32(header, 24) &&
        fileSize < pageSize * bigEndian32(header, 28))
        return QStringLiteral("it is damaged: the file is cut short");
    return {};
}

} // namespace

LogbookFile::LogbookFile(const QString &path, Mode mode)
    : SqliteFile(path, mode == Mode::Write), m_mode(mode)
{
    const QFileInfo file(path);
    const bool writing = mode == Mode::Write;
    if (!file.exists() && !file.isDir()) {
        if (!writing)
            throw RuntimeError(ErrorNumber::FileNotFound,
                               QStringLiteral("File not found: there is no logbook at %1 (no "
                                              "log was pulled into it yet)")
                                   .arg(native(path)));
        if (QFileInfo(file.absolutePath()).isFile() || !QDir().mkpath(file.absolutePath())) {
            const QString cause = fileSystemCause(path, true);
            fail(
                QStringLiteral("can't be created"),
                cause.isEmpty()
                    ? QStringLiteral("its folder %1 can't be made").arg(native(file.absolutePath()))
                    : cause);
        }
    } else if (const QString cause = fileSystemCause(path, writing); !cause.isEmpty()) {
        fail(QStringLiteral("can't be opened"), cause);
    } else if (file.size() > 0) {
        QFile header(path);
        if (!header.open(QIODevice::ReadOnly))
            fail(QStringLiteral("can't be opened"), header.errorString());
        if (const QString foreign = foreignByHeader(header.read(100), file.size());
            !foreign.isEmpty())
            notALogbook(foreign);
    } else if (!writing) {
        notALogbook(QStringLiteral("it is empty"));
    }
    openFile(writing ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY);
    recognise();
}

LogbookFile::~LogbookFile() = default;

int LogbookFile::currentVersion()
{
    return CurrentVersion;
}

void LogbookFile::openFile(int flags)
{
    open(path(), flags, 10000); // another program's write ends well within that
    if (m_mode == Mode::Write)
        exec("PRAGMA synchronous=FULL", QStringLiteral("can't be opened"));
}

void LogbookFile::recognise()
{
    // schema entries, application id, version, the logs table's columns
    const char *const facts =
        "SELECT (SELECT count(*) FROM sqlite_schema), (SELECT application_id FROM"
        " pragma_application_id()), (SELECT user_version FROM pragma_user_version()),"
        " (SELECT count(*) FROM pragma_table_info('logs'))";
    for (int attempt = 0;; ++attempt) {
        sqlite3_stmt *stmt = nullptr;
        int result = sqlite3_prepare_v2(db(), facts, -1, &stmt, nullptr);
        if (result == SQLITE_OK)
            result = sqlite3_step(stmt);
        if (result != SQLITE_ROW) {
            sqlite3_finalize(stmt);
            // A write cut off left a journal that only a writer rolls back:
            // the file is known to be a logbook by its header already.
            if (result == SQLITE_READONLY_ROLLBACK && attempt == 0) {
                openFile(SQLITE_OPEN_READWRITE);
                continue;
            }
            if ((result & 0xff) == SQLITE_NOTADB || (result & 0xff) == SQLITE_CORRUPT)
                notALogbook(QStringLiteral("it is damaged: %1").arg(reasonOf(result)));
            fail(QStringLiteral("can't be read"), reasonOf(result));
        }
        const std::int64_t entries = sqlite3_column_int64(stmt, 0);
        const std::int64_t id = sqlite3_column_int64(stmt, 1);
        const std::int64_t version = sqlite3_column_int64(stmt, 2);
        const std::int64_t columns = sqlite3_column_int64(stmt, 3);
        sqlite3_finalize(stmt);
        if (entries == 0 && id == 0 && version == 0) {
            if (m_mode == Mode::Read)
                notALogbook(QStringLiteral("it is empty"));
            makeOrUpgrade();
            return;
        }
        if (id != ApplicationId || columns == 0)
            notALogbook(QStringLiteral("it is another program's database"));
        if (version > CurrentVersion || version < 1)
            notALogbook(QStringLiteral("its version %1 is none this program knows; a newer "
                                       "VEXASynch may read it")
                            .arg(version));
        if (version < CurrentVersion) {
            if (m_mode == Mode::Read)
                notALogbook(QStringLiteral("it is of version %1: any command that writes it "
                                           "brings it up to date")
                                .arg(version));
            makeOrUpgrade();
        }
        return;
    }
}

void LogbookFile::makeOrUpgrade()
{
    beginWrite();
    try {
        // Under the write lock: another program may have done it meanwhile.
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db(), "PRAGMA user_version", -1, &stmt, nullptr);
        const int version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
        sqlite3_finalize(stmt);
        for (int v = version; v < CurrentVersion; ++v)
            exec(Steps[v], QStringLiteral("can't be brought up to date"));
        exec(QStringLiteral("PRAGMA user_version = %1").arg(CurrentVersion).toUtf8().constData(),
             QStringLiteral("can't be brought up to date"));
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

void LogbookFile::beginWrite()
{
    exec("BEGIN IMMEDIATE", QStringLiteral("can't be written"));
}

void LogbookFile::beginRead()
{
    exec("BEGIN", QStringLiteral("can't be read"));
}

void LogbookFile::commit()
{
    exec("COMMIT", QStringLiteral("can't be written"));
}

void LogbookFile::rollback() noexcept
{
    if (!sqlite3_get_autocommit(db()))
        sqlite3_exec(db(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void LogbookFile::exec(const char *sql, const QString &what)
{
    char *message = nullptr;
    const int result = sqlite3_exec(db(), sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (result != SQLITE_OK)
        fail(what, reasonOf(result));
}

int LogbookFile::changes() const
{
    return sqlite3_changes(db());
}

std::int64_t LogbookFile::lastInsertId() const
{
    return sqlite3_last_insert_rowid(db());
}

void LogbookFile::fail(const QString &what, const QString &reason) const
{
    throw RuntimeError(ErrorNumber::PathFileAccessError,
                       QStringLiteral("Path/File access error: the logbook %1 %2 (%3)")
                           .arg(native(path()), what, reason));
}

void LogbookFile::notALogbook(const QString &reason) const
{
    throw RuntimeError(ErrorNumber::PathFileAccessError,
                       QStringLiteral("Path/File access error: %1 is not a logbook this program "
                                      "can use (%2); it was left as it is")
                           .arg(native(path()), reason));
}

} // namespace vexa
