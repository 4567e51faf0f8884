// Logs as text: a Rirod log as comma-delimited (CSV) or fixed-width (TXT)
// text, one line per scan; the other kinds as their date and text. Lines end
// in CR LF; text is in the handheld's code page.
#pragma once

#include "ExportContext.h"

namespace vexa {

enum class TextFormat { Csv, Txt };

ScanRun writeScanText(QIODevice &out, const LogIndexEntry &entry, TextFormat format,
                      ExportContext &context);

void writeReportText(QIODevice &out, const LogIndexEntry &entry, const DateText &dates);

} // namespace vexa
