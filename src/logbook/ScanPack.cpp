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

std::optional<std::vector<RecordBytes>> unpackScans(const RecordBytes &blob)
{
    std::vector<RecordBytes> records;
    std::size_t at = 0;
    while (at < blob.size()) {
        if (blob.size() - at < LengthSize)
            return std::nullopt;
        std::uint32_t n = 0;
        for (std::size_t k = 0; k < LengthSize; ++k)
            n |= static_cast<std::uint32_t>(blob[at + k]) << (8 * k);
        at += LengthSize;
        if (blob.size() - at < n)
            return std::nullopt;
        records.emplace_back(blob.begin() + static_cast<std::ptrdiff_t>(at),
                             blob.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    }
    return records;
}

} // namespace vexa
