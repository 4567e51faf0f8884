#include "MemoryDatabase.h"

#include <algorithm>

namespace vexa {

MemoryDatabase::MemoryDatabase(std::string name, std::vector<std::vector<std::uint8_t>> records)
    : m_name(std::move(name)), m_records(std::move(records))
{}

std::int32_t MemoryDatabase::recordCount()
{
    return static_cast<std::int32_t>(m_records.size());
}

// Ids are indexes plus one, as they never move here.
vexasync::Record MemoryDatabase::readByIndex(std::int32_t index)
{
    if (index < 0 || index >= recordCount())
        throw vexasync::Error(vexasync::error::NotFound, "Database, record, etc. not found");
    const auto i = static_cast<std::size_t>(index);
    return {static_cast<vexasync::RecordId>(i + 1), index, 0, 0, m_records[i]};
}

vexasync::Record MemoryDatabase::readById(vexasync::RecordId id)
{
    if (id < 1 || id > static_cast<vexasync::RecordId>(m_records.size()))
        throw vexasync::Error(vexasync::error::NotFound, "Database, record, etc. not found");
    return readByIndex(static_cast<std::int32_t>(id - 1));
}

std::vector<vexasync::RecordId> MemoryDatabase::idsOfRange(std::int32_t start, std::int32_t count)
{
    if (start < 0 || count < 0)
        throw vexasync::Error(vexasync::error::InvalidArgument, "Invalid argument");
    std::vector<vexasync::RecordId> ids;
    const std::int64_t end = std::min<std::int64_t>(std::int64_t{start} + count, recordCount());
    for (std::int64_t i = start; i < end; ++i)
        ids.push_back(static_cast<vexasync::RecordId>(i + 1));
    return ids;
}

vexasync::RecordId MemoryDatabase::write(vexasync::RecordId, std::uint32_t, std::uint32_t,
                                         std::span<const std::uint8_t>)
{
    throw vexasync::Error(vexasync::error::AccessDenied,
                          "The database was opened without write access");
}

void MemoryDatabase::remove(vexasync::RecordId)
{
    write(0, 0, 0, {});
}

void MemoryDatabase::removeAll(std::int32_t, std::int32_t)
{
    write(0, 0, 0, {});
}

} // namespace vexa
