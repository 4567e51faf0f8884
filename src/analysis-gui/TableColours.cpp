#include "TableColours.h"

#include <algorithm>

namespace vexa {

ColourScale colourScale(const CellTable &table, CellStat stat)
{
    double low = 0, high = 0;
    bool any = false;
    for (std::size_t yi = 0; yi < table.yAxis.size(); ++yi)
        for (std::size_t xi = 0; xi < table.xAxis.size(); ++xi) {
            if (!table.filled(xi, yi))
                continue;
            const double v = table.at(xi, yi).stat(stat);
            low = any ? std::min(low, v) : v;
            high = any ? std::max(high, v) : v;
            any = true;
        }
    // Counts are never below 0: a trim's counts are still a quantity.
    return colourScale(stat == CellStat::Count ? std::string() : table.value, low, high);
}

} // namespace vexa
