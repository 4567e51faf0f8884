#include "SyncComponent.h"

#include "core/RuntimeError.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace vexa {

SyncComponent::SyncComponent(const QString &folder)
{
    const QString dir = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    // Never unloaded: objects it made may outlive this loader.
    QLibrary library(QDir(dir).filePath(QStringLiteral("vexasync")));
    if (!library.load()) {
        m_loadError = library.errorString();
        if (!folder.isEmpty())
            return;
        // Installed: the component's own folder beside the programs' (from a
        // build folder it is the programs' folder itself).
        library.setFileName(
            QDir(dir).filePath(QStringLiteral(VEXA_COMPONENT_FROM_BIN "/vexasync")));
        if (!library.load())
            return;
    }
    const auto entry = reinterpret_cast<VexaSyncEntry>(library.resolve("vexasync_component"));
    m_component = entry ? entry(vexasync::ApiVersion) : nullptr;
    if (!m_component)
        m_loadError =
            QStringLiteral("%1 is not a compatible sync component").arg(library.fileName());
}

vexasync::Component &SyncComponent::component() const
{
    if (!m_component)
        throw RuntimeError(ErrorNumber::CannotCreateObject,
                           QStringLiteral("Can't create object: the sync component could not be "
                                          "loaded (%1)")
                               .arg(m_loadError));
    return *m_component;
}

std::unique_ptr<vexasync::UserDirectory> SyncComponent::createUserDirectory() const
{
    return component().createUserDirectory();
}

std::unique_ptr<vexasync::SyncFolders> SyncComponent::createSyncFolders() const
{
    return component().createSyncFolders();
}

std::unique_ptr<vexasync::SyncStatus> SyncComponent::createSyncStatus() const
{
    return component().createSyncStatus();
}

std::unique_ptr<vexasync::DatabaseOpener> SyncComponent::createDatabaseOpener() const
{
    return component().createDatabaseOpener();
}

std::unique_ptr<vexasync::ByteUtility> SyncComponent::createByteUtility() const
{
    return component().createByteUtility();
}

std::uint32_t SyncComponent::dockedUser() const
{
    return createSyncStatus()->dockedUser();
}

QString SyncComponent::userFolder(std::uint32_t user) const
{
    const QString root = QString::fromStdString(createSyncFolders()->rootFolder(0));
    return QDir(root).filePath(QString::fromStdString(createUserDirectory()->userFolder(user)));
}

QString SyncComponent::dockedUserFolder() const
{
    const std::uint32_t user = dockedUser();
    return user == 0 ? QString() : userFolder(user);
}

std::shared_ptr<vexasync::RecordAdapter> SyncComponent::openDatabase(const char *name,
                                                                     std::int32_t mode) const
{
    return createDatabaseOpener()->open(name, vexasync::RecordAdapterClass, mode);
}

} // namespace vexa
