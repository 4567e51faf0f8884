// Held by every delete and restore of one handheld user's logs while it
// reads, holds and changes them: a file in the user's sync folder. The
// component's change group keeps other processes from committing, but it
// decides whether its cached record order is fresh before it waits for
// that, so a group begun while another process's group was open reads the
// records as they were before that process committed.
#pragma once

#include <QLockFile>
#include <QString>

namespace vexa {

class HandheldLock {
public:
    // Waits while another process holds it; a lock left by a process that
    // has ended is taken over. Throws RuntimeError when it can't be taken,
    // or when there is no folder (no handheld user).
    explicit HandheldLock(const QString &userFolder, int waitMs = 10000);

private:
    QLockFile m_file;
};

} // namespace vexa
