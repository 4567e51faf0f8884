#include "EveryWriter.h"

#include "catalogue/EfiLogWriter.h"
#include "datalog/DatalogWriters.h"
#include "export/LogFile.h"
#include "plot-gui/PlotFile.h"

namespace vexa {

void registerEveryWriter()
{
    registerTextLogWriters();
    registerEfiLogWriter();
    registerDatalogWriters();
    registerPlotFileWriters();
}

} // namespace vexa
