#include "TableText.h"

#include "format/ParamCatalogue.h"

#include <charconv>

namespace vexa {

std::string cornerName(const CellTable &table)
{
    return table.y + '\\' + table.x;
}

std::string cellText(const CellTable &table, std::size_t xi, std::size_t yi, CellStat stat)
{
    if (!table.filled(xi, yi))
        return {};
    const CellStats &cell = table.at(xi, yi);
    if (stat == CellStat::Count)
        return std::to_string(cell.count);
    const int shown = std::max(findParam(table.value)->decimals, 0);
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, cell.stat(stat),
                                   std::chars_format::fixed, shown + 1)
                         .ptr;
    std::string out(text, end);
    // A value that rounds to zero shows no sign.
    if (out.front() == '-' && out.find_first_not_of("-0.") == std::string::npos)
        out.erase(0, 1);
    return out;
}

std::string tableText(const CellTable &table, CellStat stat, char separator)
{
    std::string out = cornerName(table);
    for (const double x : table.xAxis)
        out += separator + shortestText(x);
    out += '\n';
    for (std::size_t yi = 0; yi < table.yAxis.size(); ++yi) {
        out += shortestText(table.yAxis[yi]);
        for (std::size_t xi = 0; xi < table.xAxis.size(); ++xi)
            out += separator + cellText(table, xi, yi, stat);
        out += '\n';
    }
    return out;
}

} // namespace vexa
