#include "EfiLogWriter.h"

#include "EfiParamInfo.h"
#include "core/RuntimeError.h"
#include "export/LogFile.h"
#include "export/OutputFormat.h"
#include "format/ParamCatalogue.h"
#include "format/ScanClock.h"
#include "format/ScanRecord.h"

#include <bit>
#include <cmath>
#include <limits>
#include <vector>

namespace vexa {

namespace {

struct EfiChannel {
    int slot;
    std::string_view code;
    const EfiParamInfo *info;
};

class EfiFile {
public:
    explicit EfiFile(QIODevice &out) : m_sink(out) {}

    void text(std::string_view value, std::size_t width)
    {
        std::vector<std::uint8_t> field(width);
        clearBytes(field);
        stringToBytes(field, value);
        bytes(field);
    }
    void zeros(std::size_t count, std::uint8_t value = 0)
    {
        bytes(std::vector<std::uint8_t>(count, value));
    }
    void byte(int value) { bytes(std::vector<std::uint8_t>{static_cast<std::uint8_t>(value)}); }
    void int32(std::int32_t value)
    {
        std::uint8_t le[4];
        longToByteArray(value, le, true);
        bytes(le);
    }
    void single(float value) { int32(std::bit_cast<std::int32_t>(value)); }
    void bytes(std::span<const std::uint8_t> data)
    {
        m_sink.write(reinterpret_cast<const char *>(data.data()), qsizetype(data.size()));
    }

private:
    OutputSink m_sink;
};

// raw = (value - offset) / scale in double, rounded half to even.
std::int32_t rawSample(float value, const EfiParamInfo &info, int scan, const EfiChannel &channel)
{
    const double raw = std::nearbyint((double{value} - info.offset) / info.scale);
    if (!std::isfinite(raw) || raw < std::numeric_limits<std::int32_t>::min() ||
        raw > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(
            ErrorNumber::Overflow,
            QStringLiteral("Overflow: scan %1, channel %2 (%3) holds %4, which an "
                           "EFILive sample can't carry")
                .arg(scan)
                .arg(channel.slot + 1)
                .arg(QLatin1String(channel.code.data(), qsizetype(channel.code.size())))
                .arg(double{value}));
    return static_cast<std::int32_t>(raw);
}

} // namespace

void longToByteArray(std::int32_t value, std::span<std::uint8_t> buffer, bool littleEndian)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t k = 0; k < buffer.size(); ++k) {
        const auto b = k < 4 ? static_cast<std::uint8_t>(bits >> (8 * k)) : std::uint8_t{0};
        buffer[littleEndian ? k : buffer.size() - 1 - k] = b;
    }
}

ScanRun writeEfiLog(QIODevice &out, const LogIndexEntry &entry, ExportContext &context)
{
    std::vector<EfiChannel> channels;
    for (int slot = 0; slot < ChannelSlots; ++slot) {
        const std::string_view code = paramNumberToCode(entry.paramCodes[slot]);
        if (code != EmptySlotCode)
            channels.push_back({slot, code, &getEfiParamInfo(code)});
    }
    const int n = static_cast<int>(channels.size());

    EfiFile file(out);
    file.text("5.7", 8);
    file.zeros(8);
    file.text("Scantype=VEXA", 1000);
    file.bytes(std::vector<std::uint8_t>{0xEF, 0x10, 0x11, 0xAE});
    file.int32(n);
    int sampleBytes = 0; // D
    for (const EfiChannel &ch : channels) {
        const EfiParamInfo &info = *ch.info;
        file.text(info.pid, 36);
        file.byte(sampleBytes);
        file.byte(0);
        file.byte(info.size * 8);
        file.text(info.shortName, 32);
        file.text(info.lowLabel, 16);
        file.text(info.okLabel, 16);
        file.text(info.highLabel, 16);
        for (const float f :
             {info.minValue, info.maxValue, info.lowLimit, info.highLimit, info.scale, info.offset})
            file.single(f);
        file.byte(0);
        sampleBytes += info.size;
    }
    file.int32(sampleBytes);
    file.int32(entry.scanCount);
    file.byte(0);
    file.zeros(122, 0xFF);

    ScanClock clock(entry.logTime);
    std::vector<std::uint8_t> record(static_cast<std::size_t>(sampleBytes) + 8);
    int complete = 0; // scan records wholly written
    ScanRun run;
    try {
        run = forEachScan(entry, context, [&](const ScanRecord &scan, int k) {
            std::size_t at = 0;
            for (const EfiChannel &ch : channels) {
                const float value =
                    scan.channelStatus[ch.slot] == 0 ? scan.channelValue[ch.slot] : 0.0f;
                const auto size = static_cast<std::size_t>(ch.info->size);
                longToByteArray(rawSample(value, *ch.info, k, ch),
                                std::span(record).subspan(at, size), false);
                at += size;
            }
            const std::int32_t runningMs = clock.runningMs(scan.scanTime);
            clearBytes(std::span(record).subspan(at, 4));
            longToByteArray(runningMs, std::span(record).subspan(at + 4, 4), true);
            file.bytes(record);
            ++complete;
            clock.advance(scan.scanTime);
        });
    } catch (...) {
        // Whatever failed, the records written so far stay readable.
        try {
            if (out.seek(efiScanCountOffset(n)))
                file.int32(complete);
        } catch (...) {
        }
        throw;
    }
    if (complete != entry.scanCount) {
        // A cancelled save: the scan tool must not read past the last record.
        if (!out.seek(efiScanCountOffset(n)))
            throw RuntimeError(ErrorNumber::DeviceIoError,
                               QStringLiteral("Device I/O error: %1").arg(out.errorString()));
        file.int32(complete);
    }
    return run;
}

void registerEfiLogWriter()
{
    registerOutputWriter(OutputFormat::Efi, [](const QString &path, LogKind,
                                               const LogIndexEntry &entry, ExportContext &context) {
        saveScanFile(path, entry, context,
                     [&](QIODevice &out) { return writeEfiLog(out, entry, context); });
    });
}

} // namespace vexa
