#include "LogFile.h"

#include "OutputFormat.h"
#include "TextLogWriter.h"
#include "core/RuntimeError.h"
#include "format/OleDate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <cerrno>
#include <memory>
#include <system_error>

namespace vexa {

namespace {

// A log's file appears under its final name only when it is whole: it is
// written to a temporary file beside it and renamed at the end, so a failure
// part-way leaves whatever was there before. A device or pipe can't be
// renamed onto, so it is written directly.
class LogFileOutput {
public:
    explicit LogFileOutput(const QString &path)
    {
        const QFileInfo target(path);
        if (target.exists() && !target.isFile())
            m_file = std::make_unique<QFile>(path);
        else
            m_file = std::make_unique<QSaveFile>(path);
        if (m_file->open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        const QString native = QDir::toNativeSeparators(path);
        if (!target.absoluteDir().exists())
            throw RuntimeError(ErrorNumber::PathNotFound,
                               QStringLiteral("Path not found: %1").arg(native));
        throw RuntimeError(ErrorNumber::PathFileAccessError,
                           QStringLiteral("Path/File access error: can't create %1 (%2)")
                               .arg(native, m_file->errorString()));
    }

    QFileDevice &device() { return *m_file; }

    // Only a whole log (or one the user cancelled) gets here; on any throw
    // before it, the temporary file is discarded unseen.
    void finish()
    {
        // The reason must be read before closing, which forgets it.
        if (!m_file->flush())
            throw diskError();
        if (auto *save = qobject_cast<QSaveFile *>(m_file.get())) {
            if (!save->commit())
                throw diskError();
        } else {
            m_file->close();
            if (m_file->error() != QFileDevice::NoError)
                throw diskError();
        }
    }

    // A write error as the system explains it. A buffered write into a disk
    // that fills up can fail without a reason; the file system then tells.
    RuntimeError diskError() const
    {
        QString reason = m_file->errorString();
        if (reason == QFile().errorString() &&
            QStorageInfo(QFileInfo(m_file->fileName()).absolutePath()).bytesAvailable() == 0)
            reason = QString::fromStdString(std::generic_category().message(ENOSPC));
        return RuntimeError(ErrorNumber::DeviceIoError,
                            QStringLiteral("Device I/O error: %1").arg(reason));
    }

private:
    std::unique_ptr<QFileDevice> m_file;
};

// A Rirod log's scans as text; any other log as its date and text.
template <TextFormat Format>
void saveTextLog(const QString &path, LogKind kind, const LogIndexEntry &entry,
                 ExportContext &context)
{
    if (kind == LogKind::Rirod) {
        saveScanFile(path, entry, context,
                     [&](QIODevice &out) { return writeScanText(out, entry, Format, context); });
        return;
    }
    LogFileOutput file(path);
    writeReportText(file.device(), entry, context.dates);
    file.finish();
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

bool saveLogFile(const QString &path, LogKind kind, const QString &format,
                 const LogIndexEntry &entry, ExportContext &context)
{
    const OutputFormat *row = findOutputFormat(format);
    if (!row || !row->fits(kind))
        return false;
    if (!row->writer)
        qFatal("No writer registered for %s files", qPrintable(row->code));
    row->writer(path, kind, entry, context);
    return true;
}

void saveScanFile(const QString &path, const LogIndexEntry &entry, ExportContext &context,
                  const std::function<ScanRun(QIODevice &)> &write)
{
    context.host.showStatusNow(QStringLiteral("Saving %1 scan records...").arg(entry.scanCount));
    LogFileOutput file(path);
    ScanRun run;
    try {
        run = write(file.device());
    } catch (const RuntimeError &e) {
        if (e.number() != ErrorNumber::DeviceIoError)
            throw;
        throw file.diskError();
    }
    file.finish();
    if (run.cancelled)
        context.ui.inform(QStringLiteral("Save operation canceled"));
}

void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    LogFileOutput file(path);
    try {
        OutputSink(file.device()).write(bytes);
    } catch (const RuntimeError &) {
        throw file.diskError();
    }
    file.finish();
}

void registerTextLogWriters()
{
    registerOutputWriter(OutputFormat::Csv, saveTextLog<TextFormat::Csv>);
    registerOutputWriter(OutputFormat::Txt, saveTextLog<TextFormat::Txt>);
}

QString multiLogFileName(const QString &folder, LogKind kind, const LogIndexEntry &entry,
                         const QString &extension)
{
    const QDate date = oledate::toDate(entry.logDate);
    const QTime time = oledate::toTime(entry.logTime);
    return folder + QLatin1String(logKindInfo(kind).kindWord) + QLatin1Char('(') +
           twoDigits(date.month()) + QLatin1Char('.') + twoDigits(date.day()) + QLatin1Char('.') +
           twoDigits(date.year()) + QLatin1Char('_') + twoDigits(time.hour()) + QLatin1Char('.') +
           twoDigits(time.minute()) + QLatin1Char('.') + twoDigits(time.second()) +
           QStringLiteral(").") + extension;
}

QString RunFileNames::claim(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype cut =
        dot > name.lastIndexOf(QDir::separator()) && dot > name.lastIndexOf(QLatin1Char('/'))
            ? dot
            : name.size();
    QString candidate = name;
    for (int n = 2; m_given.contains(candidate.toCaseFolded()); ++n)
        candidate = name.left(cut) + QStringLiteral(" (%1)").arg(n) + name.mid(cut);
    m_given.insert(candidate.toCaseFolded());
    return candidate;
}

QString withTrailingSeparator(const QString &folder)
{
    if (folder.endsWith(QDir::separator()) || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QDir::separator();
}

} // namespace vexa
