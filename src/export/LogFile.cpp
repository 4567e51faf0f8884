#include "LogFile.h"

#include "TextLogWriter.h"
#include "catalogue/EfiLogWriter.h"
#include "core/RuntimeError.h"
#include "store/OleDate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vexa {

namespace {

class LogFileOutput {
public:
    explicit LogFileOutput(const QString &path) : m_file(path)
    {
        if (m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        const QString native = QDir::toNativeSeparators(path);
        if (!QFileInfo(path).absoluteDir().exists())
            throw RuntimeError(ErrorNumber::PathNotFound,
                               QStringLiteral("Path not found: %1").arg(native));
        throw RuntimeError(ErrorNumber::PathFileAccessError,
                           QStringLiteral("Path/File access error: can't create %1 (%2)")
                               .arg(native, m_file.errorString()));
    }

    QFile &device() { return m_file; }

    void close()
    {
        const bool flushed = m_file.flush();
        m_file.close();
        if (!flushed || m_file.error() != QFileDevice::NoError)
            throw RuntimeError(ErrorNumber::DeviceIoError,
                               QStringLiteral("Device I/O error: %1").arg(m_file.errorString()));
    }

private:
    QFile m_file;
};

void saveScans(const QString &path, const LogIndexEntry &entry, ExportContext &context,
               const std::function<ScanRun(QIODevice &)> &write)
{
    context.host.showStatusNow(QStringLiteral("Saving %1 scan records...").arg(entry.scanCount));
    LogFileOutput file(path);
    const ScanRun run = write(file.device());
    file.close();
    if (run.cancelled)
        context.ui.inform(QStringLiteral("Save operation canceled"));
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

bool saveLogFile(const QString &path, LogKind kind, const QString &format,
                 const LogIndexEntry &entry, ExportContext &context)
{
    const bool text = format == CsvFormat || format == TxtFormat;
    if (kind != LogKind::Rirod) {
        if (!text)
            return false;
        LogFileOutput file(path);
        writeReportText(file.device(), entry, context.dates);
        file.close();
    } else if (text) {
        const TextFormat textFormat = format == CsvFormat ? TextFormat::Csv : TextFormat::Txt;
        saveScans(path, entry, context,
                  [&](QIODevice &out) { return writeScanText(out, entry, textFormat, context); });
    } else if (format == EfiFormat) {
        saveScans(path, entry, context,
                  [&](QIODevice &out) { return writeEfiLog(out, entry, context); });
    } else {
        return false;
    }
    return true;
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    LogFileOutput file(path);
    OutputSink(file.device()).write(bytes);
    file.close();
}

QString multiLogFileName(const QString &folder, LogKind kind, const LogIndexEntry &entry,
                         const QString &format)
{
    const QDate date = oledate::toDate(entry.logDate);
    const QTime time = oledate::toTime(entry.logTime);
    return folder + QLatin1String(logKindInfo(kind).kindWord) + QLatin1Char('(') +
           twoDigits(date.month()) + QLatin1Char('.') + twoDigits(date.day()) + QLatin1Char('.') +
           twoDigits(date.year()) + QLatin1Char('_') + twoDigits(time.hour()) + QLatin1Char('.') +
           twoDigits(time.minute()) + QLatin1Char('.') + twoDigits(time.second()) +
           QStringLiteral(").") + format;
}

QString withTrailingSeparator(const QString &folder)
{
    if (folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QDir::separator();
}

} // namespace vexa
