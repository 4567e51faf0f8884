// A Rirod log described in a small text file under tests/data (start, text,
// parameter numbers, scans), put on a test handheld.
#pragma once

#include "LogRecords.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

namespace vexa::test {

struct ScanSpec {
    std::int16_t scanTime = 0;
    Channels channels{};
};

struct LogCase {
    Stamp start{};
    std::string text;
    Params params{};
    std::vector<ScanSpec> scans;
};

// Lines: "start YYYY-MM-DD hh:mm:ss", "text ..." (repeated lines join with
// CR LF), "params n0 .. n9", "scan TIME [c=status:value ...]"; '#' comments.
LogCase readLogCase(const QString &path);

// Puts the log's scans after those on the handheld, and its index record
// after the other logs.
void addLogCase(const TestHandheld &handheld, const LogCase &log);

QByteArray readFile(const QString &path);
QString dataPath(const QString &name);

// Whole contents compared; on a difference, the first differing offset with
// a hex view of both around it.
::testing::AssertionResult sameBytes(const QByteArray &expected, const QByteArray &actual);

} // namespace vexa::test
