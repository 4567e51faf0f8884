// The handheld tool's text form of records: one record a line, hex bytes.
#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace hex {

struct ParseError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Blank lines are skipped; "-" stands for an empty record.
std::vector<std::vector<std::uint8_t>> readRecords(std::istream &in);
std::vector<std::uint8_t> parseLine(const std::string &line, int lineNumber);
std::string format(const std::vector<std::uint8_t> &bytes);

} // namespace hex
