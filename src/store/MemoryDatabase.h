// Records held in memory, read as the handheld's are read: what a save reads
// from when its logs come from somewhere other than the docked handheld.
#pragma once

#include "vexasync/VexaSync.h"

#include <string>
#include <vector>

namespace vexa {

class MemoryDatabase final : public vexasync::RecordAdapter {
public:
    MemoryDatabase(std::string name, std::vector<std::vector<std::uint8_t>> records);

    std::string databaseName() const override { return m_name; }
    std::int32_t recordCount() override;
    vexasync::Record readByIndex(std::int32_t index) override;
    vexasync::Record readById(vexasync::RecordId id) override;
    std::vector<vexasync::RecordId> idsOfRange(std::int32_t start, std::int32_t count) override;

    // Nothing here is ever changed: every write is refused.
    vexasync::RecordId write(vexasync::RecordId, std::uint32_t, std::uint32_t,
                             std::span<const std::uint8_t>) override;
    void remove(vexasync::RecordId) override;
    void removeAll(std::int32_t, std::int32_t) override;
    void beginGroup() override {}
    void commitGroup() override {}
    void rollbackGroup() override {}
    int groupDepth() const override { return 0; }

private:
    std::string m_name;
    std::vector<std::vector<std::uint8_t>> m_records;
};

} // namespace vexa
