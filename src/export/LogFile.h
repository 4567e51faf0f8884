// One selected log written to one file, the way the save command hands a
// log to its writer: the format and the log's kind choose the writer.
#pragma once

#include "ExportContext.h"
#include "format/LogKind.h"

#include <QSet>

namespace vexa {

// Creates the file anew and writes the log with the writer of the format
// whose code is `format`. False when the kind and format make no file (EFI
// for a text log, or no format at all). Throws RuntimeError on any failure,
// and then the file under `path` is as it was before; a cancelled log is
// kept as far as it was written.
bool saveLogFile(const QString &path, LogKind kind, const QString &format,
                 const LogIndexEntry &entry, ExportContext &context);

// Creates the file anew and has `write` write the log's scans into it,
// under the save's progress; throws RuntimeError as saveLogFile does.
void saveScanFile(const QString &path, const LogIndexEntry &entry, ExportContext &context,
                  const std::function<ScanRun(QIODevice &)> &write);

// Creates the file anew with these bytes; throws RuntimeError as
// saveLogFile does.
void writeFileBytes(const QString &path, const QByteArray &bytes);

// The comma-delimited and fixed-width text files.
void registerTextLogWriters();

// "<folder>RirodLog(03.07.2004_14.05.09).CSV"; `folder` ends in a separator.
QString multiLogFileName(const QString &folder, LogKind kind, const LogIndexEntry &entry,
                         const QString &extension);

// The names one run gives its files. Logs started in the same second share a
// name, so a name already given this run gets " (2)", " (3)" ... before its
// extension: no log of the run is written over another.
class RunFileNames {
public:
    QString claim(const QString &name);

private:
    // Case-folded: Windows folders don't tell case apart.
    QSet<QString> m_given;
};

// The folder with the native separator after it, unless it ends in one.
QString withTrailingSeparator(const QString &folder);

} // namespace vexa
