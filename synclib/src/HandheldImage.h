// One handheld image: the SQLite file that holds all the record databases of
// one user's handheld. Every adapter of the same image in a process shares
// one HandheldImage, so a change group covers all of its databases.
#pragma once

#include "RecordOrder.h"
#include "Sqlite.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace vexasync {

class HandheldImage {
public:
    // Only Create makes the file or its tables (and sets the journal mode);
    // the others take the image as it is and fail with StorageFailure when it
    // is not a handheld image, leaving it untouched.
    enum class Access { ReadOnly, ReadWrite, Create };

    // The image shared by this process for that path.
    static std::shared_ptr<HandheldImage> open(const std::string &path, Access access);
    HandheldImage(const std::string &path, Access access);
    bool writable() const { return m_access != Access::ReadOnly; }

    // Callers start every operation here. Check notices the changes other
    // processes made; reads by index and id rely on the order as it was at
    // the last checked call, so that a loop of reads costs no extra lookups.
    enum class Freshness { Check, AsLastChecked };
    std::int64_t databaseId(const std::string &name, Freshness freshness); // throws NotFound
    std::vector<std::string> databaseNames();
    void createDatabase(const std::string &name);
    void dropDatabase(const std::string &name);

    RecordOrder &order(std::int64_t database);
    Record read(std::int64_t database, RecordId id);
    RecordId append(std::int64_t database, std::uint32_t attributes, std::uint32_t category,
                    std::span<const std::uint8_t> bytes);
    void replace(std::int64_t database, RecordId id, std::uint32_t attributes,
                 std::uint32_t category, std::span<const std::uint8_t> bytes);
    void remove(std::int64_t database, RecordId id);
    void removeCategories(std::int64_t database, std::int32_t first, std::int32_t last);

    void beginGroup();
    void commitGroup();
    void rollbackGroup();
    int groupDepth() const { return m_depth; }

private:
    // Drops what this process remembers when another process changed the file.
    void noticeOutsideChanges();
    void forgetCaches();

    // Journal mode and tables, for the tools that create images.
    void layOut();
    void prepareStatements();

    Access m_access;
    sqlite::Connection m_db;
    std::optional<sqlite::Statement> m_dataVersion, m_findDatabase, m_listIds, m_readAhead,
        m_insertRecord, m_updateRecord, m_deleteRecord;
    std::int64_t m_lastDataVersion = -1;
    std::map<std::string, std::int64_t> m_databaseIds;
    std::map<std::int64_t, RecordOrder> m_orders;
    std::int64_t m_readDatabase = 0;
    std::vector<Record> m_readBuffer; // records read ahead, in id order
    int m_depth = 0;
};

} // namespace vexasync
