// The EFILive binary log: a fixed header, one 144-byte channel record per
// used slot, a scan-table header, then one record of raw samples per scan.
#pragma once

#include "export/ExportContext.h"

#include <span>

namespace vexa {

// The low-order bytes of the value's 32-bit two's complement, least
// significant at index 0 (little-endian) or at the last index.
void longToByteArray(std::int32_t value, std::span<std::uint8_t> buffer, bool littleEndian);

// Where the scan count stands in a file with `channels` channel records.
constexpr qint64 efiScanCountOffset(int channels)
{
    return 1028 + 144 * qint64{channels};
}

// `out` must be seekable: when fewer scans are written than the log has (a
// cancel), the header's scan count is set to the number written.
ScanRun writeEfiLog(QIODevice &out, const LogIndexEntry &entry, ExportContext &context);

// The EFILive files of Rirod logs.
void registerEfiLogWriter();

} // namespace vexa
