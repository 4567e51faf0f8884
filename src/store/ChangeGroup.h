// A group of handheld changes that is applied whole or not at all: rolled
// back unless committed, also when an exception leaves the scope.
#pragma once

#include "vexasync/VexaSync.h"

namespace vexa {

class ChangeGroup {
public:
    explicit ChangeGroup(vexasync::RecordAdapter &adapter) : m_adapter(adapter)
    {
        adapter.beginGroup();
    }
    ~ChangeGroup()
    {
        if (!m_open)
            return;
        try {
            m_adapter.rollbackGroup();
        } catch (...) {
            // The image closes without committing: the group is lost all the same.
        }
    }
    ChangeGroup(const ChangeGroup &) = delete;
    ChangeGroup &operator=(const ChangeGroup &) = delete;

    void commit()
    {
        m_open = false;
        m_adapter.commitGroup();
    }
    void rollback()
    {
        m_open = false;
        m_adapter.rollbackGroup();
    }

private:
    vexasync::RecordAdapter &m_adapter;
    bool m_open = true;
};

} // namespace vexa
