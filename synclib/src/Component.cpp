// The component's objects and its entry point.
#include "Desktop.h"
#include "HandheldImage.h"

#include <cstring>

namespace vexasync {

namespace {

namespace fs = std::filesystem;

using Access = HandheldImage::Access;

std::shared_ptr<HandheldImage> dockedImage(Access access)
{
    const fs::path path = DesktopRegistry().dockedImage();
    if (path.empty() || !fs::exists(path))
        throw Error(error::NotDocked, "No handheld synchronisation is in progress");
    return HandheldImage::open(path.string(), access);
}

class RecordAdapterImpl final : public RecordAdapter {
public:
    RecordAdapterImpl(std::shared_ptr<HandheldImage> image, std::string name, std::int32_t mode)
        : m_image(std::move(image)), m_name(std::move(name)), m_mode(mode)
    {
        id(); // fails now when the database is missing
    }

    std::string databaseName() const override { return m_name; }

    std::int32_t recordCount() override
    {
        need(mode::Read);
        const std::int64_t db = id();
        return m_image->order(db).count();
    }

    Record readByIndex(std::int32_t index) override
    {
        need(mode::Read);
        const std::int64_t db = id(HandheldImage::Freshness::AsLastChecked);
        RecordOrder &order = m_image->order(db);
        if (index < 0 || index >= order.count())
            throw Error(error::NotFound, NotFoundDescription);
        Record record = m_image->read(db, order.idAt(index));
        record.index = index;
        return record;
    }

    Record readById(RecordId recordId) override
    {
        need(mode::Read);
        const std::int64_t db = id(HandheldImage::Freshness::AsLastChecked);
        const std::int32_t index = m_image->order(db).indexOf(recordId);
        if (index < 0)
            throw Error(error::NotFound, NotFoundDescription);
        Record record = m_image->read(db, recordId);
        record.index = index;
        return record;
    }

    RecordId write(RecordId recordId, std::uint32_t attributes, std::uint32_t category,
                   std::span<const std::uint8_t> bytes) override
    {
        need(mode::Write);
        if (recordId == 0)
            return m_image->append(id(), attributes, category, bytes);
        m_image->replace(id(), recordId, attributes, category, bytes);
        return recordId;
    }

    void remove(RecordId recordId) override
    {
        need(mode::Delete);
        m_image->remove(id(), recordId);
    }

    std::vector<RecordId> idsOfRange(std::int32_t start, std::int32_t count) override
    {
        need(mode::Read);
        if (start < 0 || count < 0)
            throw Error(error::InvalidArgument, "Invalid record range");
        const std::int64_t db = id();
        RecordOrder &order = m_image->order(db);
        const std::int64_t end = std::min<std::int64_t>(std::int64_t{start} + count, order.count());
        std::vector<RecordId> ids;
        for (std::int64_t i = start; i < end; ++i)
            ids.push_back(order.idAt(static_cast<std::int32_t>(i)));
        return ids;
    }

    void removeAll(std::int32_t firstCategory, std::int32_t lastCategory) override
    {
        need(mode::Delete);
        m_image->removeCategories(id(), firstCategory, lastCategory);
    }

    void beginGroup() override { m_image->beginGroup(); }
    void commitGroup() override { m_image->commitGroup(); }
    void rollbackGroup() override { m_image->rollbackGroup(); }
    int groupDepth() const override { return m_image->groupDepth(); }

private:
    // Every call starts here: it also notices changes made by other processes.
    std::int64_t id(HandheldImage::Freshness freshness = HandheldImage::Freshness::Check)
    {
        return m_image->databaseId(m_name, freshness);
    }

    void need(std::int32_t access) const
    {
        if ((m_mode & access) == 0)
            throw Error(error::AccessDenied, "The database " + m_name + " was not opened for this");
    }

    std::shared_ptr<HandheldImage> m_image;
    std::string m_name;
    std::int32_t m_mode;
};

class ByteUtilityImpl final : public ByteUtility {
public:
    std::int16_t readInt16(std::span<const std::uint8_t> bytes, std::size_t offset,
                           bool handheldOrder) override
    {
        return static_cast<std::int16_t>(read(bytes, offset, 2, handheldOrder));
    }

    std::int32_t readInt32(std::span<const std::uint8_t> bytes, std::size_t offset,
                           bool handheldOrder) override
    {
        return static_cast<std::int32_t>(read(bytes, offset, 4, handheldOrder));
    }

    std::string readText(std::span<const std::uint8_t> bytes, std::size_t offset,
                         std::size_t limit) override
    {
        if (offset > bytes.size())
            pastEnd(offset, bytes.size());
        std::string text;
        for (std::size_t i = offset; i < bytes.size() && bytes[i] != 0 && text.size() < limit; ++i)
            text += static_cast<char>(bytes[i]);
        return text;
    }

    void writeInt16(std::span<std::uint8_t> bytes, std::size_t offset, bool handheldOrder,
                    std::int16_t value) override
    {
        check(bytes.size(), offset, 2);
        const auto v = static_cast<std::uint16_t>(value);
        const std::uint8_t high = static_cast<std::uint8_t>(v >> 8);
        const std::uint8_t low = static_cast<std::uint8_t>(v & 0xFF);
        bytes[offset] = handheldOrder ? high : low;
        bytes[offset + 1] = handheldOrder ? low : high;
    }

private:
    [[noreturn]] static void pastEnd(std::size_t offset, std::size_t size)
    {
        throw Error(error::PastRecordEnd, "Read past the end of the record (offset " +
                                              std::to_string(offset) + " of a " +
                                              std::to_string(size) + "-byte record)");
    }

    static void check(std::size_t size, std::size_t offset, std::size_t width)
    {
        if (offset > size || size - offset < width)
            pastEnd(offset, size);
    }

    static std::uint32_t read(std::span<const std::uint8_t> bytes, std::size_t offset,
                              std::size_t width, bool handheldOrder)
    {
        check(bytes.size(), offset, width);
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t at = handheldOrder ? offset + i : offset + width - 1 - i;
            value = (value << 8) | bytes[at];
        }
        return value;
    }
};

class UserDirectoryImpl final : public UserDirectory {
public:
    std::vector<std::uint32_t> userIds() override
    {
        std::vector<std::uint32_t> ids;
        for (const UserInfo &u : m_registry.users())
            ids.push_back(u.id);
        return ids;
    }
    std::string userFolder(std::uint32_t userId) override { return m_registry.user(userId).folder; }
    std::string userName(std::uint32_t userId) override { return m_registry.user(userId).name; }

private:
    DesktopRegistry m_registry;
};

class SyncFoldersImpl final : public SyncFolders {
public:
    std::string rootFolder(std::int32_t which) override
    {
        if (which != 0)
            throw Error(error::InvalidArgument, "Unknown sync folder " + std::to_string(which));
        return DesktopRegistry().root().make_preferred().string();
    }
};

class SyncStatusImpl final : public SyncStatus {
public:
    bool inProgress() override
    {
        const fs::path image = DesktopRegistry().dockedImage();
        return !image.empty() && fs::exists(image);
    }
    std::uint32_t dockedUser() override { return DesktopRegistry().dockedUser(); }
};

class DatabaseOpenerImpl final : public DatabaseOpener {
public:
    std::shared_ptr<RecordAdapter> open(const std::string &database,
                                        const std::string &adapterClass,
                                        std::int32_t openMode) override
    {
        if (adapterClass != RecordAdapterClass)
            throw Error(error::CannotCreateObject, "Can't create object of class " + adapterClass);
        if ((openMode & mode::ReadWriteDelete) == 0)
            throw Error(error::InvalidArgument, "Invalid open mode " + std::to_string(openMode));
        // A reader alone opens the image read-only.
        const Access access =
            (openMode & (mode::Write | mode::Delete)) == 0 ? Access::ReadOnly : Access::ReadWrite;
        return std::make_shared<RecordAdapterImpl>(dockedImage(access), database, openMode);
    }
};

class DesktopImpl final : public Desktop {
public:
    std::string rootFolder() override { return m_registry.root().string(); }
    UserInfo addUser(const std::string &name) override { return m_registry.addUser(name); }
    std::vector<UserInfo> users() override { return m_registry.users(); }

    UserInfo findUser(const std::string &idOrName) override
    {
        for (const UserInfo &u : m_registry.users())
            if (u.name == idOrName || std::to_string(u.id) == idOrName)
                return u;
        throw Error(error::NotFound, "Unknown user " + idOrName);
    }

    std::string imagePath(std::uint32_t userId) override
    {
        return m_registry.imagePath(m_registry.user(userId)).string();
    }

    void dock(std::uint32_t userId) override
    {
        const UserInfo user = m_registry.user(userId);
        const fs::path image = m_registry.imagePath(user);
        if (!fs::exists(image))
            HandheldImage::open(image.string(), Access::Create); // an empty handheld
        m_registry.setDockedUser(userId);
    }

    void undock() override
    {
        if (m_registry.exists())
            m_registry.setDockedUser(0);
    }

    std::uint32_t dockedUser() override { return m_registry.dockedUser(); }
    std::vector<std::string> databaseNames() override
    {
        return dockedImage(Access::ReadOnly)->databaseNames();
    }
    void createDatabase(const std::string &name) override
    {
        dockedImage(Access::Create)->createDatabase(name);
    }
    void dropDatabase(const std::string &name) override
    {
        dockedImage(Access::ReadWrite)->dropDatabase(name);
    }

private:
    DesktopRegistry m_registry;
};

class ComponentImpl final : public Component {
public:
    std::unique_ptr<UserDirectory> createUserDirectory() override
    {
        return std::make_unique<UserDirectoryImpl>();
    }
    std::unique_ptr<SyncFolders> createSyncFolders() override
    {
        return std::make_unique<SyncFoldersImpl>();
    }
    std::unique_ptr<SyncStatus> createSyncStatus() override
    {
        return std::make_unique<SyncStatusImpl>();
    }
    std::unique_ptr<DatabaseOpener> createDatabaseOpener() override
    {
        return std::make_unique<DatabaseOpenerImpl>();
    }
    std::unique_ptr<ByteUtility> createByteUtility() override
    {
        return std::make_unique<ByteUtilityImpl>();
    }
    std::unique_ptr<Desktop> createDesktop() override { return std::make_unique<DesktopImpl>(); }
};

} // namespace

} // namespace vexasync

extern "C" VEXASYNC_EXPORT vexasync::Component *vexasync_component(int apiVersion)
{
    static vexasync::ComponentImpl component;
    return apiVersion == vexasync::ApiVersion ? &component : nullptr;
}
