#include "HandheldImage.h"

#include <algorithm>
#include <filesystem>
#include <mutex>

namespace vexasync {

namespace {

const char *const Schema = R"sql(
    CREATE TABLE IF NOT EXISTS databases(
        id   INTEGER PRIMARY KEY,
        name TEXT NOT NULL UNIQUE);
    -- AUTOINCREMENT: ids are never reused, so id order is record order.
    CREATE TABLE IF NOT EXISTS records(
        id         INTEGER PRIMARY KEY AUTOINCREMENT,
        db         INTEGER NOT NULL,
        attributes INTEGER NOT NULL,
        category   INTEGER NOT NULL,
        data       BLOB NOT NULL);
    CREATE INDEX IF NOT EXISTS records_in_db ON records(db, id);
)sql";

[[noreturn]] void notFound()
{
    throw Error(error::NotFound, NotFoundDescription);
}

} // namespace

std::shared_ptr<HandheldImage> HandheldImage::open(const std::string &path, Access access)
{
    static std::mutex lock;
    static std::map<std::string, std::weak_ptr<HandheldImage>> images;
    std::error_code ec;
    std::string key = std::filesystem::weakly_canonical(path, ec).string();
    if (ec)
        key = path;
    const std::lock_guard guard(lock);
    if (auto image = images[key].lock(); image && std::filesystem::exists(key)) {
        // One connection for every writer, so that a change group covers them all.
        if (access == Access::ReadOnly || (image->writable() && access == Access::ReadWrite))
            return image;
        if (image->writable()) {
            image->layOut();
            return image;
        }
    }
    if (access != Access::Create && !std::filesystem::exists(path))
        throw Error(error::NotDocked, "The handheld image " + path + " does not exist");
    auto image = std::make_shared<HandheldImage>(path, access);
    images[key] = image;
    return image;
}

HandheldImage::HandheldImage(const std::string &path, Access access)
    : m_access(access), m_db(path, access == Access::ReadOnly ? sqlite::Connection::ReadOnly
                                   : access == Access::Create ? sqlite::Connection::Create
                                                              : sqlite::Connection::ReadWrite)
{
    try {
        if (access == Access::Create)
            layOut();
        m_db.exec("PRAGMA synchronous=NORMAL;");
        prepareStatements();
    } catch (const Error &e) {
        // Missing tables, an empty file or no database at all: nothing here
        // may turn it into an empty handheld.
        throw Error(error::StorageFailure,
                    "The handheld image " + path + " can't be read (" + e.what() + ")");
    }
}

void HandheldImage::layOut()
{
    // WAL keeps an interrupted group out of the file: after a crash the image
    // opens with what was last committed. The file keeps the mode.
    m_db.exec("PRAGMA journal_mode=WAL;");
    m_db.exec(Schema);
}

void HandheldImage::prepareStatements()
{
    m_dataVersion.emplace(m_db, "PRAGMA data_version");
    // databases: id
    m_findDatabase.emplace(m_db, "SELECT id FROM databases WHERE name = ?1");
    // records: id, in record order
    m_listIds.emplace(m_db, "SELECT id FROM records WHERE db = ?1 ORDER BY id");
    // records: id, attributes, category, data; from one id on, in record order
    m_readAhead.emplace(m_db, "SELECT id, attributes, category, data FROM records "
                              "WHERE db = ?1 AND id >= ?2 ORDER BY id LIMIT 32");
    m_insertRecord.emplace(
        m_db, "INSERT INTO records(db, attributes, category, data) VALUES (?1, ?2, ?3, ?4)");
    m_updateRecord.emplace(m_db, "UPDATE records SET attributes = ?3, category = ?4, data = ?5 "
                                 "WHERE id = ?1 AND db = ?2");
    m_deleteRecord.emplace(m_db, "DELETE FROM records WHERE id = ?1 AND db = ?2");
}

void HandheldImage::noticeOutsideChanges()
{
    // Inside a group this connection holds the write lock: nobody else commits.
    if (m_depth > 0)
        return;
    std::int64_t version = 0;
    if (m_dataVersion->step()) {
        version = m_dataVersion->integer(0);
        m_dataVersion->reset();
    }
    if (version != m_lastDataVersion) {
        forgetCaches();
        m_lastDataVersion = version;
    }
}

void HandheldImage::forgetCaches()
{
    m_databaseIds.clear();
    m_orders.clear();
    m_readBuffer.clear();
}

std::int64_t HandheldImage::databaseId(const std::string &name, Freshness freshness)
{
    if (freshness == Freshness::Check)
        noticeOutsideChanges();
    if (const auto it = m_databaseIds.find(name); it != m_databaseIds.end())
        return it->second;
    m_findDatabase->bind(1, name);
    if (!m_findDatabase->step())
        notFound();
    const std::int64_t id = m_findDatabase->integer(0);
    m_findDatabase->reset();
    m_databaseIds[name] = id;
    return id;
}

std::vector<std::string> HandheldImage::databaseNames()
{
    sqlite::Statement list(m_db, "SELECT name FROM databases ORDER BY name");
    std::vector<std::string> names;
    while (list.step())
        names.push_back(list.text(0));
    return names;
}

void HandheldImage::createDatabase(const std::string &name)
{
    if (name.empty() || name.size() > 31)
        throw Error(error::InvalidArgument, "A database name has 1 to 31 characters");
    sqlite::Statement(m_db, "INSERT OR IGNORE INTO databases(name) VALUES (?1)")
        .bind(1, name)
        .run();
}

void HandheldImage::dropDatabase(const std::string &name)
{
    const std::int64_t id = databaseId(name, Freshness::Check);
    beginGroup();
    try {
        sqlite::Statement(m_db, "DELETE FROM records WHERE db = ?1").bind(1, id).run();
        sqlite::Statement(m_db, "DELETE FROM databases WHERE id = ?1").bind(1, id).run();
        commitGroup();
    } catch (...) {
        rollbackGroup();
        throw;
    }
    forgetCaches();
}

RecordOrder &HandheldImage::order(std::int64_t database)
{
    auto [it, added] = m_orders.try_emplace(database);
    if (added) {
        std::vector<RecordId> ids;
        m_listIds->bind(1, database);
        while (m_listIds->step())
            ids.push_back(static_cast<RecordId>(m_listIds->integer(0)));
        it->second.assign(std::move(ids));
    }
    return it->second;
}

Record HandheldImage::read(std::int64_t database, RecordId id)
{
    const auto byId = [](const Record &r, RecordId wanted) { return r.id < wanted; };
    auto it = std::lower_bound(m_readBuffer.begin(), m_readBuffer.end(), id, byId);
    if (m_readDatabase != database || it == m_readBuffer.end() || it->id != id) {
        // Scan records are read one after the other: fetch the next few at once.
        m_readBuffer.clear();
        m_readDatabase = database;
        m_readAhead->bind(1, database).bind(2, static_cast<std::int64_t>(id));
        while (m_readAhead->step()) {
            Record &r = m_readBuffer.emplace_back();
            r.id = static_cast<RecordId>(m_readAhead->integer(0));
            r.attributes = static_cast<std::uint32_t>(m_readAhead->integer(1));
            r.category = static_cast<std::uint32_t>(m_readAhead->integer(2));
            r.bytes = m_readAhead->blob(3);
        }
        it = m_readBuffer.begin();
        if (it == m_readBuffer.end() || it->id != id)
            notFound();
    }
    return *it;
}

RecordId HandheldImage::append(std::int64_t database, std::uint32_t attributes,
                               std::uint32_t category, std::span<const std::uint8_t> bytes)
{
    RecordOrder &records = order(database);
    m_readBuffer.clear();
    m_insertRecord->bind(1, database).bind(2, attributes).bind(3, category).bind(4, bytes).run();
    const auto id = static_cast<RecordId>(m_db.lastInsertId());
    records.append(id);
    return id;
}

void HandheldImage::replace(std::int64_t database, RecordId id, std::uint32_t attributes,
                            std::uint32_t category, std::span<const std::uint8_t> bytes)
{
    m_readBuffer.clear();
    m_updateRecord->bind(1, static_cast<std::int64_t>(id))
        .bind(2, database)
        .bind(3, attributes)
        .bind(4, category)
        .bind(5, bytes)
        .run();
    if (m_db.changes() == 0)
        notFound();
}

void HandheldImage::remove(std::int64_t database, RecordId id)
{
    RecordOrder &records = order(database);
    m_readBuffer.clear();
    m_deleteRecord->bind(1, static_cast<std::int64_t>(id)).bind(2, database).run();
    if (m_db.changes() == 0)
        notFound();
    records.remove(id);
}

void HandheldImage::removeCategories(std::int64_t database, std::int32_t first, std::int32_t last)
{
    sqlite::Statement(m_db,
                      "DELETE FROM records WHERE db = ?1 AND (category & 255) BETWEEN ?2 AND ?3")
        .bind(1, database)
        .bind(2, first)
        .bind(3, last)
        .run();
    m_orders.erase(database);
    m_readBuffer.clear();
}

void HandheldImage::beginGroup()
{
    noticeOutsideChanges();
    if (m_depth == 0)
        m_db.exec("BEGIN IMMEDIATE"); // take the write lock now, not at the first change
    else
        m_db.exec(("SAVEPOINT g" + std::to_string(m_depth)).c_str());
    ++m_depth;
}

void HandheldImage::commitGroup()
{
    if (m_depth == 0)
        throw Error(error::NoChangeGroup, "No change group is open");
    if (m_depth == 1) {
        try {
            m_db.exec("COMMIT");
        } catch (...) {
            rollbackGroup();
            throw;
        }
    } else {
        m_db.exec(("RELEASE g" + std::to_string(m_depth - 1)).c_str());
    }
    --m_depth;
}

void HandheldImage::rollbackGroup()
{
    if (m_depth == 0)
        throw Error(error::NoChangeGroup, "No change group is open");
    --m_depth;
    // What this process remembers may describe changes that are now undone.
    forgetCaches();
    if (m_depth == 0) {
        m_db.exec("ROLLBACK");
    } else {
        const std::string name = "g" + std::to_string(m_depth);
        m_db.exec(("ROLLBACK TO " + name + "; RELEASE " + name).c_str());
    }
}

} // namespace vexasync
