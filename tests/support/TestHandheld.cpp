#include "TestHandheld.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <stdexcept>

namespace vexa::test {

QString TestHandheld::backupFolder(const vexasync::UserInfo &user) const
{
    return root() + "/" + QString::fromStdString(user.folder) + "/backup";
}

void TestHandheld::putProgramCopies(const vexasync::UserInfo &user,
                                    const std::vector<ProgramCopy> &copies) const
{
    const QString folder = backupFolder(user);
    const QDateTime now = QDateTime::currentDateTime();
    QDir().mkpath(folder);
    for (const ProgramCopy &c : copies) {
        QFile f(folder + "/" + c.name);
        // Flushed, not closed: closing would write, and stamp, the file again.
        if (!f.open(QIODevice::WriteOnly) || f.write("program") != 7 || !f.flush() ||
            !f.setFileTime(now.addSecs(-60 * c.ageMinutes), QFileDevice::FileModificationTime))
            throw std::runtime_error(std::string("can't put ") + c.name);
    }
}

vexasync::ByteUtility &componentBytes()
{
    static const std::unique_ptr<vexasync::ByteUtility> bytes =
        vexasync_component(vexasync::ApiVersion)->createByteUtility();
    return *bytes;
}

} // namespace vexa::test
