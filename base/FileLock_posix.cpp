#include "base/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tickerlux::base {

namespace {

// Open-file-description locks: owned by the open file, not by the process, so that closing
// another descriptor of the same file in the holder's process keeps the lock.
flock WholeFile(short type)
{
    flock lock{};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

bool IsRegularFile(int fd)
{
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

CHeldLock::CHeldLock(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = errno;
        return;
    }
    flock lock = WholeFile(F_WRLCK);
    if (!IsRegularFile(fd)) {
        m_error = EINVAL;
    } else if (fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        m_error = errno == EAGAIN || errno == EACCES ? 0 : errno;
    } else {
        m_fd = fd;
        return;
    }
    close(fd);
}

CHeldLock::~CHeldLock()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool IsLockHeld(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    flock lock = WholeFile(F_WRLCK);
    const bool held = fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    close(fd);
    return held;
}

} // namespace tickerlux::base
