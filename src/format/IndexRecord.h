// The index record of a saved log, one per log in its kind's index database:
// when the log started and its text, and for a Rirod log where its scans are
// and the parameter of each channel. Bytes no field names are kept as they
// were, so a record parsed and rendered again is the same bytes.
#pragma once

#include "format/LogIndexEntry.h"
#include "format/LogKind.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

// The logger's clock when the log started, unchecked: the date may be one
// the calendar can't hold.
struct LogStart {
    std::int16_t second = 0, minute = 0, hour = 0, day = 0, month = 0, year = 0;
    bool operator==(const LogStart &) const = default;
};

// A parameter number per channel slot; 0 is an empty slot.
using ParamNumbers = std::array<std::uint8_t, ChannelSlots>;

class IndexRecord {
public:
    // A new record as the logger writes it: the text ends with a zero.
    static IndexRecord rirodLog(const LogStart &start, std::int16_t scanCount,
                                std::int16_t firstScan, const ParamNumbers &params,
                                std::string_view text);
    // The three other kinds share one layout.
    static IndexRecord textLog(LogKind kind, const LogStart &start, std::string_view text);

    // Throws RuntimeError (subscript out of range) for a record that ends
    // before its kind's text starts; `logNumber` (from 1) names it.
    static IndexRecord parse(vexasync::ByteUtility &bytes, std::span<const std::uint8_t> record,
                             LogKind kind, int logNumber);
    std::vector<std::uint8_t> render(vexasync::ByteUtility &bytes) const;

    // The search's entry. Throws RuntimeError (invalid call) for a date the
    // calendar can't hold.
    LogIndexEntry entry(vexasync::RecordId recordId) const;

    LogKind kind() const { return m_kind; }
    std::size_t size() const { return m_bytes.size(); }
    const LogStart &start() const { return m_start; }
    // In the other kinds these are the text's bytes, as parse read them when
    // the record holds them, and 0 otherwise.
    std::int16_t scanCount() const { return m_scanCount; }
    std::int16_t firstScan() const { return m_firstScan; }
    // Rirod logs only: a delete or a restore moves the log's scans.
    void setFirstScan(std::int16_t firstScan) { m_firstScan = firstScan; }
    const ParamNumbers &params() const { return m_params; }
    // In the handheld's code page.
    const std::string &text() const { return m_text; }

    // The first-scan field is the one a delete or a restore rewrites, so
    // records that differ only there are the same log.
    bool isSameLog(const IndexRecord &other) const;

    // The scan fields of a Rirod record nothing has checked: a delete moves
    // the scans of every log, readable or not. Only the component's own
    // checks apply: a record too short for a field is its past-the-end error.
    static constexpr std::size_t ScanFieldsEnd = 18;
    static std::int16_t firstScanIn(vexasync::ByteUtility &bytes,
                                    std::span<const std::uint8_t> record);
    static std::int16_t scanCountIn(vexasync::ByteUtility &bytes,
                                    std::span<const std::uint8_t> record);
    static void setFirstScanIn(vexasync::ByteUtility &bytes, std::span<std::uint8_t> record,
                               std::int16_t firstScan);

private:
    IndexRecord(LogKind kind, std::vector<std::uint8_t> bytes);
    std::size_t textStart() const;
    bool isNamed(std::size_t offset) const;

    LogKind m_kind;
    LogStart m_start;                  // 0-11: six 16-bit fields, second first
    std::int16_t m_scanCount = 0;      // 14-15
    std::int16_t m_firstScan = 0;      // 16-17, 1-based in the scan database
    ParamNumbers m_params{};           // 18, 20 .. 36, one byte each
    std::string m_text;                // from 39 (other kinds: 14), up to a zero or 999 characters
    std::vector<std::uint8_t> m_bytes; // the whole record: what no field names comes from here
};

// Decodes one index record; the errors of parse() and entry().
LogIndexEntry readIndexEntry(vexasync::ByteUtility &bytes, const vexasync::Record &record,
                             LogKind kind);

} // namespace vexa
