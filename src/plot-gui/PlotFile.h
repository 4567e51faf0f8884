// A scan log's plot as a picture file, the way the batch tool saves it: the
// whole log, at a size that gives each channel room.
#pragma once

#include "export/ExportContext.h"

namespace vexa {

inline const QString PngFormat = QStringLiteral("PNG");
inline const QString SvgFormat = QStringLiteral("SVG");

inline bool isPlotFormat(const QString &format)
{
    return format == PngFormat || format == SvgFormat;
}

// Reads the log's scans and writes the picture; needs a QApplication. Throws
// RuntimeError on any failure.
void savePlotFile(const QString &path, const QString &format, const LogIndexEntry &entry,
                  ExportContext &context);

} // namespace vexa
