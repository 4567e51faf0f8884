// Starting inputs for each target, made from the log descriptions in
// tests/data/export: their index records, scan records and whole saves.
#include "FuzzTargets.h"

#include "LoggerRecords.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

struct Log {
    logger::Stamp start{2004, 1, 1, 0, 0, 0};
    std::string text;
    logger::Params params{};
    std::vector<logger::Bytes> scans;
};

// "start Y-M-D h:m:s", "text ...", "params n ...", "scan TIME c=status:value ..."
Log readLog(const QString &path)
{
    Log log;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return log;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (w.isEmpty() || w[0].startsWith(QLatin1Char('#')))
            continue;
        if (w[0] == "start" && w.size() == 3) {
            const QStringList d = w[1].split('-'), t = w[2].split(':');
            log.start = {d.value(0).toInt(), d.value(1).toInt(), d.value(2).toInt(),
                         t.value(0).toInt(), t.value(1).toInt(), t.value(2).toInt()};
        } else if (w[0] == "text") {
            if (!log.text.empty())
                log.text += "\r\n";
            log.text += line.mid(5).toStdString();
        } else if (w[0] == "params") {
            for (int k = 1; k < w.size() && k <= 10; ++k)
                log.params[static_cast<std::size_t>(k - 1)] =
                    static_cast<std::uint8_t>(w[k].toInt());
        } else if (w[0] == "scan" && w.size() >= 2) {
            logger::Channels channels{};
            for (int k = 2; k < w.size(); ++k) {
                const QStringList cv = w[k].split('=');
                const QStringList sv = cv.value(1).split(':');
                auto &c = channels[static_cast<std::size_t>(cv.value(0).toInt() % 10)];
                c.status = static_cast<std::int16_t>(sv.value(0).toInt());
                c.value = sv.value(1).toFloat();
            }
            log.scans.push_back(
                logger::scanRecord(static_cast<std::int16_t>(w[1].toInt()), channels));
        }
    }
    return log;
}

void put(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(folder);
    QFile out(QDir(folder).filePath(name));
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}

QByteArray raw(const logger::Bytes &b)
{
    return {reinterpret_cast<const char *>(b.data()), static_cast<qsizetype>(b.size())};
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA-FOLDER CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[1]));
    const QString corpus = QString::fromLocal8Bit(argv[2]);
    int made = 0;
    for (const QString &file : data.entryList({"*.log"}, QDir::Files, QDir::Name)) {
        const Log log = readLog(data.filePath(file));
        const QString stem = QFileInfo(file).baseName();
        const auto index = logger::rirodIndexRecord(log.start, static_cast<int>(log.scans.size()),
                                                    1, log.params, log.text);
        const auto text = logger::textLogRecord(log.start, log.text);
        put(corpus + "/index-rirod", stem, raw(index));
        for (const char *t : {"index-ltrim", "index-accel", "index-tcode"})
            put(corpus + "/" + t, stem, raw(text));
        for (std::size_t k = 0; k < log.scans.size(); ++k)
            put(corpus + "/scan-record", stem + "-" + QString::number(k), raw(log.scans[k]));
        const std::int16_t stamp[6] = {static_cast<std::int16_t>(log.start.year),
                                       static_cast<std::int16_t>(log.start.month),
                                       static_cast<std::int16_t>(log.start.day),
                                       static_cast<std::int16_t>(log.start.hour),
                                       static_cast<std::int16_t>(log.start.minute),
                                       static_cast<std::int16_t>(log.start.second)};
        put(corpus + "/date", stem,
            QByteArray(reinterpret_cast<const char *>(stamp), sizeof stamp));
        put(corpus + "/whole-save", stem, vexa::fuzz::wholeSaveInput(0, index, log.scans));
        put(corpus + "/whole-save", stem + "-text", vexa::fuzz::wholeSaveInput(2, text, {}));
        ++made;
    }
    std::printf("starting inputs from %d logs in %s\n", made, qPrintable(corpus));
    return made > 0 ? 0 : 1;
}
