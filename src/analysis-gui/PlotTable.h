// The tuning table of the log a plot window shows, made from the scans it
// holds, in a table window over the plot.
#pragma once

#include "analysis/LogbookTable.h"
#include "core/UserInterface.h"
#include "plot/PlotData.h"

class QWidget;

namespace vexa {

class SettingsStore;
class SyncComponent;

// Throws RuntimeError naming the channels the log lacks.
LogbookTable plotTable(const PlotData &plot, vexasync::ByteUtility &bytes,
                       const TableRequest &request);

// A window of the plot's: it closes with it.
void openPlotTable(const PlotData &plot, const SyncComponent &sync, UserInterface &ui,
                   SettingsStore &settings, QWidget *plotWindow);

} // namespace vexa
