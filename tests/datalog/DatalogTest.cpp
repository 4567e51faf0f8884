// The datalog viewers' logs read back the way the viewers read them: the
// MLG by a reader of its own here, the MSL by its lines; names, units,
// precision and values against the scans put on the handheld.
#include "support/ExportFixture.h"

#include <QDataStream>
#include <QDateTime>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace vexa::test {
namespace {

struct Column {
    QByteArray name, units;
    int digits = 0;
    bool operator==(const Column &) const = default;
};
std::ostream &operator<<(std::ostream &out, const Column &c)
{
    return out << c.name.constData() << " [" << c.units.constData() << "] " << c.digits;
}

// What a viewer finds in either file.
struct ViewerLog {
    QByteArray description;
    QByteArray captured; // yyyy-MM-dd HH:mm:ss
    std::vector<Column> columns;
    std::vector<std::vector<double>> rows; // Time first
    std::vector<quint16> stamps;           // MLG only: 10 us units
};

QByteArray fixedText(const char *field, std::size_t size)
{
    return QByteArray(field, qsizetype(strnlen(field, size)));
}

ViewerLog readMlg(const QByteArray &file)
{
    QDataStream in(file);
    in.setByteOrder(QDataStream::BigEndian);
    in.setFloatingPointPrecision(QDataStream::SinglePrecision);
    char magic[6];
    in.readRawData(magic, 6);
    EXPECT_EQ(QByteArray(magic, 6), QByteArray("MLVLG", 6));
    quint16 version, infoAt, recordLength, fieldCount;
    quint32 time, dataAt;
    in >> version >> time >> infoAt >> dataAt >> recordLength >> fieldCount;
    EXPECT_EQ(version, 1);
    EXPECT_EQ(recordLength, 4 * fieldCount) << "every field a float";
    ViewerLog log;
    log.captured = QDateTime::fromSecsSinceEpoch(time, Qt::UTC)
                       .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                       .toLatin1();
    for (int f = 0; f < fieldCount; ++f) {
        quint8 type, style;
        char name[34], units[10];
        float scale, transform;
        qint8 digits;
        in >> type;
        in.readRawData(name, sizeof name);
        in.readRawData(units, sizeof units);
        in >> style >> scale >> transform >> digits;
        EXPECT_EQ(int(type), 7);
        EXPECT_EQ(int(style), 0);
        EXPECT_EQ(scale, 1.0f);
        EXPECT_EQ(transform, 0.0f);
        log.columns.push_back(
            {fixedText(name, sizeof name), fixedText(units, sizeof units), digits});
    }
    EXPECT_EQ(in.device()->pos(), infoAt);
    log.description = file.mid(infoAt, file.indexOf('\0', infoAt) - infoAt);
    EXPECT_EQ(dataAt, infoAt + log.description.size() + 1);
    in.device()->seek(dataAt);
    while (!in.atEnd() && in.status() == QDataStream::Ok) {
        quint8 type, counter, check;
        quint16 stamp;
        in >> type >> counter >> stamp;
        EXPECT_EQ(int(type), 0);
        EXPECT_EQ(int(counter), int(log.rows.size() % 256));
        quint8 sum = 0;
        for (const char byte : file.mid(in.device()->pos(), recordLength))
            sum = static_cast<quint8>(sum + static_cast<quint8>(byte));
        std::vector<double> row;
        for (int f = 0; f < fieldCount; ++f) {
            float value;
            in >> value;
            row.push_back(value);
        }
        in >> check;
        EXPECT_EQ(int(check), int(sum)) << "block " << log.rows.size();
        log.rows.push_back(row);
        log.stamps.push_back(stamp);
    }
    EXPECT_EQ(in.status(), QDataStream::Ok) << "a block cut short";
    return log;
}

ViewerLog readMsl(const QByteArray &file)
{
    EXPECT_TRUE(file.endsWith("\r\n"));
    QList<QByteArray> lines = file.split('\n');
    lines.removeLast();
    for (QByteArray &line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << line.constData();
        line.chop(1);
    }
    ViewerLog log;
    if (lines.size() < 4) {
        ADD_FAILURE() << "no header";
        return log;
    }
    const auto unquoted = [](const QByteArray &line) {
        EXPECT_TRUE(line.startsWith('"') && line.endsWith('"')) << line.constData();
        return line.mid(1, line.size() - 2);
    };
    log.description = unquoted(lines[0]);
    log.captured = unquoted(lines[1]).mid(int(std::strlen("Capture Date: ")));
    const QList<QByteArray> names = lines[2].split('\t');
    const QList<QByteArray> units = lines[3].split('\t');
    EXPECT_EQ(names.size(), units.size());
    for (qsizetype c = 0; c < names.size(); ++c)
        log.columns.push_back({names[c], units.value(c), -1});
    for (const QByteArray &line : lines.mid(4)) {
        EXPECT_FALSE(line.startsWith('"'));
        const QList<QByteArray> cells = line.split('\t');
        EXPECT_EQ(cells.size(), names.size()) << line.constData();
        std::vector<double> row;
        for (qsizetype c = 0; c < cells.size() && c < names.size(); ++c) {
            if (cells[c] == "NaN") {
                row.push_back(std::nan(""));
                continue;
            }
            const qsizetype dot = cells[c].indexOf('.');
            const int digits = dot < 0 ? 0 : int(cells[c].size() - dot - 1);
            int &seen = log.columns[std::size_t(c)].digits;
            EXPECT_TRUE(seen < 0 || seen == digits) << line.constData();
            seen = digits;
            bool ok = false;
            row.push_back(cells[c].toDouble(&ok));
            EXPECT_TRUE(ok) << cells[c].constData();
        }
        log.rows.push_back(row);
    }
    return log;
}

struct ExpectedColumn {
    int slot;
    Column column;
};

// Scan k: all gaps when k % 4 == 1, two when k % 4 == 2; every 3 s.
LogCase gapsCase()
{
    LogCase log{{2004, 3, 7, 10, 0, 0}, "Gaps", {15, 15, 0, 1, 2, 250, 15}, {}};
    for (int k = 0; k < 300; ++k) {
        ScanSpec scan{300, {}};
        for (int c = 0; c < 10; ++c)
            scan.channels[c] = {std::int16_t(k % 4 == 1 ? 103 : 0), k * 1.25f + c};
        if (k % 4 == 2) {
            scan.channels[1].status = 5;
            scan.channels[3].status = -1;
        }
        log.scans.push_back(scan);
    }
    return log;
}

TEST(Datalog, ReadBackFindsTheScansAtTheirPrecision)
{
    const struct {
        const char *what;
        LogCase log;
        std::vector<ExpectedColumn> channels;
    } cases[] = {
        {"ect-two-scans",
         readLogCase(dataPath("export/ect-two-scans.log")),
         {{0, {"ECT", "DEGF", 1}}}},
        {"night-run",
         readLogCase(dataPath("export/night-run.log")),
         {{0, {"RPM", "RPM", 0}},
          {1, {"ECT", "DEGF", 1}},
          {3, {"MAP", "inHg", 2}},
          {4, {"CLSD", "LOOP", 0}},
          {5, {"????", "----", 0}},
          {9, {"O2L", "mV", 0}}}},
        {"gaps, repeats, counters wrapping",
         gapsCase(),
         {{0, {"RPM", "RPM", 0}},
          {1, {"RPM 2", "RPM", 0}},
          {3, {"CLSD", "LOOP", 0}},
          {4, {"ECT", "DEGF", 1}},
          {5, {"????", "----", 0}},
          {6, {"RPM 3", "RPM", 0}}}},
    };
    for (const auto &c : cases) {
        for (const Writer writer : {Writer::Msl, Writer::Mlg}) {
            SCOPED_TRACE(testing::Message() << c.what << " as " << writerName(writer));
            ExportFixture f;
            addLogCase(f.handheld, c.log);
            f.write(writer, f.entry());
            const ViewerLog read =
                writer == Writer::Mlg ? readMlg(f.written()) : readMsl(f.written());
            std::vector<Column> columns{{"Time", "s", 3}};
            for (const ExpectedColumn &e : c.channels)
                columns.push_back(e.column);
            EXPECT_EQ(read.columns, columns);
            ASSERT_EQ(read.rows.size(), c.log.scans.size());
            std::int32_t ms = 0;
            for (std::size_t k = 0; k < read.rows.size(); ++k) {
                const std::vector<double> &row = read.rows[k];
                ASSERT_EQ(row.size(), columns.size());
                EXPECT_EQ(row[0], writer == Writer::Mlg ? double(float(ms / 1000.0)) : ms / 1000.0);
                if (writer == Writer::Mlg) {
                    EXPECT_EQ(read.stamps[k], quint16(ms * 100));
                }
                for (std::size_t j = 0; j < c.channels.size(); ++j) {
                    const Channel &scan = c.log.scans[k].channels[c.channels[j].slot];
                    const double got = row[j + 1];
                    if (scan.status != 0) {
                        EXPECT_TRUE(std::isnan(got)) << "scan " << k << " column " << j;
                        continue;
                    }
                    const double tolerance =
                        writer == Writer::Mlg ? 0 : 0.5 * std::pow(10.0, -columns[j + 1].digits);
                    EXPECT_LE(std::abs(got - scan.value), tolerance * (1 + 1e-6))
                        << "scan " << k << " column " << j;
                }
                ms += c.log.scans[k].scanTime * 10;
            }
        }
    }
}

TEST(Datalog, DescriptionAndCaptureTime)
{
    const struct {
        Stamp start;
        std::string text;
        const char *description;
        const char *mslCapture;
        const char *mlgCapture;
    } cases[] = {
        {{2004, 3, 7, 14, 5, 9},
         "He said \"go\"\r\nlap 2\nend\rX",
         "VEXA scan log: He said 'go' / lap 2 / end / X",
         "2004-03-07 14:05:09",
         "2004-03-07 14:05:09"},
        {{2004, 3, 7, 14, 5, 9},
         "\x93lean\x94",
         "VEXA scan log: \x93lean\x94",
         "2004-03-07 14:05:09",
         "2004-03-07 14:05:09"},
        // A handheld whose clock was never set: no MLG time before 1970.
        {{1899, 12, 30, 0, 0, 0},
         "",
         "VEXA scan log: ",
         "1899-12-30 00:00:00",
         "1970-01-01 00:00:00"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.description);
        ExportFixture f;
        addLogCase(f.handheld, {c.start, c.text, {15}, {{10, {}}}});
        f.write(Writer::Msl, f.entry());
        const ViewerLog msl = readMsl(f.written());
        EXPECT_EQ(msl.description, c.description);
        EXPECT_EQ(msl.captured, c.mslCapture);
        f.write(Writer::Mlg, f.entry());
        const ViewerLog mlg = readMlg(f.written());
        EXPECT_EQ(mlg.description, c.description);
        EXPECT_EQ(mlg.captured, c.mlgCapture);
    }
}

// German settings write a decimal comma and group digits: the files don't.
TEST(Datalog, TheLocaleChangesNothing)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const Writer writer : {Writer::Msl, Writer::Mlg}) {
        ExportFixture f;
        f.dates = DateText(QLocale(QLocale::German, QLocale::Germany));
        addLogCase(f.handheld, readLogCase(dataPath("export/night-run.log")));
        f.write(writer, f.entry());
        EXPECT_TRUE(sameBytes(readFile(dataPath(QString("export/night-run.") +
                                                QString(writerName(writer)).toLower())),
                              f.written()))
            << writerName(writer);
    }
    QLocale::setDefault(before);
}

} // namespace
} // namespace vexa::test
