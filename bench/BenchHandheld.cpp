#include "BenchHandheld.h"

#include "LoggerRecords.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vexa::bench {

namespace {

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
    // The window pulls into the logbook of the data folder: not the user's.
    qputenv("XDG_DATA_HOME", (m_root.path() + "/data").toUtf8());
    auto desktop = component().createDesktop();
    desktop->dock(desktop->addUser("Bench").id);
}

double median(std::vector<double> timings)
{
    std::sort(timings.begin(), timings.end());
    return timings[timings.size() / 2];
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

void BenchHandheld::rewrite(const std::string &database, const std::vector<Bytes> &records) const
{
    auto db = open(database);
    const std::vector<vexasync::RecordId> ids =
        db->idsOfRange(0, static_cast<std::int32_t>(records.size()));
    db->beginGroup();
    for (std::size_t i = 0; i < ids.size(); ++i)
        db->write(ids[i], 0, 0, records[i]);
    db->commitGroup();
}

Bytes scanRecord(int k)
{
    logger::Channels channels;
    for (int c = 0; c < 10; ++c)
        channels[c].value = static_cast<float>(1000.0 + 900.0 * std::sin(k * 0.01 + c) + c * 0.37);
    return logger::scanRecord(static_cast<std::int16_t>(12 + k % 7), channels,
                              static_cast<std::int16_t>(k & 0x7FFF));
}

Bytes gapScanRecord(int k)
{
    const auto status = static_cast<std::int16_t>(k % 2 == 0 ? k / 2 + 1 : -(k / 2 + 1));
    logger::Channels channels;
    for (logger::Channel &c : channels)
        c = {status, 0};
    return logger::scanRecord(12, channels, static_cast<std::int16_t>(k & 0x7FFF));
}

Bytes rirodIndexRecord(int scanCount, int firstScan)
{
    // RPM, IAC, MAF, MAFF, IPW1, IPW2, ECT, MAP, TPS, O2L: mixed sizes and precisions.
    return logger::rirodIndexRecord({2004, 3, 7, 14, 0, 0}, scanCount, firstScan,
                                    {15, 104, 8, 112, 108, 109, 2, 9, 18, 11}, "Bench log");
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
