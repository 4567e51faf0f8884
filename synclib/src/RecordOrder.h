// The order of a database's records, kept in memory so that reads and
// deletions by index cost O(log n) however long the database is.
//
// Records are ordered by id (ids only grow), so the order is the sorted id
// list with deleted entries marked dead; a Fenwick tree over the live flags
// turns an index into its id and back.
#pragma once

#include "vexasync/VexaSync.h"

#include <cstdint>
#include <vector>

namespace vexasync {

class RecordOrder {
public:
    // ids must be ascending.
    void assign(std::vector<RecordId> ids);
    std::int32_t count() const { return m_count; }
    // Requires 0 <= index < count().
    RecordId idAt(std::int32_t index) const;
    // -1 when the id is not a live record.
    std::int32_t indexOf(RecordId id) const;
    bool remove(RecordId id);
    // id must be greater than every id held.
    void append(RecordId id);

private:
    std::int32_t prefix(std::size_t position) const; // live entries in [0, position)
    void add(std::size_t position, int delta);
    std::size_t slotOf(RecordId id) const;

    std::vector<RecordId> m_ids;
    std::vector<std::uint8_t> m_live;
    std::vector<std::int32_t> m_tree; // 1-based Fenwick tree
    std::int32_t m_count = 0;
};

} // namespace vexasync
