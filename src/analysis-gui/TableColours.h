// The colour of a table's cell: a trim, or any value whose cells straddle 0,
// runs blue through white to red around 0; any other value light to dark.
#pragma once

#include "analysis/CellTable.h"

#include <QColor>

namespace vexa {

struct ColourScale {
    bool diverging = false;
    double low = 0, high = 0; // the filled cells' range of the statistic

    QColor colour(double value) const;
};

// Grey: a cell below the table's minimum.
inline const QColor EmptyCellColour{200, 200, 200};

ColourScale colourScale(const CellTable &table, CellStat stat);

} // namespace vexa
