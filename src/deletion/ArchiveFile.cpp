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
    // table has
    "SELECT (SELECT count(*) FROM sqlite_master),"
    " (SELECT application_id FROM pragma_application_id()),"
    " (SELECT count(*) FROM pragma_table_info('deleted_logs') WHERE name IN ('id', 'kind',"
    " 'index_record', 'scan_count', 'scan_records', 'deleted_at', 'removed', 'restored_at'))";
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

// What is in the way of opening or making the file, where it is the file
// system; empty otherwise.
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
    if (writing && !folder.isWritable())
        return QStringLiteral("its folder %1 can't be written").arg(native(folder.filePath()));
    return {};
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

ArchiveFile::ArchiveFile(const QString &path, Mode mode) : m_path(path), m_mode(mode)
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
    open(path, writing ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY);
    recognise();
    // Refused before the handheld is touched, not when the archive is to
    // record what was done to it.
    if (writing)
        refuseReadOnly();
}

ArchiveFile::~ArchiveFile() = default;

void ArchiveFile::Close::operator()(sqlite3 *db) const
{
    sqlite3_close(db);
}

void ArchiveFile::open(const QString &file, int flags)
{
    m_db.reset();
    const QByteArray name = native(file).toUtf8();
    sqlite3 *db = nullptr;
    const int result = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    m_db.reset(db);
    if (result != SQLITE_OK) {
        const QString cause = fileSystemCause(m_path, m_mode == Mode::Write);
        // No handle comes back only when SQLite could not allocate one.
        const QString reason = !cause.isEmpty() ? cause
                               : db             ? QString::fromUtf8(sqlite3_errmsg(db))
                                                : QStringLiteral("out of memory");
        m_db.reset();
        fail(QStringLiteral("can't be opened"), reason);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 5000);
    // FULL: a commit is on the disk before the handheld is touched.
    if (m_mode == Mode::Write)
        exec("PRAGMA synchronous=FULL");
}

void ArchiveFile::refuseReadOnly()
{
    // SQLite knows only once it has read the file.
    if (sqlite3_db_readonly(db(), "main") != 1)
        return;
    m_db.reset();
    throw RuntimeError(ErrorNumber::PathFileAccessError,
                       QStringLiteral("Path/File access error: the archive of deleted logs %1 is "
                                      "read-only: nothing was changed; make it writable and try "
                                      "again")
                           .arg(native(m_path)));
}

bool ArchiveFile::hasHandheldRecordColumns() const
{
    return sqlite3_table_column_metadata(db(), "main", "deleted_logs", "restored_record", nullptr,
                                         nullptr, nullptr, nullptr, nullptr) == SQLITE_OK;
}

ArchiveFile::Look ArchiveFile::look() const
{
    ArchiveStatement facts(*this, Recognise);
    if (!facts.step())
        return {facts.failed() ? facts.result() : SQLITE_ERROR, facts.reason(), Contents::Other};
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
                open(m_path, SQLITE_OPEN_READONLY);
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
    m_db.reset();
    m_copy = std::make_unique<QTemporaryDir>();
    const QString copy = m_copy->filePath(QStringLiteral("deleted-logs.sqlite"));
    const QString journal = m_path + QStringLiteral("-journal");
    const QByteArray before = wholeFile(journal);
    if (!m_copy->isValid() || before.isEmpty() || !QFile::copy(m_path, copy) ||
        wholeFile(journal) != before)
        return false;
    QFile copiedJournal(copy + QStringLiteral("-journal"));
    if (!copiedJournal.open(QIODevice::WriteOnly) || copiedJournal.write(before) != before.size())
        return false;
    copiedJournal.close();
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    open(copy, SQLITE_OPEN_READWRITE);
    return true;
}

void ArchiveFile::beginWrite()
{
    if (!m_db)
        open(m_path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
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
    const QString text = QString::fromUtf8(message);
    sqlite3_free(message);
    if (result != SQLITE_OK)
        fail(QStringLiteral("can't be written"), reasonOf(result, text));
}

void ArchiveFile::fail(const QString &what, const QString &reason) const
{
    throw RuntimeError(ErrorNumber::PathFileAccessError,
                       QStringLiteral("Path/File access error: the archive of deleted logs %1 "
                                      "%2 (%3)")
                           .arg(native(m_path), what, reason));
}

void ArchiveFile::notAnArchive(const QString &reason) const
{
    throw RuntimeError(
        ErrorNumber::PathFileAccessError,
        QStringLiteral("Path/File access error: %1 is not an archive of deleted logs (%2); it "
                       "was left as it is")
            .arg(native(m_path), reason));
}

QString ArchiveFile::reasonOf(int result, const QString &sqliteMessage) const
{
    if ((result & 0xff) == SQLITE_CANTOPEN)
        if (const QString cause = fileSystemCause(m_path, m_mode == Mode::Write); !cause.isEmpty())
            return cause;
    return sqliteMessage;
}

ArchiveStatement::ArchiveStatement(const ArchiveFile &file, const char *sql) : m_file(file)
{
    m_result = sqlite3_prepare_v2(file.db(), sql, -1, &m_stmt, nullptr);
    if (m_result != SQLITE_OK)
        m_reason = file.reasonOf(m_result, QString::fromUtf8(sqlite3_errmsg(file.db())));
}

ArchiveStatement::~ArchiveStatement()
{
    sqlite3_finalize(m_stmt);
}

ArchiveStatement &ArchiveStatement::bind(int column, std::int64_t value)
{
    sqlite3_bind_int64(m_stmt, column, value);
    return *this;
}

ArchiveStatement &ArchiveStatement::bind(int column, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_stmt, column, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

ArchiveStatement &ArchiveStatement::bind(int column, const std::vector<std::uint8_t> &bytes)
{
    // A zero-length blob, not NULL, for an empty record.
    sqlite3_bind_blob(m_stmt, column, bytes.empty() ? static_cast<const void *>("") : bytes.data(),
                      static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    return *this;
}

bool ArchiveStatement::step()
{
    if (!m_stmt)
        return false;
    const int result = sqlite3_step(m_stmt);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE) {
        m_result = result;
        m_reason = m_file.reasonOf(result, QString::fromUtf8(sqlite3_errmsg(m_file.db())));
    }
    sqlite3_reset(m_stmt);
    return false;
}

void ArchiveStatement::run(const QString &what)
{
    if (step())
        sqlite3_reset(m_stmt);
    if (failed())
        m_file.fail(what, m_reason);
}

std::int64_t ArchiveStatement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QString ArchiveStatement::text(int column) const
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)));
}

std::vector<std::uint8_t> ArchiveStatement::blob(int column) const
{
    const auto *data = static_cast<const std::uint8_t *>(sqlite3_column_blob(m_stmt, column));
    return std::vector<std::uint8_t>(data, data + sqlite3_column_bytes(m_stmt, column));
}

} // namespace vexa
