#include "EfiParamInfo.h"

#include <algorithm>
#include <array>

namespace vexa {

namespace {

struct EfiRow {
    std::string_view code;
    EfiParamInfo info;
};

// Each float is the single-precision number nearest the decimal written.
// clang-format off
constexpr std::array<EfiRow, 24> EfiRows = {{
    {"ECT", {"SAE.ECT", 1, "ECT", "Low", "OK", "High", 32, 280, 32, 212, 1.8f, -40}},
    {"FTC", {"GM.LS1.LONG TERM FT CELL", 1, "BLMCELL", "Low", "OK", "High", 0, 22, 0, 22, 1, 0}},
    {"IAC", {"GM.LS1.IAC", 2, "IAC", "Low", "OK", "High", 0, 512, 0, 256, 1, 0}},
    {"IAT", {"SAE.IAT", 1, "IAT", "Low", "OK", "High", 32, 280, 41, 230, 1.8f, -40}},
    {"IGN", {"SAE.SPARK ADV", 1, "ADV", "Low", "OK", "High", -10, 40, -10, 40, 0.5f, -64}},
    {"IGNV", {"GM.LS1.IGN VOLT", 1, "IGNV", "Low", "OK", "High", 0, 25.5f, 0, 25.5f, 0.1f, 0}},
    {"IPW1", {"GM.LS1.INJPW1", 2, "INJPW1", "Low", "OK", "High", 0, 4, 0, 4, 0.01526f, 0}},
    {"IPW2", {"GM.LS1.INJPW2", 2, "INJPW2", "Low", "OK", "High", 0, 4, 0, 4, 0.01526f, 0}},
    {"KR", {"GM.LS1.KNOCK", 1, "KNOCK", "Low", "OK", "High", 0, 10, 0, 10, 0.08795f, 0}},
    {"LFT1", {"SAE.LONG TERM FT 1", 1, "LTFT1", "Low", "OK", "High", -20, 20, -10, 10, 0.7813f, -100}},
    {"LFT2", {"SAE.LONG TERM FT 2", 1, "LTFT B2", "Low", "OK", "High", -20, 20, -10, 10, 0.7813f, -100}},
    {"LD", {"SAE.CALC LOAD", 1, "LOAD", "Low", "OK", "High", 0, 100, 0, 100, 0.3922f, 0}},
    {"MAF", {"SAE.MAF", 2, "MAF", "Low", "OK", "High", 0, 70, 0, 70, 0.00132f, 0}},
    {"MAFF", {"GM.LS1.MAF RAW", 2, "MAF", "Low", "OK", "High", 0, 10000, 0, 10000, 0.4883f, 0}},
    {"MAP", {"SAE.MAP", 1, "MAP", "Low", "OK", "High", 0, 18, 3, 14.7f, 0.2952229f, 0}},
    {"MPH", {"SAE.VSS", 1, "VSS", "Low", "OK", "High", 0, 180, 0, 180, 0.6214f, 0}},
    {"O2L", {"GM.LS1.O2S 11", 1, "HO2 B1S1", "Low", "OK", "High", 0, 1000, 0, 1000, 4.3403f, 0}},
    {"O2R", {"GM.LS1.O2S 21", 1, "HO2 B2S1", "Low", "OK", "High", 0, 1000, 0, 1000, 4.3403f, 0}},
    {"RPM", {"SAE.RPM", 2, "RPM", "Low", "OK", "High", 0, 7000, 400, 6500, 0.25f, 0}},
    {"SFT1", {"SAE.SHORT TERM FT 1", 1, "STFT B1", "Low", "OK", "High", -20, 20, -10, 10, 0.7813f, -100}},
    {"SFT2", {"SAE.SHORT TERM FT 2", 1, "STFT B2", "Low", "OK", "High", -20, 20, -10, 10, 0.7813f, -100}},
    {"TFT", {"GM.LS1.TFT", 1, "TFT", "Low", "OK", "High", 32, 280, 32, 280, 1.8f, -40}},
    {"TPS", {"SAE.TP", 1, "TP", "Low", "OK", "High", 0, 100, 0, 100, 0.3922f, 0}},
    {"TPSV", {"GM.LS1.TPS", 1, "TPS", "Low", "OK", "High", 0, 5, 0, 5, 0.01961f, 0}},
}};

constexpr EfiParamInfo Unknown = {"UNKNOWN", 2, "UNKNOWN", "Low", "OK", "High", 0, 1000, 0, 1000, 1, 0};
// clang-format on

} // namespace

const EfiParamInfo &getEfiParamInfo(std::string_view code)
{
    const auto it = std::find_if(EfiRows.begin(), EfiRows.end(),
                                 [code](const EfiRow &row) { return row.code == code; });
    return it != EfiRows.end() ? it->info : Unknown;
}

} // namespace vexa
