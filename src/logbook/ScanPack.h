// A log's scan records kept as one blob, each after its length (4 bytes,
// little-endian): one row a log keeps copying a log cheap beside reading it
// from the handheld. The logbook and the archive of deleted logs share it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vexa {

using RecordBytes = std::vector<std::uint8_t>;

RecordBytes packScans(const std::vector<RecordBytes> &records);

// None when the blob is not what packScans() wrote. Nothing is allocated
// beyond what the blob holds.
std::optional<std::vector<RecordBytes>> unpackScans(const RecordBytes &blob);

// The records of a packed blob, each read where it lies: one log's records
// without one allocation per record.
struct PackedScans {
    RecordBytes blob;
    std::vector<std::span<const std::uint8_t>> records; // into blob
};

// None when the blob is not what packScans() wrote.
std::optional<PackedScans> packedScans(RecordBytes blob);

// How many records a blob of `bytes` bytes can hold at most: a count read
// from a file is checked against it before anything is allocated.
constexpr std::int64_t mostScansIn(std::int64_t bytes)
{
    return bytes / 4;
}

} // namespace vexa
