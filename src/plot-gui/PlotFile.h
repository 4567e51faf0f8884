// A scan log's plot as a picture file, the way the batch tool saves it: the
// whole log, at a size that gives each channel room.
#pragma once

namespace vexa {

// The PNG and SVG pictures; they need a QApplication.
void registerPlotFileWriters();

} // namespace vexa
