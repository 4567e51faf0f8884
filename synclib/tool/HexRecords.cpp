#include "HexRecords.h"

namespace hex {

namespace {

int digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::vector<std::uint8_t> parseLine(const std::string &line, int lineNumber)
{
    std::vector<std::uint8_t> bytes;
    std::string digits;
    for (const char c : line) {
        if (c == ' ' || c == '\t' || c == '\r')
            continue;
        if (digit(c) < 0)
            throw ParseError("line " + std::to_string(lineNumber) + ": '" + std::string(1, c) +
                             "' is not a hexadecimal digit");
        digits += c;
    }
    if (digits.size() % 2 != 0)
        throw ParseError("line " + std::to_string(lineNumber) + ": odd number of hex digits (" +
                         std::to_string(digits.size()) + ")");
    for (std::size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(digit(digits[i]) * 16 + digit(digits[i + 1])));
    return bytes;
}

std::vector<std::vector<std::uint8_t>> readRecords(std::istream &in)
{
    std::vector<std::vector<std::uint8_t>> records;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        if (line.find_first_not_of(" \t\r-") == std::string::npos && line.find('-') != line.npos &&
            line.find('-') == line.rfind('-'))
            records.emplace_back();
        else
            records.push_back(parseLine(line, number));
    }
    return records;
}

std::string format(const std::vector<std::uint8_t> &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    if (bytes.empty())
        return "-";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

} // namespace hex
