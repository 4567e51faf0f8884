#include "DemoHandheld.h"
#include "LoggerRecords.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace demo {

namespace {

using logger::Bytes;
using logger::Stamp;

// Repeatable noise, so that every demo handheld is the same.
class Noise {
public:
    double next() // -1 .. 1
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<double>(m_state % 20001) / 10000.0 - 1.0;
    }

private:
    std::uint64_t m_state = 0x9E3779B97F4A7C15ull;
};

// Catalogue numbers of the parameters the demo logs record.
enum Param : std::uint8_t {
    CLSD = 1,
    ECT = 2,
    IAT = 3,
    IGN = 4,
    LD = 5,
    LFT1 = 6,
    LFT2 = 7,
    MAF = 8,
    MAP = 9,
    MPH = 10,
    O2L = 11,
    O2R = 13,
    RPM = 15,
    SFT1 = 16,
    SFT2 = 17,
    TPS = 18,
    IAC = 104,
    IPW1 = 108,
    KR = 111,
};

// What the engine does at one moment of a drive, 0 <= t <= 1.
struct Engine {
    double rpm, throttle, speed, coolant;
};

using Profile = Engine (*)(double t);

Engine coldStart(double t)
{
    return {1350 - 600 * t, 0, 0, 55 + 120 * t};
}
Engine cruise(double t)
{
    return {1850 + 120 * std::sin(t * 40), 14 + 3 * std::sin(t * 23), 65 + 3 * std::sin(t * 17),
            196};
}
Engine wotPull(double t)
{
    return {2600 + 3600 * t, t < 0.97 ? 100.0 : 5.0, 38 + 42 * t, 201};
}
Engine cityTraffic(double t)
{
    const double phase = std::fmod(t * 9, 1.0);
    const bool moving = phase > 0.35;
    return {moving ? 1500 + 1400 * std::sin(phase * 3.1) : 760,
            moving ? 25 * std::sin(phase * 3.1) : 0,
            moving ? 38 * std::sin((phase - 0.35) * 4.8) : 0, 192 + 6 * t};
}
Engine tripHome(double t)
{
    return t < 0.5 ? cruise(t * 2) : cityTraffic(t * 2 - 1);
}

struct RirodLog {
    Stamp start;
    std::string text;
    int scans;
    Profile profile;
    std::array<std::uint8_t, 10> params; // 0 marks an empty slot
};

float channelValue(std::uint8_t param, const Engine &e, Noise &noise)
{
    const double n = noise.next();
    const double load = std::clamp(e.throttle * 0.8 + e.rpm / 120.0, 8.0, 100.0);
    switch (param) {
    case CLSD:
        return e.throttle > 90 || e.coolant < 150 ? 0.0f : 1.0f;
    case ECT:
        return static_cast<float>(e.coolant + 0.4 * n);
    case IAT:
        return static_cast<float>(88 + 6 * n);
    case IGN:
        return static_cast<float>(e.throttle > 90 ? 24 + 2 * n : 14 + e.rpm / 300 + n);
    case LD:
        return static_cast<float>(load);
    case LFT1:
        return static_cast<float>(2.3 + 0.4 * n);
    case LFT2:
        return static_cast<float>(-0.8 + 0.4 * n);
    case MAF:
        return static_cast<float>(e.rpm * load / 9000.0 + 0.05 * n);
    case MAP:
        return static_cast<float>(8.5 + e.throttle * 0.2 + 0.3 * n);
    case MPH:
        return static_cast<float>(std::max(0.0, e.speed + 0.5 * n));
    case O2L:
    case O2R:
        return static_cast<float>(450 + 400 * n);
    case RPM:
        return static_cast<float>(e.rpm + 25 * n);
    case SFT1:
    case SFT2:
        return static_cast<float>(3 * n);
    case TPS:
        return static_cast<float>(std::max(0.0, e.throttle + 0.4 * n));
    case IAC:
        return static_cast<float>(e.throttle < 1 ? 38 + 6 * n : 60);
    case IPW1:
        return static_cast<float>(2.1 + load / 40 + 0.1 * n);
    case KR:
        return static_cast<float>(e.throttle > 90 && n > 0.8 ? 2.1 : 0.0);
    default:
        return 0.0f;
    }
}

Bytes scanRecord(const RirodLog &log, int k, Noise &noise)
{
    const Engine e = log.profile(log.scans > 1 ? double(k) / (log.scans - 1) : 0.0);
    const auto scanTime =
        static_cast<std::int16_t>(12 + std::lround(3 * (noise.next() + 1))); // 120-180 ms
    logger::Channels channels;
    for (int c = 0; c < 10; ++c) {
        const std::uint8_t param = log.params[c];
        if (param != 0 && noise.next() > 0.9995)
            channels[c].status = 103; // the odd time-out on the data link
        channels[c].value = param ? channelValue(param, e, noise) : 0.0f;
    }
    return logger::scanRecord(scanTime, channels, static_cast<std::int16_t>(k & 0x7FFF));
}

const std::vector<RirodLog> &rirodLogs()
{
    static const std::vector<RirodLog> logs = {
        {{2004, 3, 14, 7, 42, 15},
         "Cold start, idle to operating temp",
         600,
         coldStart,
         {RPM, ECT, IAT, IAC, O2L, O2R, SFT1, LFT1, CLSD, 0}},
        {{2004, 3, 14, 14, 5, 9},
         "Run 1\r\nHighway cruise, 5th gear",
         2400,
         cruise,
         {RPM, MPH, MAP, TPS, LD, SFT1, SFT2, LFT1, LFT2, ECT}},
        {{2004, 3, 20, 16, 31, 44},
         "WOT pull 3rd gear\r\n93 octane, 72F ambient",
         400,
         wotPull,
         {RPM, TPS, MAP, MAF, IGN, KR, O2L, O2R, IPW1, MPH}},
        {{2004, 4, 2, 8, 12, 3},
         "City traffic",
         1500,
         cityTraffic,
         {RPM, MPH, TPS, 0, ECT, 0, IAC, 0, 0, 0}},
        {{2004, 4, 2, 23, 55, 30},
         "Trip home across midnight",
         3000,
         tripHome,
         {RPM, MPH, ECT, IAT, MAP, TPS, SFT1, LFT1, O2L, KR}},
    };
    return logs;
}

struct TextLog {
    Stamp start;
    std::string text;
};

const std::vector<TextLog> ltrims = {
    {{2004, 3, 14, 14, 40, 2},
     "LTrim cells after highway run\r\nCell 0: +2.3%  Cell 1: +1.6%\r\nCell 2: -0.8%  Cell 3: "
     "+0.0%"},
    {{2004, 4, 2, 8, 40, 51},
     "LTrim cells, city\r\nCell 0: +3.1%  Cell 1: +2.4%\r\nCell 2: +0.8%  Cell 3: -0.3%"},
};
const std::vector<TextLog> accelTests = {
    {{2004, 3, 20, 16, 45, 10}, "0-60 mph: 5.42 s\r\n1/4 mile: 13.81 s @ 104.2 mph"},
    {{2004, 3, 20, 16, 58, 37}, "0-60 mph: 5.37 s\r\n1/4 mile: 13.74 s @ 104.9 mph"},
    {{2004, 3, 27, 11, 3, 0}, "0-60 mph: 5.61 s (wet track)"},
};
const std::vector<TextLog> troubleCodes = {
    {{2004, 4, 2, 8, 15, 27}, "P0171 System too lean (Bank 1)\r\nP0174 System too lean (Bank 2)"},
};

std::shared_ptr<vexasync::RecordAdapter>
database(vexasync::Component &component, vexasync::Desktop &desktop, const std::string &name)
{
    desktop.createDatabase(name);
    return component.createDatabaseOpener()->open(name, vexasync::RecordAdapterClass,
                                                  vexasync::mode::ReadWriteDelete);
}

void addTextLogs(vexasync::RecordAdapter &db, const std::vector<TextLog> &logs)
{
    for (const TextLog &log : logs)
        db.write(0, 0, 0, logger::textLogRecord(log.start, log.text));
}

} // namespace

Summary fill(vexasync::Component &component)
{
    auto desktop = component.createDesktop();
    auto index = database(component, *desktop, "RirodIndex");
    auto data = database(component, *desktop, "RirodData");
    auto ltrim = database(component, *desktop, "LTrimLog");
    auto accel = database(component, *desktop, "AccelTestLog");
    auto codes = database(component, *desktop, "TCodeLog");

    Summary summary;
    index->beginGroup(); // the old demo logs stay until the new ones are complete
    try {
        for (auto *db : {index.get(), data.get(), ltrim.get(), accel.get(), codes.get()})
            db->removeAll(0, 255);
        Noise noise;
        int firstScan = 1;
        for (const RirodLog &log : rirodLogs()) {
            for (int k = 0; k < log.scans; ++k)
                data->write(0, 0, 0, scanRecord(log, k, noise));
            index->write(
                0, 0, 0,
                logger::rirodIndexRecord(log.start, log.scans, firstScan, log.params, log.text));
            firstScan += log.scans;
            ++summary.rirodLogs;
            summary.scanRecords += log.scans;
        }
        addTextLogs(*ltrim, ltrims);
        addTextLogs(*accel, accelTests);
        addTextLogs(*codes, troubleCodes);
        summary.textLogs = int(ltrims.size() + accelTests.size() + troubleCodes.size());
        index->commitGroup();
    } catch (...) {
        index->rollbackGroup();
        throw;
    }
    return summary;
}

} // namespace demo
