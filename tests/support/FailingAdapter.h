// A record adapter that fails its n-th deletion, for failures in the middle
// of a command.
#pragma once

#include "vexasync/VexaSync.h"

#include <memory>

namespace vexa::test {

class FailingAdapter final : public vexasync::RecordAdapter {
public:
    FailingAdapter(std::shared_ptr<vexasync::RecordAdapter> inner, int failAtRemove)
        : m_inner(std::move(inner)), m_failAt(failAtRemove)
    {}

    std::string databaseName() const override { return m_inner->databaseName(); }
    std::int32_t recordCount() override { return m_inner->recordCount(); }
    vexasync::Record readByIndex(std::int32_t i) override { return m_inner->readByIndex(i); }
    vexasync::Record readById(vexasync::RecordId id) override { return m_inner->readById(id); }
    vexasync::RecordId write(vexasync::RecordId id, std::uint32_t a, std::uint32_t c,
                             std::span<const std::uint8_t> b) override
    {
        return m_inner->write(id, a, c, b);
    }
    void remove(vexasync::RecordId id) override
    {
        if (++m_removes == m_failAt)
            throw vexasync::Error(vexasync::error::StorageFailure,
                                  "Handheld storage failure: disk I/O error");
        m_inner->remove(id);
    }
    std::vector<vexasync::RecordId> idsOfRange(std::int32_t s, std::int32_t n) override
    {
        return m_inner->idsOfRange(s, n);
    }
    void removeAll(std::int32_t a, std::int32_t b) override
    {
        if (m_failAt == 0)
            throw vexasync::Error(vexasync::error::StorageFailure,
                                  "Handheld storage failure: disk I/O error");
        m_inner->removeAll(a, b);
    }
    void beginGroup() override { m_inner->beginGroup(); }
    void commitGroup() override { m_inner->commitGroup(); }
    void rollbackGroup() override { m_inner->rollbackGroup(); }
    int groupDepth() const override { return m_inner->groupDepth(); }

private:
    std::shared_ptr<vexasync::RecordAdapter> m_inner;
    int m_failAt;
    int m_removes = 0;
};

} // namespace vexa::test
