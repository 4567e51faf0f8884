#include "RecordOrder.h"

#include <algorithm>
#include <bit>

namespace vexasync {

void RecordOrder::assign(std::vector<RecordId> ids)
{
    m_ids = std::move(ids);
    m_live.assign(m_ids.size(), 1);
    m_tree.assign(m_ids.size() + 1, 0);
    // Linear Fenwick build: each node passes its sum to its parent.
    for (std::size_t i = 1; i <= m_ids.size(); ++i) {
        m_tree[i] += 1;
        const std::size_t parent = i + (i & (~i + 1));
        if (parent <= m_ids.size())
            m_tree[parent] += m_tree[i];
    }
    m_count = static_cast<std::int32_t>(m_ids.size());
}

std::int32_t RecordOrder::prefix(std::size_t position) const
{
    std::int32_t sum = 0;
    for (std::size_t i = position; i > 0; i &= i - 1)
        sum += m_tree[i];
    return sum;
}

void RecordOrder::add(std::size_t position, int delta)
{
    for (std::size_t i = position + 1; i < m_tree.size(); i += i & (~i + 1))
        m_tree[i] += delta;
}

RecordId RecordOrder::idAt(std::int32_t index) const
{
    // Descend the tree to the smallest position whose prefix is index + 1.
    std::size_t position = 0;
    std::int32_t remaining = index + 1;
    for (std::size_t step = std::bit_floor(m_ids.size()); step > 0; step >>= 1) {
        const std::size_t next = position + step;
        if (next < m_tree.size() && m_tree[next] < remaining) {
            position = next;
            remaining -= m_tree[next];
        }
    }
    return m_ids[position];
}

std::size_t RecordOrder::slotOf(RecordId id) const
{
    const auto it = std::lower_bound(m_ids.begin(), m_ids.end(), id);
    if (it == m_ids.end() || *it != id)
        return m_ids.size();
    return static_cast<std::size_t>(it - m_ids.begin());
}

std::int32_t RecordOrder::indexOf(RecordId id) const
{
    const std::size_t slot = slotOf(id);
    if (slot == m_ids.size() || !m_live[slot])
        return -1;
    return prefix(slot);
}

bool RecordOrder::remove(RecordId id)
{
    const std::size_t slot = slotOf(id);
    if (slot == m_ids.size() || !m_live[slot])
        return false;
    m_live[slot] = 0;
    add(slot, -1);
    --m_count;
    return true;
}

void RecordOrder::append(RecordId id)
{
    m_ids.push_back(id);
    m_live.push_back(1);
    const std::size_t i = m_ids.size(); // 1-based position of the new entry
    // The node covers (i - lowbit(i), i]: the new entry plus the live entries
    // before it in that range.
    const std::size_t low = i - (i & (~i + 1));
    m_tree.push_back(1 + prefix(i - 1) - prefix(low));
    ++m_count;
}

} // namespace vexasync
