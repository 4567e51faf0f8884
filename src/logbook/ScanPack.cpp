#include "ScanPack.h"

namespace vexa {

namespace {
constexpr std::size_t LengthSize = 4;
} // namespace

RecordBytes packScans(const std::vector<RecordBytes> &records)
{
    std::size_t size = 0;
    for (const RecordBytes &r : records)
        size += LengthSize + r.size();
    RecordBytes blob;
    blob.reserve(size);
    for (const RecordBytes &r : records) {
        const auto n = static_cast<std::uint32_t>(r.size());
        for (int shift = 0; shift < 32; shift += 8)
            blob.push_back(static_cast<std::uint8_t>(n >> shift));
        blob.insert(blob.end(), r.begin(), r.end());
    }
    return blob;
}

std::optional<PackedScans> packedScans(RecordBytes blob)
{
    PackedScans packed{std::move(blob), {}};
    const RecordBytes &b = packed.blob;
    std::size_t at = 0;
    while (at < b.size()) {
        if (b.size() - at < LengthSize)
            return std::nullopt;
        std::uint32_t n = 0;
        for (std::size_t k = 0; k < LengthSize; ++k)
            n |= static_cast<std::uint32_t>(b[at + k]) << (8 * k);
        at += LengthSize;
        if (b.size() - at < n)
            return std::nullopt;
        packed.records.emplace_back(b.data() + at, n);
        at += n;
    }
    return packed;
}

std::optional<std::vector<RecordBytes>> unpackScans(const RecordBytes &blob)
{
    const std::optional<PackedScans> packed = packedScans(blob);
    if (!packed)
        return std::nullopt;
    std::vector<RecordBytes> records;
    records.reserve(packed->records.size());
    for (const std::span<const std::uint8_t> r : packed->records)
        records.emplace_back(r.begin(), r.end());
    return records;
}

} // namespace vexa
