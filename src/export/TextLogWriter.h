// Logs as text: a Rirod log as comma-delimited (CSV) or fixed-width (TXT)
// text, one line per scan; the other kinds as their date and text. Lines end
// in CR LF; text is in the handheld's code page.
#pragma once

#include "ExportContext.h"
#include "format/ScanClock.h"
#include "format/ValueFormat.h"

#include <vector>

namespace vexa {

enum class TextFormat { Csv, Txt };

// The header lines at construction, then a line per scan given, whatever
// the scans come from: the plot saves a stretch of a log read earlier.
class ScanTextWriter {
public:
    ScanTextWriter(QIODevice &out, const LogIndexEntry &entry, TextFormat format,
                   const DateText &dates);
    void write(const ScanRecord &scan);

private:
    struct Channel {
        std::string_view code;
        ValueFormat format;
    };
    OutputSink m_sink;
    TextFormat m_format;
    std::vector<Channel> m_channels;
    ScanClock m_clock;
    QByteArray m_line;
};

ScanRun writeScanText(QIODevice &out, const LogIndexEntry &entry, TextFormat format,
                      ExportContext &context);

void writeReportText(QIODevice &out, const LogIndexEntry &entry, const DateText &dates);

} // namespace vexa
