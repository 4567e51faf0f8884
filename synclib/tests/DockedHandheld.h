// A desktop of its own for one test: a temporary sync root with one user
// whose handheld is docked.
#pragma once

#include "vexasync/VexaSync.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vexasync::test {

using Bytes = std::vector<std::uint8_t>;

// The number of the component error `call` throws; 0 when it throws none.
std::int32_t errorNumber(const std::function<void()> &call);
// The whole file; empty when it can't be read.
std::string fileContents(const std::filesystem::path &file);

class DockedHandheld {
public:
    // Fresh: a new sync root with a docked user. Attach: the handheld docked
    // now, for a child process working on its parent's handheld.
    enum class Mode { Fresh, Attach };

    explicit DockedHandheld(Mode mode = Mode::Fresh);
    ~DockedHandheld();
    DockedHandheld(const DockedHandheld &) = delete;
    DockedHandheld &operator=(const DockedHandheld &) = delete;

    // The sync root of the test's environment, left as it was when attached.
    const std::filesystem::path &rootPath() const { return m_root; }
    Component &component() const;
    UserInfo user() const { return m_user; }
    std::string imagePath() const;

    std::shared_ptr<RecordAdapter> open(const std::string &database) const;
    // Creates the database (empty) and opens it.
    std::shared_ptr<RecordAdapter> create(const std::string &database) const;
    void add(const std::string &database, const std::vector<Bytes> &records) const;
    std::vector<Bytes> records(const std::string &database) const;
    void drop(const std::string &database) const;
    void undock() const;

    // Images that are not what they should be; no adapter may be open.
    enum class Damage { RecordsTableDropped, EmptyFile, NotSqlite };
    void damage(Damage how) const;
    std::string imageBytes() const;

private:
    Mode m_mode;
    std::filesystem::path m_root;
    std::optional<std::string> m_previousRoot;
    UserInfo m_user;
};

} // namespace vexasync::test
