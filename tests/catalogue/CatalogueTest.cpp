// The parameter catalogue, row by row, against the tables as the logger's
// documentation gives them (typed in here, not taken from the code).
#include "catalogue/EfiParamInfo.h"
#include "format/ParamCatalogue.h"

#include <gtest/gtest.h>

namespace vexa {
namespace {

struct Row {
    int number = 0;
    const char *code = "", *units = "", *description = "";
    const char *efiPid = nullptr; // nullptr: the UNKNOWN row
    const char *efiShortName = nullptr;
    int efiSize = 0;
    float min = 0, max = 0, low = 0, high = 0, scale = 0, offset = 0;
};

// clang-format off
const Row Rows[] = {
    {1, "CLSD", "LOOP", "Closed loop status (1=closed)", nullptr},
    {2, "ECT", "DEGF", "Engine coolant temp", "SAE.ECT", "ECT", 1, 32, 280, 32, 212, 1.8f, -40},
    {3, "IAT", "DEGF", "Intake air temp", "SAE.IAT", "IAT", 1, 32, 280, 41, 230, 1.8f, -40},
    {4, "IGN", "DEG", "Ignition timing", "SAE.SPARK ADV", "ADV", 1, -10, 40, -10, 40, 0.5f, -64},
    {5, "LD", "PCT", "Engine load", "SAE.CALC LOAD", "LOAD", 1, 0, 100, 0, 100, 0.3922f, 0},
    {6, "LFT1", "PCT", "Long-term fuel trim - dr's side", "SAE.LONG TERM FT 1", "LTFT1", 1, -20, 20, -10, 10, 0.7813f, -100},
    {7, "LFT2", "PCT", "Long-term fuel trim - pass side", "SAE.LONG TERM FT 2", "LTFT B2", 1, -20, 20, -10, 10, 0.7813f, -100},
    {8, "MAF", "LB/MN", "Mass air flow", "SAE.MAF", "MAF", 2, 0, 70, 0, 70, 0.00132f, 0},
    {9, "MAP", "inHg", "Manifold air pressure", "SAE.MAP", "MAP", 1, 0, 18, 3, 14.7f, 0.2952229f, 0},
    {10, "MPH", "MPH", "Vehicle speed", "SAE.VSS", "VSS", 1, 0, 180, 0, 180, 0.6214f, 0},
    {11, "O2L", "mV", "O2 sensor - driver's side", "GM.LS1.O2S 11", "HO2 B1S1", 1, 0, 1000, 0, 1000, 4.3403f, 0},
    {12, "O2LR", "mV", "O2 sensor - driver's side rear", nullptr},
    {13, "O2R", "mV", "O2 sensor - passenger side", "GM.LS1.O2S 21", "HO2 B2S1", 1, 0, 1000, 0, 1000, 4.3403f, 0},
    {14, "O2RR", "mV", "O2 sensor - passenger side rear", nullptr},
    {15, "RPM", "RPM", "Engine speed", "SAE.RPM", "RPM", 2, 0, 7000, 400, 6500, 0.25f, 0},
    {16, "SFT1", "PCT", "Short-term fuel trim - dr's side", "SAE.SHORT TERM FT 1", "STFT B1", 1, -20, 20, -10, 10, 0.7813f, -100},
    {17, "SFT2", "PCT", "Short-term fuel trim - pass side", "SAE.SHORT TERM FT 2", "STFT B2", 1, -20, 20, -10, 10, 0.7813f, -100},
    {18, "TPS", "PCT", "Throttle position sensor", "SAE.TP", "TP", 1, 0, 100, 0, 100, 0.3922f, 0},
    {101, "B", "PSI", "Boost", nullptr},
    {102, "BARO", "inHg", "Barometric pressure", nullptr},
    {103, "FTC", "CELL", "Fuel trim cell number", "GM.LS1.LONG TERM FT CELL", "BLMCELL", 1, 0, 22, 0, 22, 1, 0},
    {104, "IAC", "CNTS", "Idle air controller counts", "GM.LS1.IAC", "IAC", 2, 0, 512, 0, 256, 1, 0},
    {105, "IDC1", "PCT", "Injector duty cycle - dr's side", nullptr},
    {106, "IDC2", "PCT", "Injector duty cycle - pass side", nullptr},
    {107, "IGNV", "V", "Ignition voltage", "GM.LS1.IGN VOLT", "IGNV", 1, 0, 25.5f, 0, 25.5f, 0.1f, 0},
    {108, "IPW1", "mS", "Injector pulse width - dr's side", "GM.LS1.INJPW1", "INJPW1", 2, 0, 4, 0, 4, 0.01526f, 0},
    {109, "IPW2", "mS", "Injector pulse width - pass side", "GM.LS1.INJPW2", "INJPW2", 2, 0, 4, 0, 4, 0.01526f, 0},
    {110, "KC", "----", "----", nullptr},
    {111, "KR", "DEG", "Knock retard", "GM.LS1.KNOCK", "KNOCK", 1, 0, 10, 0, 10, 0.08795f, 0},
    {112, "MAFF", "Hz", "Mass air flow sensor frequency", "GM.LS1.MAF RAW", "MAF", 2, 0, 10000, 0, 10000, 0.4883f, 0},
    {113, "MISP", "CYL", "Misfire - primary cyl number", nullptr},
    {114, "MISR", "REVS", "Misfire - revs with misfire", nullptr},
    {115, "TFT", "Hz", "Transmission fluid temp", "GM.LS1.TFT", "TFT", 1, 32, 280, 32, 280, 1.8f, -40},
    {116, "TPSV", "V", "Throttle position sensor volts", "GM.LS1.TPS", "TPS", 1, 0, 5, 0, 5, 0.01961f, 0},
};
// clang-format on

void expectEfi(const EfiParamInfo &info, const Row &row, const std::string &where)
{
    const Row unknown = {0, "", "", "", "UNKNOWN", "UNKNOWN", 2, 0, 1000, 0, 1000, 1, 0};
    const Row &e = row.efiPid ? row : unknown;
    EXPECT_EQ(info.pid, e.efiPid) << where;
    EXPECT_EQ(info.shortName, e.efiShortName) << where;
    EXPECT_EQ(info.size, e.efiSize) << where;
    EXPECT_EQ(info.minValue, e.min) << where;
    EXPECT_EQ(info.maxValue, e.max) << where;
    EXPECT_EQ(info.lowLimit, e.low) << where;
    EXPECT_EQ(info.highLimit, e.high) << where;
    EXPECT_EQ(info.scale, e.scale) << where;
    EXPECT_EQ(info.offset, e.offset) << where;
}

TEST(Catalogue, EveryRowHasItsCodeUnitDescriptionAndEfiDescription)
{
    static_assert(std::size(Rows) == 34);
    for (const Row &row : Rows) {
        const std::string where = row.code;
        EXPECT_EQ(paramNumberToCode(row.number), row.code) << row.number;
        EXPECT_EQ(paramCodeToUnits(row.code), row.units) << where;
        EXPECT_EQ(paramCodeToDescription(row.code), row.description) << where;
        expectEfi(getEfiParamInfo(row.code), row, where);
    }
}

TEST(Catalogue, NumbersAndCodesOutsideTheTableFallBack)
{
    EXPECT_EQ(paramNumberToCode(0), "----");
    for (const int number : {19, 100, 117, -1, 255, 32767, -32768})
        EXPECT_EQ(paramNumberToCode(number), "????") << number;
    for (const char *code : {"----", "????", "rpm", "", "RPM ", "XYZ"}) {
        EXPECT_EQ(paramCodeToUnits(code), "----") << code;
        EXPECT_EQ(paramCodeToDescription(code), "----") << code;
        expectEfi(getEfiParamInfo(code), Row{}, code);
    }
}

} // namespace
} // namespace vexa
