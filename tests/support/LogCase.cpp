#include "LogCase.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace vexa::test {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("can't read " + path.toStdString());
    return f.readAll();
}

QString dataPath(const QString &name)
{
    return QStringLiteral(VEXA_TEST_DATA "/") + name;
}

LogCase readLogCase(const QString &path)
{
    LogCase log;
    const QStringList lines = QString::fromUtf8(readFile(path)).split(QLatin1Char('\n'));
    const QRegularExpression cell(QStringLiteral("^(\\d)=(-?\\d+):(\\S+)$"));
    for (const QString &line : lines) {
        const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty() || words[0].startsWith(QLatin1Char('#')))
            continue;
        if (words[0] == "start") {
            const QStringList d = words.value(1).split(QLatin1Char('-'));
            const QStringList t = words.value(2).split(QLatin1Char(':'));
            log.start = {d.value(0).toInt(), d.value(1).toInt(), d.value(2).toInt(),
                         t.value(0).toInt(), t.value(1).toInt(), t.value(2).toInt()};
        } else if (words[0] == "text") {
            if (!log.text.empty())
                log.text += "\r\n";
            log.text += line.mid(line.indexOf(QLatin1String("text")) + 5).toStdString();
        } else if (words[0] == "params") {
            for (int k = 0; k < 10; ++k)
                log.params[k] = static_cast<std::uint8_t>(words.value(k + 1).toInt());
        } else if (words[0] == "scan") {
            ScanSpec scan;
            scan.scanTime = static_cast<std::int16_t>(words.value(1).toInt());
            for (const QString &w : words.mid(2)) {
                const auto m = cell.match(w);
                if (!m.hasMatch())
                    throw std::runtime_error("bad cell " + w.toStdString());
                Channel &c = scan.channels[m.captured(1).toInt()];
                c.status = static_cast<std::int16_t>(m.captured(2).toInt());
                c.value = m.captured(3).toFloat();
            }
            log.scans.push_back(scan);
        } else {
            throw std::runtime_error("bad line " + line.toStdString());
        }
    }
    return log;
}

void addLogCase(const TestHandheld &handheld, const LogCase &log)
{
    const int firstScan = handheld.create("RirodData")->recordCount() + 1;
    std::vector<Bytes> scans;
    for (const ScanSpec &s : log.scans)
        scans.push_back(scanRecord(s.scanTime, s.channels));
    handheld.add("RirodData", scans);
    handheld.add("RirodIndex", {rirodIndexRecord(log.start, static_cast<int>(log.scans.size()),
                                                 firstScan, log.params, log.text)});
}

::testing::AssertionResult sameBytes(const QByteArray &expected, const QByteArray &actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    qsizetype at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    const qsizetype from = std::max<qsizetype>(0, at - 8);
    return ::testing::AssertionFailure()
           << "lengths " << expected.size() << " expected, " << actual.size() << " written; first "
           << "difference at offset " << at
           << "\n  expected: " << expected.mid(from, 24).toHex(' ').constData()
           << "\n  written:  " << actual.mid(from, 24).toHex(' ').constData()
           << "\n  (both from offset " << from << ")";
}

} // namespace vexa::test
