#include "ExportContext.h"

#include "core/RuntimeError.h"
#include "format/ScanRecord.h"

namespace vexa {

ScanRun forEachScan(const LogIndexEntry &entry, ExportContext &context,
                    const std::function<void(const ScanRecord &scan, int k)> &write)
{
    if (!context.scanDatabase)
        throw RuntimeError(ErrorNumber::InternalError, QStringLiteral("No scan database is open"));
    ScanReader reader(*context.scanDatabase, context.bytes, entry);
    // Built once: the status changes with every record.
    const QString of = QStringLiteral(" of ") + QString::number(entry.scanCount);
    ScanRun run;
    for (int k = 1; k <= reader.count(); ++k) {
        context.host.setStatus(QStringLiteral("Saving scan ") + QString::number(k) + of);
        write(reader.read(k), k);
        ++run.written;
        if (stopRequested(context.host, context.ui,
                          QStringLiteral("Cancel log save - Are you sure?"))) {
            run.cancelled = true;
            break;
        }
    }
    return run;
}

void OutputSink::write(const char *data, qsizetype size)
{
    // A disk that fills up may take part of a write before it refuses the
    // rest, and only the refusal carries the system's reason.
    while (size > 0) {
        const qint64 written = m_device.write(data, size);
        if (written <= 0)
            throw RuntimeError(ErrorNumber::DeviceIoError,
                               QStringLiteral("Device I/O error: %1").arg(m_device.errorString()));
        data += written;
        size -= written;
    }
}

} // namespace vexa
