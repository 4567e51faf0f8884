#include "LogKind.h"

#include <array>

namespace vexa {

namespace {

constexpr std::array<LogKindInfo, 4> Kinds = {{
    {"Rirod Logs", "RirodIndex", "RirodLog", 39},
    {"LTrims", "LTrimLog", "LTrimLog", 14},
    {"Accel Tests", "AccelTestLog", "AccelLog", 14},
    {"Trouble Codes", "TCodeLog", "TroubleLog", 14},
}};

} // namespace

const LogKindInfo &logKindInfo(LogKind kind)
{
    return Kinds[static_cast<std::size_t>(kind)];
}

LogKind logKindOfTab(int tab)
{
    return tab >= 1 && tab <= 3 ? static_cast<LogKind>(tab) : LogKind::Rirod;
}

} // namespace vexa
