// Held by every delete and restore of one user's handheld while it reads,
// archives and changes: a file beside the user's archive of deleted logs.
// The component's change group keeps other processes from committing, but
// it decides whether its cached record order is fresh before it waits for
// that, so a group begun while another process's group was open reads the
// records as they were before that process committed.
#pragma once

#include <QLockFile>
#include <QString>

namespace vexa {

class ArchiveLock {
public:
    // Waits while another process holds it; a lock left by a process that
    // has ended is taken over. Throws RuntimeError when it can't be taken.
    explicit ArchiveLock(const QString &archivePath, int waitMs = 10000);

private:
    QLockFile m_file;
};

} // namespace vexa
