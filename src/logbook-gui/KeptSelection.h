// The selection of a table of logs told by log ids, so that it outlives a
// reload that moves, adds or removes rows.
#pragma once

#include <QItemSelectionModel>

#include <cstdint>
#include <vector>

namespace vexa {

struct KeptSelection {
    std::vector<std::int64_t> ids; // selected, in row order
    std::int64_t current = 0;      // 0: none

    // Read through LogbookTableModel::IdRole of the selection's model.
    static KeptSelection of(const QItemSelectionModel &selection);
    // Selects those of the logs still shown, whole rows; the current log
    // stays current.
    void restore(QItemSelectionModel &selection) const;
};

} // namespace vexa
