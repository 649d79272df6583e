#include "settings/UserStore.h"

#include "base/FileIo.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tickerlux::settings::userstore {
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

// The whole file; an absent file reads as empty text, any other failure as nothing.
std::optional<std::string> ReadStore(const std::string& path, std::string& problem)
{
    std::string text;
    const base::Status status = base::ReadAll(path, text, kMaxStoreBytes);
    if (status.error == ENOENT)
        return std::string();
    if (!status.Ok()) {
        problem = status.Reason();
        return std::nullopt;
    }
    return text;
}

} // namespace

std::string StoreFolder()
{
    return ConfigHome() + "/tickerlux";
}

bool MakeStoreFolder()
{
    const std::string path = StoreFolder();
    for (std::size_t slash = 1; slash != std::string::npos;) {
        slash = path.find('/', slash + 1);
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

std::string StoreFilePath()
{
    return StoreFolder() + "/user.reg";
}

std::optional<regfile::CRegFile> Load(std::string& problem)
{
    std::optional<std::string> text = ReadStore(StoreFilePath(), problem);
    if (!text)
        return std::nullopt;
    return regfile::CRegFile::Parse(*text);
}

std::optional<regfile::CRegFile> Load()
{
    std::string ignored;
    return Load(ignored);
}

bool Update(const std::function<bool(regfile::CRegFile&)>& change)
{
    if (!MakeStoreFolder())
        return false;
    const std::string dir = StoreFolder();
    // The store file itself is replaced by rename, so the lock lives on a file of its own; closing
    // it on return releases the lock.
    // Only a regular file is locked: a link is not followed (O_NOFOLLOW), and a pipe or device
    // put in its place is neither waited on (O_NONBLOCK) nor used.
    const int lock = open((dir + "/user.reg.lock").c_str(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (lock < 0)
        return false;
    struct stat info {};
    if (fstat(lock, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(lock);
        return false;
    }
    const auto updated = [&] {
        while (flock(lock, LOCK_EX) != 0) {
            if (errno != EINTR)
                return false;
        }
        const std::string path = StoreFilePath();
        std::string ignored;
        std::optional<std::string> text = ReadStore(path, ignored);
        if (!text)
            return false;
        regfile::CRegFile file = regfile::CRegFile::Parse(*text);
        if (!change(file))
            return true;
        return base::ReplaceAtomically(path, file.Serialize(), 0600).Ok();
    }();
    close(lock);  // releases the lock
    return updated;
}

} // namespace tickerlux::settings::userstore
