#include "TestHandheld.h"

#include <QFile>
#include <QtGlobal>

#include <sqlite3.h>

#include <stdexcept>

namespace vexa::test {

std::shared_ptr<vexasync::RecordAdapter> openDockedDatabase(const std::string &database)
{
    return vexasync_component(vexasync::ApiVersion)
        ->createDatabaseOpener()
        ->open(database, vexasync::RecordAdapterClass, vexasync::mode::ReadWriteDelete);
}

TestHandheld::TestHandheld(Mode mode) : m_previousRoot(qgetenv(vexasync::RootVariable))
{
    if (mode == Mode::Attach) {
        auto desktop = component().createDesktop();
        m_user = desktop->findUser(std::to_string(desktop->dockedUser()));
        return;
    }
    m_root.emplace();
    if (!m_root->isValid())
        throw std::runtime_error("no temporary folder");
    qputenv(vexasync::RootVariable, m_root->path().toUtf8());
    auto desktop = component().createDesktop(); // reads the root it is made under
    m_user = desktop->addUser("Test User");
    desktop->dock(m_user.id);
}

QString TestHandheld::root() const
{
    return m_root ? m_root->path() : qEnvironmentVariable(vexasync::RootVariable);
}

TestHandheld::~TestHandheld()
{
    if (!m_root)
        return;
    if (m_previousRoot.isEmpty())
        qunsetenv(vexasync::RootVariable);
    else
        qputenv(vexasync::RootVariable, m_previousRoot);
}

vexasync::ByteUtility &componentBytes()
{
    static const std::unique_ptr<vexasync::ByteUtility> bytes =
        vexasync_component(vexasync::ApiVersion)->createByteUtility();
    return *bytes;
}

vexasync::Component &TestHandheld::component() const
{
    return *vexasync_component(vexasync::ApiVersion);
}

std::string TestHandheld::imagePath() const
{
    return component().createDesktop()->imagePath(m_user.id);
}

std::shared_ptr<vexasync::RecordAdapter> TestHandheld::open(const std::string &database) const
{
    return openDockedDatabase(database);
}

std::shared_ptr<vexasync::RecordAdapter> TestHandheld::create(const std::string &database) const
{
    component().createDesktop()->createDatabase(database);
    return open(database);
}

void TestHandheld::add(const std::string &database, const std::vector<Bytes> &records) const
{
    auto db = create(database);
    db->beginGroup();
    for (const Bytes &r : records)
        db->write(0, 0, 0, r);
    db->commitGroup();
}

std::vector<Bytes> TestHandheld::records(const std::string &database) const
{
    auto db = open(database);
    std::vector<Bytes> all;
    for (std::int32_t i = 0; i < db->recordCount(); ++i)
        all.push_back(db->readByIndex(i).bytes);
    return all;
}

void TestHandheld::drop(const std::string &database) const
{
    component().createDesktop()->dropDatabase(database);
}

void TestHandheld::undock() const
{
    component().createDesktop()->undock();
}

} // namespace vexa::test

namespace vexa::test {

void TestHandheld::damage(Damage how) const
{
    const std::string path = imagePath();
    if (how == Damage::RecordsTableDropped) {
        sqlite3 *db = nullptr;
        sqlite3_open(path.c_str(), &db);
        const int rc = sqlite3_exec(db, "DROP TABLE records", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        if (rc != SQLITE_OK)
            throw std::runtime_error("can't drop the records table");
        return;
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("can't rewrite the image");
    if (how == Damage::NotSqlite)
        file.write(QByteArray("not a handheld image\n").repeated(200));
}

QByteArray TestHandheld::imageBytes() const
{
    QFile file(QString::fromStdString(imagePath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace vexa::test
