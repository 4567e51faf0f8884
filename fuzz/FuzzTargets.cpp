#include "FuzzTargets.h"

#include "catalogue/EfiLogWriter.h"
#include "core/RuntimeError.h"
#include "core/UnattendedHost.h"
#include "datalog/MlgLogWriter.h"
#include "datalog/MslLogWriter.h"
#include "export/LogFile.h"
#include "export/OutputFormat.h"
#include "export/TextLogWriter.h"
#include "format/OleDate.h"
#include "format/ScanRecord.h"
#include "store/LogSearch.h"
#include "store/MemoryDatabase.h"

#include <QBuffer>

#include <cstring>

namespace vexa::fuzz {

namespace {

template <typename F> void reported(F &&run)
{
    try {
        run();
    } catch (const RuntimeError &) {
    } catch (const vexasync::Error &) {
    }
}

vexasync::Record recordOf(std::span<const std::uint8_t> input)
{
    return {1, 0, 0, 0, {input.begin(), input.end()}};
}

void describe(Workbench &bench, const LogIndexEntry &entry, LogKind kind)
{
    (void)listLine(entry, bench.dates);
    (void)logDescription(entry, kind, bench.dates);
    for (const OutputFormat &format : outputFormats())
        (void)multiLogFileName(QStringLiteral("/out/"), kind, entry, format.extension());
}

template <LogKind Kind> void indexRecord(Workbench &bench, std::span<const std::uint8_t> input)
{
    reported([&] {
        const LogIndexEntry entry = readIndexEntry(*bench.bytes, recordOf(input), Kind);
        describe(bench, entry, Kind);
    });
}

void scanRecord(Workbench &bench, std::span<const std::uint8_t> input)
{
    reported([&] {
        const ScanRecord scan = decodeScanRecord(*bench.bytes, input, 1);
        (void)scanMilliseconds(scan.scanTime);
    });
}

void dateValue(Workbench &bench, std::span<const std::uint8_t> input)
{
    std::int16_t fields[6] = {};
    double raw[2] = {};
    std::memcpy(fields, input.data(), std::min(input.size(), sizeof fields));
    if (input.size() > sizeof fields)
        std::memcpy(raw, input.data() + sizeof fields,
                    std::min(input.size() - sizeof fields, sizeof raw));
    reported([&] {
        const double date = oledate::fromDate(fields[0], fields[1], fields[2]);
        const double time = oledate::fromTime(fields[3], fields[4], fields[5]);
        (void)bench.dates.dateTime(date, time);
    });
    // Values no record makes, NaN and infinities among them.
    reported([&] {
        (void)oledate::toDate(raw[0]);
        (void)oledate::toTime(raw[1]);
        (void)oledate::toMilliseconds(raw[0]);
        (void)bench.dates.dateTime(raw[0], raw[1]);
    });
}

void wholeSave(Workbench &bench, std::span<const std::uint8_t> input)
{
    if (input.size() < 3)
        return;
    const LogKind kind = logKindOfTab(input[0] % 4);
    const std::size_t indexSize =
        std::min<std::size_t>(input.size() - 3, static_cast<std::size_t>(input[1] << 8 | input[2]));
    const auto index = input.subspan(3, indexSize);
    std::vector<std::vector<std::uint8_t>> scans;
    for (auto rest = input.subspan(3 + indexSize); !rest.empty();) {
        const std::size_t n = std::min(rest.size(), ScanRecordSize);
        scans.emplace_back(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(n));
        rest = rest.subspan(n);
    }
    reported([&] {
        const LogIndexEntry entry = readIndexEntry(*bench.bytes, recordOf(index), kind);
        MemoryDatabase data(ScanDatabase, std::move(scans));
        UnattendedHost host; // nobody presses Cancel; questions are answered No
        ExportContext context{&data, *bench.bytes, host, host, bench.dates};
        const auto into = [&](auto &&write) {
            QBuffer out;
            out.open(QIODevice::WriteOnly);
            reported([&] { write(out); });
        };
        if (kind != LogKind::Rirod) {
            into([&](QIODevice &out) { writeReportText(out, entry, bench.dates); });
            return;
        }
        for (const TextFormat format : {TextFormat::Csv, TextFormat::Txt})
            into([&](QIODevice &out) { writeScanText(out, entry, format, context); });
        into([&](QIODevice &out) { writeEfiLog(out, entry, context); });
        into([&](QIODevice &out) { writeMslLog(out, entry, context); });
        into([&](QIODevice &out) { writeMlgLog(out, entry, context); });
    });
}

const Target Targets[] = {
    {"index-rirod", indexRecord<LogKind::Rirod>},
    {"index-ltrim", indexRecord<LogKind::LTrim>},
    {"index-accel", indexRecord<LogKind::AccelTest>},
    {"index-tcode", indexRecord<LogKind::TroubleCode>},
    {"scan-record", scanRecord},
    {"date", dateValue},
    {"whole-save", wholeSave},
};

} // namespace

Workbench::Workbench(const QString &componentFolder)
    : sync(componentFolder), bytes(sync.createByteUtility())
{}

std::span<const Target> targets()
{
    return Targets;
}

const Target *findTarget(const char *name)
{
    for (const Target &t : Targets)
        if (std::strcmp(t.name, name) == 0)
            return &t;
    return nullptr;
}

QByteArray wholeSaveInput(int tab, const std::vector<std::uint8_t> &indexRecord,
                          const std::vector<std::vector<std::uint8_t>> &scans)
{
    QByteArray input;
    input.append(static_cast<char>(tab));
    input.append(static_cast<char>(indexRecord.size() >> 8 & 0xFF));
    input.append(static_cast<char>(indexRecord.size() & 0xFF));
    input.append(reinterpret_cast<const char *>(indexRecord.data()),
                 static_cast<qsizetype>(indexRecord.size()));
    for (const auto &scan : scans)
        input.append(reinterpret_cast<const char *>(scan.data()),
                     static_cast<qsizetype>(scan.size()));
    return input;
}

} // namespace vexa::fuzz
