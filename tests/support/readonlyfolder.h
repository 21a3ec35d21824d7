#pragma once

#include <filesystem>
#include <string>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

inline constexpr uid_t kNobody = 65534;

// Root's way: `dir` bound read-only onto itself in a mount namespace of this
// process's own. Allocates nothing, so a child process may call it before exec.
inline bool mountFolderReadOnly(const char* dir) {
    static const bool ownNamespace =
        ::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    if (!ownNamespace || ::mount(dir, dir, nullptr, MS_BIND, nullptr) != 0)
        return false;
    if (::mount(nullptr, dir, nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0)
        return true;
    ::umount2(dir, MNT_DETACH);
    return false;
}

// Makes a folder and the files in it read-only for this process and the ones
// it starts, until the object goes. For a user its permissions do it; root,
// whom permissions do not stop, gets a read-only bind mount in a mount
// namespace of the process's own (writes fail with "Read-only file system", as
// on a disk the kernel remounted after errors), or, where mounting is not
// allowed, gives up root for the time being. how() says which was done.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::filesystem::path& dir) : m_dir(dir) {
        if (::geteuid() == 0 && mountReadOnly()) {
            m_how = "a read-only bind mount";
            return;
        }
        for (const auto& e : std::filesystem::directory_iterator(dir))
            ::chmod(e.path().c_str(), 0444);
        ::chmod(dir.c_str(), 0555);
        m_how = "read-only permissions";
        if (::geteuid() == 0) {
            // Others must reach the folder while root is given up.
            ::chmod(dir.parent_path().c_str(), 0755);
            m_dropped = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
            m_how += m_dropped ? " for the user nobody" : " (but still root)";
        }
    }
    ~ReadOnlyFolder() {
        if (m_mounted)
            ::umount2(m_dir.c_str(), MNT_DETACH);
        if (m_dropped) {
            (void)::seteuid(0);
            (void)::setegid(0);
        }
        ::chmod(m_dir.c_str(), 0700);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // False when writing in the folder would still succeed.
    bool readOnly() const { return m_mounted || m_dropped || ::geteuid() != 0; }
    const std::string& how() const { return m_how; }

private:
    bool mountReadOnly() {
        m_mounted = mountFolderReadOnly(m_dir.c_str());
        return m_mounted;
    }

    std::filesystem::path m_dir;
    std::string m_how;
    bool m_mounted = false;
    bool m_dropped = false;
};
