#include "DatalogWriters.h"

#include "MlgLogWriter.h"
#include "MslLogWriter.h"
#include "export/LogFile.h"
#include "export/OutputFormat.h"

namespace vexa {

namespace {

template <ScanRun (*Write)(QIODevice &, const LogIndexEntry &, ExportContext &)>
void saveDatalog(const QString &path, LogKind, const LogIndexEntry &entry, ExportContext &context)
{
    saveScanFile(path, entry, context, [&](QIODevice &out) { return Write(out, entry, context); });
}

} // namespace

void registerDatalogWriters()
{
    registerOutputWriter(OutputFormat::Msl, saveDatalog<writeMslLog>);
    registerOutputWriter(OutputFormat::Mlg, saveDatalog<writeMlgLog>);
}

} // namespace vexa
