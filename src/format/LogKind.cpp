#include "LogKind.h"

#include <array>

namespace vexa {

namespace {

constexpr std::array<LogKindInfo, 4> Kinds = {{
    {"Rirod Logs", "RirodIndex", "RirodLog"},
    {"LTrims", "LTrimLog", "LTrimLog"},
    {"Accel Tests", "AccelTestLog", "AccelLog"},
    {"Trouble Codes", "TCodeLog", "TroubleLog"},
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
