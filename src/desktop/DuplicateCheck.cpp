#include "DuplicateCheck.h"

#include "store/SyncComponent.h"

#include <QDir>

namespace vexa {

namespace {

QString fromComponent(const std::string &text)
{
    return QString::fromStdString(text);
}

// Checks one user; false when the user answered No and the check ends.
bool checkUser(vexasync::UserDirectory &users, std::uint32_t user, const QString &root,
               UserInterface &ui, FileSystem &files)
{
    const QString sep = QDir::separator();
    const QString backup =
        root + sep + fromComponent(users.userFolder(user)) + sep + QStringLiteral("backup") + sep;
    if (files.matchingFiles(backup, ProgramPattern).size() < 2)
        return true;
    const QString name = fromComponent(users.userName(user));
    if (!ui.ask(
            QStringLiteral("Multiple copies of the VEXA program have been found for user '%1'.  "
                           "Would you like to delete the older copies?")
                .arg(name)))
        return false;
    const QStringList copies = files.matchingFiles(backup, ProgramPattern);
    QList<QDateTime> times;
    for (const QString &copy : copies)
        times << files.modificationTime(backup + copy);
    const int newest = newestCopy(times);
    for (int i = 0; i < copies.size(); ++i)
        if (i != newest)
            files.remove(backup + copies[i]);
    return true;
}

} // namespace

int newestCopy(const QList<QDateTime> &times)
{
    int newest = 0;
    for (int i = 1; i < times.size(); ++i)
        if (times[i] > times[newest])
            newest = i;
    return newest;
}

void runDuplicateCheck(const SyncComponent &sync, UserInterface &ui, FileSystem &files)
{
    try {
        const auto users = sync.createUserDirectory();
        const std::vector<std::uint32_t> ids = users->userIds();
        const QString root =
            QDir::toNativeSeparators(fromComponent(sync.createSyncFolders()->rootFolder(0)));
        for (const std::uint32_t user : ids)
            if (!checkUser(*users, user, root, ui, files))
                return;
    } catch (...) {
        // Whatever went wrong, start-up goes on; copies already deleted stay deleted.
    }
}

} // namespace vexa
