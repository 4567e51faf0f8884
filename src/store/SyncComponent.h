// The handheld sync component, loaded at run time from the program's folder.
// When it can't be loaded, creating any of its objects fails with error 429,
// as it does for an outside component that is not installed.
#pragma once

#include "vexasync/VexaSync.h"

#include <QString>

#include <memory>

namespace vexa {

class SyncComponent {
public:
    // Loads the component from `folder` (the executable's folder when empty).
    explicit SyncComponent(const QString &folder = QString());

    bool isLoaded() const { return m_component != nullptr; }
    QString loadError() const { return m_loadError; }

    std::unique_ptr<vexasync::UserDirectory> createUserDirectory() const;
    std::unique_ptr<vexasync::SyncFolders> createSyncFolders() const;
    std::unique_ptr<vexasync::SyncStatus> createSyncStatus() const;
    std::unique_ptr<vexasync::DatabaseOpener> createDatabaseOpener() const;
    std::unique_ptr<vexasync::ByteUtility> createByteUtility() const;

    // The docked handheld's user id, 0 when none is docked.
    std::uint32_t dockedUser() const;
    // A handheld user's desktop folder.
    QString userFolder(std::uint32_t user) const;
    // The docked handheld user's desktop folder; empty when none is docked.
    QString dockedUserFolder() const;

    // Opens a database of the docked handheld the way the program does; a
    // reader that never changes the handheld asks for mode::Read alone.
    std::shared_ptr<vexasync::RecordAdapter>
    openDatabase(const char *name, std::int32_t mode = vexasync::mode::ReadWriteDelete) const;

private:
    vexasync::Component &component() const; // throws error 429 when not loaded

    vexasync::Component *m_component = nullptr;
    QString m_loadError;
};

} // namespace vexa
