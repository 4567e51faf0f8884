#include "BenchHandheld.h"

#include <bit>
#include <cmath>
#include <stdexcept>

namespace vexa::bench {

namespace {

void put16(Bytes &b, std::size_t at, int value)
{
    b[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    b[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

vexasync::Component &component()
{
    return *vexasync_component(vexasync::ApiVersion);
}

} // namespace

BenchHandheld::BenchHandheld()
{
    if (!m_root.isValid())
        throw std::runtime_error("no temporary folder");
    qputenv(vexasync::RootVariable, m_root.path().toUtf8());
    auto desktop = component().createDesktop();
    desktop->dock(desktop->addUser("Bench").id);
}

std::shared_ptr<vexasync::RecordAdapter> openDocked(const std::string &database)
{
    return component().createDatabaseOpener()->open(database, vexasync::RecordAdapterClass,
                                                    vexasync::mode::ReadWriteDelete);
}

std::shared_ptr<vexasync::RecordAdapter> BenchHandheld::open(const std::string &database) const
{
    return openDocked(database);
}

void BenchHandheld::fill(const std::string &database, const std::vector<Bytes> &records) const
{
    component().createDesktop()->createDatabase(database);
    auto db = open(database);
    db->beginGroup();
    for (const Bytes &r : records)
        db->write(0, 0, 0, r);
    db->commitGroup();
}

Bytes scanRecord(int k)
{
    Bytes b(64, 0);
    put16(b, 0, k & 0x7FFF);
    put16(b, 2, 12 + k % 7);
    for (int c = 0; c < 10; ++c) {
        const float value = static_cast<float>(1000.0 + 900.0 * std::sin(k * 0.01 + c) + c * 0.37);
        const auto bits = std::bit_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            b[6 + 6 * c + i] = static_cast<std::uint8_t>(bits >> (24 - 8 * i));
    }
    return b;
}

Bytes rirodIndexRecord(int scanCount, int firstScan)
{
    // RPM, IAC, MAF, MAFF, IPW1, IPW2, ECT, MAP, TPS, O2L: mixed sizes and precisions.
    const std::uint8_t params[10] = {15, 104, 8, 112, 108, 109, 2, 9, 18, 11};
    Bytes b(39, 0);
    put16(b, 4, 14);
    put16(b, 6, 7);
    put16(b, 8, 3);
    put16(b, 10, 2004);
    put16(b, 14, scanCount);
    put16(b, 16, firstScan);
    for (int k = 0; k < 10; ++k)
        b[18 + 2 * k] = params[k];
    for (const char c : std::string("Bench log"))
        b.push_back(static_cast<std::uint8_t>(c));
    b.push_back(0);
    return b;
}

void fillRirodLogs(const BenchHandheld &handheld, int logs, int scansEach)
{
    std::vector<Bytes> scans, index;
    for (int log = 0; log < logs; ++log) {
        index.push_back(rirodIndexRecord(scansEach, log * scansEach + 1));
        for (int k = 0; k < scansEach; ++k)
            scans.push_back(scanRecord(log * scansEach + k));
    }
    handheld.fill("RirodData", scans);
    handheld.fill("RirodIndex", index);
}

} // namespace vexa::bench
