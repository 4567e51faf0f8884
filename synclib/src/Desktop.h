// The desktop side of the component: the sync data root, its registry of
// handheld users and which user's handheld is docked.
#pragma once

#include "vexasync/VexaSync.h"

#include <filesystem>

namespace vexasync {

// The sync data root: VEXA_SYNC_ROOT, else a folder in the user's data folder.
std::filesystem::path syncRoot();

class DesktopRegistry {
public:
    DesktopRegistry(); // reads the root as it is now

    std::filesystem::path root() const { return m_root; }
    bool exists() const;
    std::vector<UserInfo> users() const;
    UserInfo user(std::uint32_t id) const; // throws NotFound
    UserInfo addUser(const std::string &name);
    std::uint32_t dockedUser() const;
    void setDockedUser(std::uint32_t id);
    std::filesystem::path imagePath(const UserInfo &user) const;
    // The docked user's image path; empty when none is docked.
    std::filesystem::path dockedImage() const;

private:
    std::filesystem::path registryFile() const;
    std::filesystem::path m_root;
};

} // namespace vexasync
