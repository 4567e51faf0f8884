// Builds the demo handheld: logs of all four kinds with plausible data.
#pragma once

#include "vexasync/VexaSync.h"

namespace demo {

struct Summary {
    int rirodLogs = 0;
    int scanRecords = 0;
    int textLogs = 0;
};

// Empties the five log databases of the docked handheld and fills them.
Summary fill(vexasync::Component &component);

} // namespace demo
