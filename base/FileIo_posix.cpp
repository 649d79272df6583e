#include "base/FileIo.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tickerlux::base {

namespace {

class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    CFd(CFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }
    // Closes now, so that a failing close (a late write error) is seen.
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return close(fd) == 0;
    }

private:
    int m_fd;
};

Status Errno()
{
    return Status{errno != 0 ? errno : EIO};
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        if (put == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

// The file a path finally names: symbolic links are followed even when the file they point to
// does not exist yet.
std::string ResolveLinks(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(current.c_str(), target.data(), target.size());
        if (length < 0)
            return current;
        target.resize(static_cast<std::size_t>(length));
        if (target.front() != '/') {
            const auto slash = current.find_last_of('/');
            if (slash != std::string::npos)
                target = current.substr(0, slash + 1) + target;
        }
        current = target;
    }
    return current;
}

// Only a regular file may be read whole or replaced.
Status KindStatus(const struct stat& info)
{
    if (S_ISREG(info.st_mode))
        return {};
    return Status{S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile};
}

// `path` opened for reading when it is a regular file. It is looked at before it is opened, so a
// device is never opened at all; O_NONBLOCK keeps the open of a pipe swapped in meanwhile from
// waiting for a writer, and the open file is checked again. A regular file ignores O_NONBLOCK.
CFd OpenRegularFile(const std::string& path, Status& status)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        status = Errno();
        return CFd(-1);
    }
    if (status = KindStatus(info); !status.Ok())
        return CFd(-1);
    CFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0 || fstat(fd.Get(), &info) != 0) {
        status = Errno();
        return CFd(-1);
    }
    if (status = KindStatus(info); !status.Ok())
        return CFd(-1);
    return fd;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new, exclusively created file beside `path`, opened for writing with `mode` (the umask
// applies, as for any new file).
CFd CreateTemporaryBeside(const std::string& path, std::string& tempPath, unsigned mode)
{
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::random_device seed;
    std::minstd_rand random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "." + name + "." + std::to_string(random() % 1000000000) + ".tmp";
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                            static_cast<mode_t>(mode));
        if (fd >= 0 || errno != EEXIST)
            return CFd(fd);
    }
    return CFd(-1);
}

// The file that replaces `existing` gets its owner and permissions, so that root saving a user's
// file leaves it the user's. Only root may give a file away: another user's save keeps what it
// may (its own group, the permissions) and goes on.
bool KeepOwnerAndMode(int fd, const struct stat& existing)
{
    if (fchown(fd, existing.st_uid, existing.st_gid) != 0 && (errno != EPERM || geteuid() == 0))
        return false;
    return fchmod(fd, existing.st_mode & 07777) == 0;
}

} // namespace

std::string Status::Reason() const
{
    if (error == kNotRegularFile)
        return "Not a regular file (a pipe, a device or a socket)";
    return std::strerror(error);
}

Status ReadAll(const std::string& path, std::string& bytes, std::size_t maxBytes)
{
    Status opened;
    const CFd fd = OpenRegularFile(path, opened);
    if (!opened.Ok())
        return opened;
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Errno();
        if (got == 0)
            break;
        if (static_cast<std::size_t>(got) > maxBytes - data.size())
            return Status{EFBIG};
        data.append(buffer, static_cast<std::size_t>(got));
    }
    bytes = std::move(data);
    return {};
}

Status ReplaceAtomically(const std::string& path, std::string_view bytes, unsigned newFileMode)
{
    const std::string target = ResolveLinks(path);
    struct stat existing {};
    const bool exists = stat(target.c_str(), &existing) == 0;
    // A loop of links or an unreadable folder is an error, not a file to create.
    if (!exists && errno != ENOENT)
        return Errno();
    if (exists) {
        if (const Status kind = KindStatus(existing); !kind.Ok())
            return kind;
    }

    std::string tempPath;
    CFd fd = CreateTemporaryBeside(target, tempPath, newFileMode);
    if (fd.Get() < 0)
        return Errno();
    const bool written = (!exists || KeepOwnerAndMode(fd.Get(), existing)) && WriteAll(fd.Get(), bytes) && fsync(fd.Get()) == 0 && fd.Close() &&
                         rename(tempPath.c_str(), target.c_str()) == 0;
    if (!written) {
        const Status failure = Errno();
        unlink(tempPath.c_str());
        return failure;
    }
    // The rename survives a crash only once the folder is on disk too.
    CFd folder(open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        fsync(folder.Get());
    return {};
}

} // namespace tickerlux::base
