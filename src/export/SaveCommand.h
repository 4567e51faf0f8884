// The save command: every selected log of the tab to a file of its own,
// through the file-save dialog for one log or the save-location dialog for
// several, with the overwrite question, progress, Cancel and one failure box.
#pragma once

#include "ExportContext.h"
#include "core/CommandOutcome.h"
#include "format/LogKind.h"

#include <vector>

namespace vexa {

class SyncComponent;

struct SaveSelection {
    LogKind kind;
    std::vector<int> positions; // selected list lines, ascending
    SavedLogs logs;             // as the search left them
};

struct SaveServices {
    const SyncComponent &sync;
    vexasync::RecordAdapter *scanDatabase; // for Rirod logs
    CommandHost &host;
    UserInterface &ui;
    const DateText &dates;
};

// "File NAME already exists - overwrite?"
QString overwriteQuestion(const QString &fileName);

// The filters the file-save dialog offers on the tab.
QList<FileFilter> saveFileFilters(LogKind kind);

// Runs the command to its end; the host's status ends at "Complete.". Each
// log tried, with the file it was saved to (a log the user cancelled part-way
// keeps its file, so it counts as saved); an overwrite answered No cancels.
CommandOutcome runSaveCommand(const SaveSelection &selection, const SaveServices &services);

} // namespace vexa
