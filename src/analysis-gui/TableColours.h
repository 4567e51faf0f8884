// The colour of a table's cell, by the rule the scatter shares.
#pragma once

#include "analysis/CellTable.h"
#include "analysis/ColourScale.h"

#include <QColor>

namespace vexa {

// Grey: a cell below the table's minimum.
inline const QColor EmptyCellColour{200, 200, 200};

// Over the filled cells' range of the statistic.
ColourScale colourScale(const CellTable &table, CellStat stat);

inline QColor qColor(Rgb c)
{
    return {c.red, c.green, c.blue};
}

} // namespace vexa
