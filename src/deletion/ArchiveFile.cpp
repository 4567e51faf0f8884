#include "ArchiveFile.h"

#include "core/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace vexa {

namespace {

// Set when the archive is made; an archive made before it was set is known
// by its table alone.
constexpr std::uint32_t ApplicationId = 0x5658444C; // "VXDL"

const char *const Recognise =
    // schema entries, application id, how many of the archive's columns the
    // table has (none when it is not a table)
    "SELECT (SELECT count(*) FROM sqlite_master),"
    " (SELECT application_id FROM pragma_application_id()),"
    " (SELECT count(*) FROM pragma_table_info('deleted_logs') WHERE name IN ('id', 'kind',"
    " 'index_record', 'scan_count', 'scan_records', 'deleted_at', 'removed', 'restored_at')"
    " AND EXISTS(SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'deleted_logs'))";
constexpr int ArchiveColumns = 8;

const char *const Make = "PRAGMA application_id = 1448625228; PRAGMA user_version = 2;"
                         "CREATE TABLE deleted_logs("
                         " id INTEGER PRIMARY KEY, kind INTEGER NOT NULL,"
                         " index_record BLOB NOT NULL, scan_count INTEGER NOT NULL,"
                         " scan_records BLOB NOT NULL, deleted_at TEXT NOT NULL,"
                         " removed INTEGER NOT NULL DEFAULT 0, restored_at TEXT,"
                         " deleted_record INTEGER, restored_record INTEGER);";
// Version 1 told a log by its content alone.
const char *const FromVersion1 = "ALTER TABLE deleted_logs ADD COLUMN deleted_record INTEGER;"
                                 "ALTER TABLE deleted_logs ADD COLUMN restored_record INTEGER;"
                                 "PRAGMA user_version = 2;";
static_assert(ApplicationId == 1448625228);

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Why the file's first bytes say it is no archive, before SQLite sees it.
QString foreignByHeader(const QByteArray &header)
{
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return QStringLiteral("it is not an SQLite database");
    // 18, 19: the write and read versions, 2 for a write-ahead log, which
    // the archive never uses; 68: the application id, big-endian.
    const auto byte = [&](int at) { return static_cast<std::uint32_t>(std::uint8_t(header[at])); };
    const std::uint32_t id = byte(68) << 24 | byte(69) << 16 | byte(70) << 8 | byte(71);
    if (byte(18) == 2 || byte(19) == 2 || (id != 0 && id != ApplicationId))
        return QStringLiteral("it is another program's database");
    return {};
}

QByteArray wholeFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

ArchiveFile::ArchiveFile(const QString &path, Mode mode)
    : SqliteFile(path, mode == Mode::Write), m_mode(mode)
{
    const QFileInfo file(path);
    const bool writing = mode == Mode::Write;
    if (file.isDir())
        fail(QStringLiteral("can't be opened"), fileSystemCause(path, writing));
    if (!file.exists()) {
        if (!writing)
            throw RuntimeError(ErrorNumber::FileNotFound,
                               QStringLiteral("File not found: there is no archive of deleted "
                                              "logs at %1 (nothing deleted was kept there)")
                                   .arg(native(path)));
        if (const QString cause = fileSystemCause(path, true); !cause.isEmpty())
            fail(QStringLiteral("can't be created"), cause);
        return; // made by the first write
    }
    if (file.size() == 0) {
        if (writing)
            return; // most likely an archive whose making was cut off
        notAnArchive(QStringLiteral("it is empty"));
    }
    QFile header(path);
    if (!header.open(QIODevice::ReadOnly)) {
        const QString cause = fileSystemCause(path, writing);
        fail(QStringLiteral("can't be opened"), cause.isEmpty() ? header.errorString() : cause);
    }
    if (const QString foreign = foreignByHeader(header.read(100)); !foreign.isEmpty())
        notAnArchive(foreign);
    header.close();
    openFile(path, writing ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    recognise();
    // Refused before the handheld is touched, not when the archive is to
    // record what was done to it.
    if (writing)
        refuseReadOnly();
}

ArchiveFile::~ArchiveFile()
{
    close(); // before its private copy goes
}

void ArchiveFile::openFile(const QString &file, int flags)
{
    open(file, flags, 5000);
    // FULL: a commit is on the disk when it returns.
    if (m_mode == Mode::Write)
        exec("PRAGMA synchronous=FULL");
}

void ArchiveFile::refuseReadOnly()
{
    // SQLite knows only once it has read the file.
    if (sqlite3_db_readonly(db(), "main") != 1)
        return;
    close();
    throw RuntimeError(ErrorNumber::PathFileAccessError,
                       QStringLiteral("Path/File access error: the archive of deleted logs %1 is "
                                      "read-only: nothing was changed; make it writable and try "
                                      "again")
                           .arg(native(path())));
}

bool ArchiveFile::hasHandheldRecordColumns() const
{
    return sqlite3_table_column_metadata(db(), "main", "deleted_logs", "restored_record", nullptr,
                                         nullptr, nullptr, nullptr, nullptr) == SQLITE_OK;
}

ArchiveFile::Look ArchiveFile::look() const
{
    SqlStatement facts(*this, Recognise, SqlStatement::Tolerant{});
    if (const int result = facts.tryStep(); result != SQLITE_ROW) {
        const int failed = result == SQLITE_DONE ? SQLITE_ERROR : result;
        return {failed, reasonOf(failed), Contents::Other};
    }
    const std::int64_t id = facts.integer(1);
    if (id != 0 && id != ApplicationId)
        return {SQLITE_OK, {}, Contents::Other};
    return {SQLITE_OK,
            {},
            facts.integer(0) == 0                ? Contents::Empty
            : facts.integer(2) == ArchiveColumns ? Contents::Archive
                                                 : Contents::Other};
}

void ArchiveFile::recognise()
{
    // Rolling back a write that was cut off takes write access, so a reader
    // rolls back a private copy of the file and its journal instead; a copy
    // taken while another process rolls the file back is taken again.
    for (int attempt = 1;; ++attempt) {
        const Look seen = look();
        if (seen.result == SQLITE_READONLY_ROLLBACK && m_mode == Mode::Read) {
            if (attempt == 5)
                fail(QStringLiteral("can't be read"),
                     QStringLiteral("a write to it was cut off, and its journal can't be read"));
            if (!readFromPrivateCopy())
                openFile(path(), SQLITE_OPEN_READONLY);
            continue;
        }
        if (seen.result != SQLITE_OK)
            fail(QStringLiteral("can't be read"), seen.reason);
        if (seen.found == Contents::Other)
            notAnArchive(QStringLiteral("it is another program's database"));
        if (seen.found == Contents::Empty && m_mode == Mode::Read)
            notAnArchive(QStringLiteral("it is empty"));
        return;
    }
}

bool ArchiveFile::readFromPrivateCopy()
{
    close();
    m_copy = std::make_unique<QTemporaryDir>();
    const QString copy = m_copy->filePath(QStringLiteral("deleted-logs.sqlite"));
    const QString journal = path() + QStringLiteral("-journal");
    const QByteArray before = wholeFile(journal);
    if (!m_copy->isValid() || before.isEmpty() || !QFile::copy(path(), copy) ||
        wholeFile(journal) != before)
        return false;
    QFile copiedJournal(copy + QStringLiteral("-journal"));
    if (!copiedJournal.open(QIODevice::WriteOnly) || copiedJournal.write(before) != before.size())
        return false;
    copiedJournal.close();
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    openFile(copy, SQLITE_OPEN_READWRITE);
    return true;
}

void ArchiveFile::beginWrite()
{
    if (!db())
        openFile(path(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    exec("BEGIN IMMEDIATE");
    try {
        // Under the write lock: another process may have made it meanwhile.
        const Look seen = look();
        if (seen.result != SQLITE_OK)
            fail(QStringLiteral("can't be read"), seen.reason);
        if (seen.found == Contents::Other)
            notAnArchive(QStringLiteral("it is another program's database"));
        if (seen.found == Contents::Empty)
            exec(Make);
        else if (!hasHandheldRecordColumns())
            exec(FromVersion1);
    } catch (...) {
        sqlite3_exec(db(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void ArchiveFile::exec(const char *sql)
{
    char *message = nullptr;
    const int result = sqlite3_exec(db(), sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (result != SQLITE_OK)
        fail(QStringLiteral("can't be written"), reasonOf(result));
}

void ArchiveFile::fail(const QString &what, const QString &reason) const
{
    throw RuntimeError(ErrorNumber::PathFileAccessError,
                       QStringLiteral("Path/File access error: the archive of deleted logs %1 "
                                      "%2 (%3)")
                           .arg(native(path()), what, reason));
}

void ArchiveFile::notAnArchive(const QString &reason) const
{
    throw RuntimeError(
        ErrorNumber::PathFileAccessError,
        QStringLiteral("Path/File access error: %1 is not an archive of deleted logs (%2); it "
                       "was left as it is")
            .arg(native(path()), reason));
}

} // namespace vexa
