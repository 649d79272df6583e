#pragma once

#include <string>

namespace tickerlux::base {

// A lock on a file that lasts while its holder lives: the system drops it when the holder's
// process ends, however it ends (SIGKILL included), so a lock that is held proves a running
// holder, unlike a recorded process number that a new process may get again. Testing it takes
// nothing, and opening or closing the file elsewhere in the holder's process does not drop it.

class CHeldLock {
public:
    // Takes the lock on `path` (created if missing) without waiting. Check Held(): false when
    // another holder has it (`Error()` 0) or the file cannot be opened or locked (its errno).
    explicit CHeldLock(const std::string& path);
    ~CHeldLock();
    CHeldLock(const CHeldLock&) = delete;
    CHeldLock& operator=(const CHeldLock&) = delete;

    bool Held() const { return m_fd >= 0; }
    int Error() const { return m_error; }

private:
    int m_fd = -1;
    int m_error = 0;
};

// Whether some process holds the lock on `path` now. A missing file, or anything that is not a
// regular file, is not held.
bool IsLockHeld(const std::string& path);

} // namespace tickerlux::base
