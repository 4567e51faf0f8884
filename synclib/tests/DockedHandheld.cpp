#include "DockedHandheld.h"

#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace vexasync::test {

namespace fs = std::filesystem;

namespace {

void setVariable(const char *name, const std::optional<std::string> &value)
{
#if defined(_WIN32)
    _putenv_s(name, value ? value->c_str() : "");
#else
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
#endif
}

fs::path newTemporaryFolder()
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder =
            fs::temp_directory_path() / ("vexasync-test-" + std::to_string(random()));
        if (fs::create_directory(folder))
            return folder;
    }
    throw std::runtime_error("no temporary folder");
}

} // namespace

std::int32_t errorNumber(const std::function<void()> &call)
{
    try {
        call();
    } catch (const Error &e) {
        return e.number();
    }
    return 0;
}

DockedHandheld::DockedHandheld(Mode mode) : m_mode(mode)
{
    if (mode == Mode::Attach) {
        auto desktop = component().createDesktop();
        m_root = desktop->rootFolder();
        m_user = desktop->findUser(std::to_string(desktop->dockedUser()));
        return;
    }
    if (const char *previous = std::getenv(RootVariable))
        m_previousRoot = previous;
    m_root = newTemporaryFolder();
    setVariable(RootVariable, m_root.string());
    auto desktop = component().createDesktop(); // reads the root it is made under
    m_user = desktop->addUser("Test User");
    desktop->dock(m_user.id);
}

DockedHandheld::~DockedHandheld()
{
    if (m_mode == Mode::Attach)
        return;
    setVariable(RootVariable, m_previousRoot);
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
}

Component &DockedHandheld::component() const
{
    return *vexasync_component(ApiVersion);
}

std::string DockedHandheld::imagePath() const
{
    return component().createDesktop()->imagePath(m_user.id);
}

std::shared_ptr<RecordAdapter> DockedHandheld::open(const std::string &database) const
{
    return component().createDatabaseOpener()->open(database, RecordAdapterClass,
                                                    mode::ReadWriteDelete);
}

std::shared_ptr<RecordAdapter> DockedHandheld::create(const std::string &database) const
{
    component().createDesktop()->createDatabase(database);
    return open(database);
}

void DockedHandheld::add(const std::string &database, const std::vector<Bytes> &records) const
{
    auto db = create(database);
    db->beginGroup();
    for (const Bytes &r : records)
        db->write(0, 0, 0, r);
    db->commitGroup();
}

std::vector<Bytes> DockedHandheld::records(const std::string &database) const
{
    auto db = open(database);
    std::vector<Bytes> all;
    for (std::int32_t i = 0; i < db->recordCount(); ++i)
        all.push_back(db->readByIndex(i).bytes);
    return all;
}

void DockedHandheld::drop(const std::string &database) const
{
    component().createDesktop()->dropDatabase(database);
}

void DockedHandheld::undock() const
{
    component().createDesktop()->undock();
}

void DockedHandheld::damage(Damage how) const
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
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        throw std::runtime_error("can't rewrite the image");
    if (how == Damage::NotSqlite)
        for (int i = 0; i < 200; ++i)
            file << "not a handheld image\n";
}

std::string DockedHandheld::imageBytes() const
{
    return fileContents(imagePath());
}

std::string fileContents(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace vexasync::test
