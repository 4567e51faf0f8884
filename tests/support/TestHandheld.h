// A desktop of its own for one test: a temporary sync root with one user
// whose handheld is docked.
#pragma once

#include "vexasync/VexaSync.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vexa::test {

using Bytes = std::vector<std::uint8_t>;

// The component's byte utility, for tests of the record layouts: nothing
// need be docked.
vexasync::ByteUtility &componentBytes();

// A database of the handheld docked now, for child processes that work on
// their parent's handheld.
std::shared_ptr<vexasync::RecordAdapter> openDockedDatabase(const std::string &database);

class TestHandheld {
public:
    // Fresh: a new sync root with a docked user. Attach: the handheld docked
    // now, for a child process working on its parent's handheld.
    enum class Mode { Fresh, Attach };

    explicit TestHandheld(Mode mode = Mode::Fresh);
    ~TestHandheld();

    QString root() const;
    vexasync::Component &component() const;
    vexasync::UserInfo user() const { return m_user; }
    std::string imagePath() const;

    std::shared_ptr<vexasync::RecordAdapter> open(const std::string &database) const;
    // Creates the database (empty) and opens it.
    std::shared_ptr<vexasync::RecordAdapter> create(const std::string &database) const;
    void add(const std::string &database, const std::vector<Bytes> &records) const;
    std::vector<Bytes> records(const std::string &database) const;
    void drop(const std::string &database) const;
    void undock() const;

    // Images that are not what they should be; no adapter may be open.
    enum class Damage { RecordsTableDropped, EmptyFile, NotSqlite };
    void damage(Damage how) const;
    QByteArray imageBytes() const;

private:
    std::optional<QTemporaryDir> m_root;
    QByteArray m_previousRoot;
    vexasync::UserInfo m_user;
};

} // namespace vexa::test
