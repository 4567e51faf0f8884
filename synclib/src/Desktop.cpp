#include "Desktop.h"

#include "Sqlite.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

namespace vexasync {

namespace fs = std::filesystem;

namespace {

const char *const RegistrySchema = R"sql(
    CREATE TABLE IF NOT EXISTS users(
        id     INTEGER PRIMARY KEY,
        name   TEXT NOT NULL,
        folder TEXT NOT NULL UNIQUE);
    CREATE TABLE IF NOT EXISTS state(
        key   TEXT PRIMARY KEY,
        value INTEGER NOT NULL);
)sql";

const char *const ImageFileName = "handheld.sqlite";
constexpr std::uint32_t FirstUserId = 1001;

fs::path pathFromEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value ? fs::path(value) : fs::path();
}

// A folder name made of the name's letters and digits, like the desktop
// software makes them.
std::string folderFor(const std::string &name, const std::set<std::string> &taken)
{
    std::string base;
    for (const char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)) && base.size() < 16)
            base += c;
    if (base.empty())
        base = "User";
    std::string folder = base;
    for (int n = 2; taken.count(folder); ++n)
        folder = base + std::to_string(n);
    return folder;
}

} // namespace

fs::path syncRoot()
{
    if (fs::path root = pathFromEnvironment(RootVariable); !root.empty())
        return root;
#if defined(_WIN32)
    return pathFromEnvironment("APPDATA") / "VEXASync";
#else
    if (fs::path data = pathFromEnvironment("XDG_DATA_HOME"); !data.empty())
        return data / "VEXASync";
    return pathFromEnvironment("HOME") / ".local" / "share" / "VEXASync";
#endif
}

DesktopRegistry::DesktopRegistry() : m_root(syncRoot()) {}

fs::path DesktopRegistry::registryFile() const
{
    return m_root / "desktop.sqlite";
}

bool DesktopRegistry::exists() const
{
    return fs::exists(registryFile());
}

std::vector<UserInfo> DesktopRegistry::users() const
{
    std::vector<UserInfo> list;
    if (!exists())
        return list;
    sqlite::Connection db(registryFile().string(), sqlite::Connection::ReadWrite);
    // users: id, name, folder, in the order they were added
    sqlite::Statement query(db, "SELECT id, name, folder FROM users ORDER BY rowid");
    while (query.step())
        list.push_back(
            {static_cast<std::uint32_t>(query.integer(0)), query.text(1), query.text(2)});
    return list;
}

UserInfo DesktopRegistry::user(std::uint32_t id) const
{
    for (const UserInfo &u : users())
        if (u.id == id)
            return u;
    throw Error(error::NotFound, NotFoundDescription);
}

UserInfo DesktopRegistry::addUser(const std::string &name)
{
    if (name.empty())
        throw Error(error::InvalidArgument, "A user needs a name");
    std::error_code ec;
    fs::create_directories(m_root, ec);
    if (ec)
        throw Error(error::StorageFailure, "Can't create " + m_root.string() + ": " + ec.message());
    sqlite::Connection db(registryFile().string(), sqlite::Connection::Create);
    db.exec(RegistrySchema);
    db.exec("BEGIN IMMEDIATE");
    try {
        std::set<std::string> taken;
        std::uint32_t id = FirstUserId;
        for (const UserInfo &u : users()) {
            taken.insert(u.folder);
            id = std::max(id, u.id + 1);
        }
        UserInfo added{id, name, folderFor(name, taken)};
        sqlite::Statement(db, "INSERT INTO users(id, name, folder) VALUES (?1, ?2, ?3)")
            .bind(1, added.id)
            .bind(2, added.name)
            .bind(3, added.folder)
            .run();
        fs::create_directories(m_root / added.folder / "backup", ec);
        if (ec)
            throw Error(error::StorageFailure,
                        "Can't create the folder of " + name + ": " + ec.message());
        db.exec("COMMIT");
        return added;
    } catch (...) {
        db.exec("ROLLBACK");
        throw;
    }
}

std::uint32_t DesktopRegistry::dockedUser() const
{
    if (!exists())
        return 0;
    sqlite::Connection db(registryFile().string(), sqlite::Connection::ReadWrite);
    sqlite::Statement query(db, "SELECT value FROM state WHERE key = 'docked'");
    return query.step() ? static_cast<std::uint32_t>(query.integer(0)) : 0;
}

void DesktopRegistry::setDockedUser(std::uint32_t id)
{
    if (!exists())
        throw Error(error::NotFound, NotFoundDescription);
    sqlite::Connection db(registryFile().string(), sqlite::Connection::ReadWrite);
    sqlite::Statement(db, "INSERT OR REPLACE INTO state(key, value) VALUES ('docked', ?1)")
        .bind(1, id)
        .run();
}

fs::path DesktopRegistry::imagePath(const UserInfo &user) const
{
    return m_root / user.folder / ImageFileName;
}

fs::path DesktopRegistry::dockedImage() const
{
    const std::uint32_t id = dockedUser();
    if (id == 0)
        return {};
    for (const UserInfo &u : users())
        if (u.id == id)
            return imagePath(u);
    return {};
}

} // namespace vexasync
