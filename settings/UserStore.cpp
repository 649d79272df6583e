#include "settings/UserStore.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace userstore {
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

std::string StoreDir()
{
    return ConfigHome() + "/tickerlux";
}

class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// The whole file; an absent file reads as empty text, any other failure as nothing.
std::optional<std::string> ReadAll(const std::string& path)
{
    CFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t got = read(fd.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool MakeDirs(const std::string& path)
{
    for (std::size_t slash = 1; slash != std::string::npos;) {
        slash = path.find('/', slash + 1);
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

bool ReplaceFile(const std::string& dir, const std::string& path, const std::string& text)
{
    std::string temp = path + ".XXXXXX";
    CFd fd(mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0)
        return false;
    const bool written = fchmod(fd.Get(), 0600) == 0 && WriteAll(fd.Get(), text) &&
                         fsync(fd.Get()) == 0 && close(fd.Release()) == 0;
    if (!written || rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    // The rename itself survives a crash only once the folder is on disk.
    CFd dirFd(open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.Get() >= 0)
        fsync(dirFd.Get());
    return true;
}

} // namespace

std::string StoreFilePath()
{
    return StoreDir() + "/user.reg";
}

std::optional<regfile::CRegFile> Load()
{
    std::optional<std::string> text = ReadAll(StoreFilePath());
    if (!text)
        return std::nullopt;
    return regfile::CRegFile::Parse(*text);
}

bool Update(const std::function<bool(regfile::CRegFile&)>& change)
{
    const std::string dir = StoreDir();
    if (!MakeDirs(dir))
        return false;
    // The store file itself is replaced by rename, so the lock lives on a file of its own; closing
    // it on return releases the lock.
    CFd lock(open((dir + "/user.reg.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.Get() < 0)
        return false;
    while (flock(lock.Get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    const std::string path = StoreFilePath();
    std::optional<std::string> text = ReadAll(path);
    if (!text)
        return false;
    regfile::CRegFile file = regfile::CRegFile::Parse(*text);
    if (!change(file))
        return true;
    return ReplaceFile(dir, path, file.Serialize());
}

} // namespace userstore
