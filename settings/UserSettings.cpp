#include "settings/UserSettings.h"

#include "base/FileIo.h"
#include "settings/UserSettingsCodec.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tickerlux::settings {
namespace {

std::string ConfigHome()
{
    // XDG: a relative XDG_CONFIG_HOME is invalid and ignored.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : "/";
    }
    return std::string(home) + "/.config";
}

// The store is a few kilobytes; anything far larger is not ours to load whole.
constexpr std::size_t kMaxStoreBytes = 16u << 20;

base::Failure SystemFailure(base::FailureKind kind, const std::string& where, int error)
{
    return {kind, where, std::strerror(error)};
}

// The store file as it is now; an absent file is an empty store.
struct StoreReading {
    regfile::CRegFile file;
    UserSettings settings;
    base::Failure failure;
};

StoreReading ReadStore()
{
    StoreReading reading;
    const std::string path = UserStorePath();
    std::string text;
    const base::Status status = base::ReadAll(path, text, kMaxStoreBytes);
    if (!status.Ok() && status.error != ENOENT) {
        reading.failure = {base::FailureKind::StoreUnreadable, path, status.Reason()};
        return reading;
    }
    reading.file = regfile::CRegFile::Parse(text);
    reading.failure = usercodec::Decode(reading.file, path, reading.settings);
    return reading;
}

// Holds the store's own lock file locked while it lives. The store file itself is replaced by
// rename, so the lock lives on a file of its own.
class CStoreLock {
public:
    // Only a regular file is locked: a link is not followed (O_NOFOLLOW), and a pipe or device
    // put in its place is neither waited on (O_NONBLOCK) nor used.
    explicit CStoreLock(const std::string& path)
        : m_fd(open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                    0600))
    {
        struct stat info {};
        if (m_fd < 0 && errno != ELOOP) {
            m_failure = SystemFailure(base::FailureKind::LockFailed, path, errno);
            return;
        }
        if (m_fd < 0 || fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            m_failure = {base::FailureKind::LockUnusable, path, "not a regular file"};
            return;
        }
        while (flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                m_failure = SystemFailure(base::FailureKind::LockFailed, path, errno);
                return;
            }
        }
    }
    ~CStoreLock()
    {
        if (m_fd >= 0)
            close(m_fd);  // releases the lock
    }
    CStoreLock(const CStoreLock&) = delete;
    CStoreLock& operator=(const CStoreLock&) = delete;

    const base::Failure& Failure() const { return m_failure; }

private:
    int m_fd;
    base::Failure m_failure;
};

} // namespace

std::string UserStoreFolder()
{
    return ConfigHome() + "/tickerlux";
}

std::string UserStorePath()
{
    return UserStoreFolder() + "/user.reg";
}

base::Failure MakeUserStoreFolder()
{
    const std::string path = UserStoreFolder();
    for (std::size_t slash = 1; slash != std::string::npos;) {
        slash = path.find('/', slash + 1);
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return SystemFailure(base::FailureKind::StoreNotSaved, part, errno);
    }
    return {};
}

LoadedUserSettings LoadUserSettings()
{
    StoreReading reading = ReadStore();
    if (reading.failure.Failed())
        return {UserSettings(), reading.failure};
    return {std::move(reading.settings), {}};
}

base::Failure UpdateUserSettings(const std::function<void(UserSettings&)>& change)
{
    if (base::Failure failure = MakeUserStoreFolder(); failure.Failed())
        return failure;
    const CStoreLock lock(UserStoreFolder() + "/user.reg.lock");
    if (lock.Failure().Failed())
        return lock.Failure();
    StoreReading reading = ReadStore();
    if (reading.failure.Failed())
        return reading.failure;
    UserSettings changed = reading.settings;
    change(changed);
    if (changed == reading.settings)
        return {};
    usercodec::Encode(reading.settings, changed, reading.file);
    const std::string path = UserStorePath();
    const base::Status saved = base::ReplaceAtomically(path, reading.file.Serialize(), 0600);
    if (!saved.Ok())
        return {base::FailureKind::StoreNotSaved, path, saved.Reason()};
    return {};
}

} // namespace tickerlux::settings
