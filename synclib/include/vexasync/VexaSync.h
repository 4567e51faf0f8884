// Public interface of the VEXA handheld sync component.
//
// The desktop program loads the component at run time and reaches it only
// through this header: it asks vexasync_component() for the component and
// creates the objects it needs from there. Every failure is thrown as
// vexasync::Error, which carries a number and a description.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(_WIN32)
#if defined(VEXASYNC_BUILDING)
#define VEXASYNC_EXPORT __declspec(dllexport)
#else
#define VEXASYNC_EXPORT __declspec(dllimport)
#endif
#else
#define VEXASYNC_EXPORT __attribute__((visibility("default")))
#endif

namespace vexasync {

// Raised for every failure. Numbers follow the convention of outside
// components: the object-error base 0x80040000 plus 512 plus a code.
class Error : public std::runtime_error {
public:
    Error(std::int32_t number, const std::string &description)
        : std::runtime_error(description), m_number(number)
    {}
    std::int32_t number() const noexcept { return m_number; }

private:
    std::int32_t m_number;
};

namespace error {
constexpr std::int32_t code(std::uint32_t n)
{
    return static_cast<std::int32_t>(0x80040200u + n);
}
// A database, record id or user that does not exist.
constexpr std::int32_t NotFound = code(1); // 80040201
// No handheld is docked, or its image is gone.
constexpr std::int32_t NotDocked = code(2); // 80040202
// A read or write that would reach past the end of a record.
constexpr std::int32_t PastRecordEnd = code(3); // 80040203
// A negative index or count, a bad name, an unknown object number.
constexpr std::int32_t InvalidArgument = code(4); // 80040204
// The adapter was opened without the access the call needs.
constexpr std::int32_t AccessDenied = code(5); // 80040205
// The handheld image or the desktop registry could not be read or written.
constexpr std::int32_t StorageFailure = code(6); // 80040206
// Commit or rollback without an open change group.
constexpr std::int32_t NoChangeGroup = code(7); // 80040207
// An object class that the component does not provide.
constexpr std::int32_t CannotCreateObject = 429;
} // namespace error

inline const char *const NotFoundDescription = "Database, record, etc. not found";

// Opaque to callers: stored and passed back unchanged.
using RecordId = std::uint64_t;

struct Record {
    RecordId id = 0;
    std::int32_t index = -1; // position in its database when it was read
    std::uint32_t attributes = 0;
    std::uint32_t category = 0;
    std::vector<std::uint8_t> bytes;
};

// Open modes: flags that can be combined. The program opens with 208.
namespace mode {
constexpr std::int32_t Read = 0x80;
constexpr std::int32_t Write = 0x40;
constexpr std::int32_t Delete = 0x10;
constexpr std::int32_t ReadWriteDelete = Read | Write | Delete; // 208
} // namespace mode

inline const char *const RecordAdapterClass = "PDDirect.PDRecordAdapter";

// One database of the docked handheld. Records keep a fixed order (their
// index); deleting a record moves every later record down by one.
class RecordAdapter {
public:
    virtual ~RecordAdapter() = default;

    virtual std::string databaseName() const = 0;
    virtual std::int32_t recordCount() = 0;
    virtual Record readByIndex(std::int32_t index) = 0;
    virtual Record readById(RecordId id) = 0;
    // Id 0 appends a new record and returns its id; any other id replaces
    // that record's values and bytes where it stands.
    virtual RecordId write(RecordId id, std::uint32_t attributes, std::uint32_t category,
                           std::span<const std::uint8_t> bytes) = 0;
    virtual void remove(RecordId id) = 0;
    // Ids of the records at indexes start .. start + count - 1 that exist.
    virtual std::vector<RecordId> idsOfRange(std::int32_t start, std::int32_t count) = 0;
    // Deletes the records whose category (its low byte) lies in
    // firstCategory .. lastCategory; 0 and 255 empty the database.
    virtual void removeAll(std::int32_t firstCategory, std::int32_t lastCategory) = 0;

    // Change groups span every database of the handheld. Changes made inside
    // a group are kept only when the outermost group is committed; a crash
    // before that leaves the handheld as it was. Groups nest, and an inner
    // group can be rolled back on its own.
    virtual void beginGroup() = 0;
    virtual void commitGroup() = 0;
    virtual void rollbackGroup() = 0;
    virtual int groupDepth() const = 0;
};

// Multi-byte values in records are big-endian, the handheld's order; the
// flag handheldOrder = true selects it, false the desktop's little-endian.
class ByteUtility {
public:
    virtual ~ByteUtility() = default;
    virtual std::int16_t readInt16(std::span<const std::uint8_t> bytes, std::size_t offset,
                                   bool handheldOrder) = 0;
    virtual std::int32_t readInt32(std::span<const std::uint8_t> bytes, std::size_t offset,
                                   bool handheldOrder) = 0;
    // Single-byte text from the offset up to a zero byte, the record's end or
    // `limit` characters, whichever comes first.
    virtual std::string readText(std::span<const std::uint8_t> bytes, std::size_t offset,
                                 std::size_t limit) = 0;
    virtual void writeInt16(std::span<std::uint8_t> bytes, std::size_t offset, bool handheldOrder,
                            std::int16_t value) = 0;
};

class UserDirectory {
public:
    virtual ~UserDirectory() = default;
    virtual std::vector<std::uint32_t> userIds() = 0;
    virtual std::string userFolder(std::uint32_t userId) = 0;
    virtual std::string userName(std::uint32_t userId) = 0;
};

class SyncFolders {
public:
    virtual ~SyncFolders() = default;
    // Folder 0 is the sync data root, which holds one folder per user.
    virtual std::string rootFolder(std::int32_t which) = 0;
};

class SyncStatus {
public:
    virtual ~SyncStatus() = default;
    // True while a handheld is docked and its image exists.
    virtual bool inProgress() = 0;
    // The id of the handheld user whose synchronisation runs (the docked
    // one), 0 when none is; it stays while the image is gone.
    virtual std::uint32_t dockedUser() = 0;
};

class DatabaseOpener {
public:
    virtual ~DatabaseOpener() = default;
    virtual std::shared_ptr<RecordAdapter>
    open(const std::string &database, const std::string &adapterClass, std::int32_t mode) = 0;
};

struct UserInfo {
    std::uint32_t id = 0;
    std::string name;
    std::string folder;
};

// Desktop administration, for the handheld tool, the demo handheld and
// tests: users, docking, and the databases of the docked handheld. The
// desktop program itself never uses it.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual std::string rootFolder() = 0;
    virtual UserInfo addUser(const std::string &name) = 0;
    virtual std::vector<UserInfo> users() = 0;
    virtual UserInfo findUser(const std::string &idOrName) = 0;
    // The handheld image of a user: one file holding all its databases.
    virtual std::string imagePath(std::uint32_t userId) = 0;
    virtual void dock(std::uint32_t userId) = 0;
    virtual void undock() = 0;
    // The docked user's id, 0 when none is docked.
    virtual std::uint32_t dockedUser() = 0;
    virtual std::vector<std::string> databaseNames() = 0;
    virtual void createDatabase(const std::string &name) = 0;
    virtual void dropDatabase(const std::string &name) = 0;
};

class Component {
public:
    virtual ~Component() = default;
    virtual std::unique_ptr<UserDirectory> createUserDirectory() = 0;
    virtual std::unique_ptr<SyncFolders> createSyncFolders() = 0;
    virtual std::unique_ptr<SyncStatus> createSyncStatus() = 0;
    virtual std::unique_ptr<DatabaseOpener> createDatabaseOpener() = 0;
    virtual std::unique_ptr<ByteUtility> createByteUtility() = 0;
    virtual std::unique_ptr<Desktop> createDesktop() = 0;
};

// Environment variable naming the sync data root; without it the root is a
// "VEXASync" folder in the user's data folder.
inline const char *const RootVariable = "VEXA_SYNC_ROOT";

// 2: SyncStatus::dockedUser(). A component serves only its own version.
constexpr int ApiVersion = 2;

} // namespace vexasync

extern "C" {
// The one entry point; returns nullptr when apiVersion is not supported.
VEXASYNC_EXPORT vexasync::Component *vexasync_component(int apiVersion);
using VexaSyncEntry = vexasync::Component *(*)(int apiVersion);
}
