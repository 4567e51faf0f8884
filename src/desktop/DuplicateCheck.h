// At start-up: where a handheld user's backup folder holds several copies of
// the logger program, offer to delete all but the newest. Any failure ends
// the check silently; start-up goes on.
#pragma once

#include "FileSystem.h"

#include "core/UserInterface.h"

namespace vexa {

class SyncComponent;

inline const QString ProgramPattern = QStringLiteral("vexa*.prc");

// The index of the copy that stays: the first listed among those with the
// latest time.
int newestCopy(const QList<QDateTime> &times);

void runDuplicateCheck(const SyncComponent &sync, UserInterface &ui, FileSystem &files);

} // namespace vexa
