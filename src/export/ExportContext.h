// What a log writer needs besides the log: where its scans are, and where
// it reports progress and asks its questions.
#pragma once

#include "core/CommandHost.h"
#include "format/LogIndexEntry.h"
#include "store/DateText.h"

#include <QIODevice>

#include <functional>

namespace vexa {

struct ScanRecord;

struct ExportContext {
    vexasync::RecordAdapter *scanDatabase; // needed for Rirod logs only
    vexasync::ByteUtility &bytes;
    CommandHost &host;
    UserInterface &ui;
    const DateText &dates; // its locale formats the numbers too
};

// How far a scan writer got.
struct ScanRun {
    int written = 0;
    bool cancelled = false;
};

// The scans of a log read one by one under the save's progress and cancel
// protocol: status before each, `write` for each, then a yield and the
// cancel question.
ScanRun forEachScan(const LogIndexEntry &entry, ExportContext &context,
                    const std::function<void(const ScanRecord &scan, int k)> &write);

// Writes bytes to an output and turns a failed write into a RuntimeError.
class OutputSink {
public:
    explicit OutputSink(QIODevice &device) : m_device(device) {}
    void write(const char *data, qsizetype size);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
    QIODevice &device() { return m_device; }

private:
    QIODevice &m_device;
};

} // namespace vexa
