#include "ParamCatalogue.h"

#include <algorithm>
#include <array>

namespace vexa {

namespace {

// Numbers 1-18 and 101-116; within each range the codes are alphabetical.
constexpr std::array<ParamRow, 34> Params = {{
    {1, "CLSD", "LOOP", "Closed loop status (1=closed)", OpenClosed},
    {2, "ECT", "DEGF", "Engine coolant temp", 1},
    {3, "IAT", "DEGF", "Intake air temp", 1},
    {4, "IGN", "DEG", "Ignition timing", 1},
    {5, "LD", "PCT", "Engine load", 1},
    {6, "LFT1", "PCT", "Long-term fuel trim - dr's side", 1},
    {7, "LFT2", "PCT", "Long-term fuel trim - pass side", 1},
    {8, "MAF", "LB/MN", "Mass air flow", 2},
    {9, "MAP", "inHg", "Manifold air pressure", 2},
    {10, "MPH", "MPH", "Vehicle speed", 1},
    {11, "O2L", "mV", "O2 sensor - driver's side", 0},
    {12, "O2LR", "mV", "O2 sensor - driver's side rear", 0},
    {13, "O2R", "mV", "O2 sensor - passenger side", 0},
    {14, "O2RR", "mV", "O2 sensor - passenger side rear", 0},
    {15, "RPM", "RPM", "Engine speed", 0},
    {16, "SFT1", "PCT", "Short-term fuel trim - dr's side", 1},
    {17, "SFT2", "PCT", "Short-term fuel trim - pass side", 1},
    {18, "TPS", "PCT", "Throttle position sensor", 1},
    {101, "B", "PSI", "Boost", 2},
    {102, "BARO", "inHg", "Barometric pressure", 2},
    {103, "FTC", "CELL", "Fuel trim cell number", 0},
    {104, "IAC", "CNTS", "Idle air controller counts", 0},
    {105, "IDC1", "PCT", "Injector duty cycle - dr's side", 1},
    {106, "IDC2", "PCT", "Injector duty cycle - pass side", 1},
    {107, "IGNV", "V", "Ignition voltage", 2},
    {108, "IPW1", "mS", "Injector pulse width - dr's side", 2},
    {109, "IPW2", "mS", "Injector pulse width - pass side", 2},
    {110, "KC", "----", "----", 0},
    {111, "KR", "DEG", "Knock retard", 2},
    {112, "MAFF", "Hz", "Mass air flow sensor frequency", 0},
    {113, "MISP", "CYL", "Misfire - primary cyl number", 0},
    {114, "MISR", "REVS", "Misfire - revs with misfire", 0},
    {115, "TFT", "Hz", "Transmission fluid temp", 1},
    {116, "TPSV", "V", "Throttle position sensor volts", 2},
}};

} // namespace

std::string_view paramNumberToCode(int number)
{
    if (number == 0)
        return EmptySlotCode;
    const auto it = std::find_if(Params.begin(), Params.end(),
                                 [number](const ParamRow &row) { return row.number == number; });
    return it != Params.end() ? it->code : UnknownParamCode;
}

const ParamRow *findParam(std::string_view code)
{
    const auto it = std::find_if(Params.begin(), Params.end(),
                                 [code](const ParamRow &row) { return row.code == code; });
    return it != Params.end() ? &*it : nullptr;
}

std::string_view paramCodeToUnits(std::string_view code)
{
    const ParamRow *row = findParam(code);
    return row ? row->units : EmptySlotCode;
}

std::string_view paramCodeToDescription(std::string_view code)
{
    const ParamRow *row = findParam(code);
    return row ? row->description : EmptySlotCode;
}

} // namespace vexa
