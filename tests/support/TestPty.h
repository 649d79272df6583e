#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tickerlux::test {

// A real pseudo-terminal for the serial tests: the test holds the master side and the program
// under test opens the slave device, mapped to a COM number in the current per-user store (use
// it inside a CScopedConfigHome).
class CTestPty {
public:
    CTestPty();
    ~CTestPty();
    CTestPty(const CTestPty&) = delete;
    CTestPty& operator=(const CTestPty&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    // Makes COMn name this terminal.
    void MapAs(int comPort) const;

    // Reads up to `count` bytes in pieces of at most `chunk` bytes, blocking; stops early once the
    // slave side has been closed and everything it sent was read.
    std::string Read(std::size_t count, std::size_t chunk = 4096) const;
    // Bytes sent by the slave side and not yet read.
    std::size_t Pending() const;
    // Writes bytes towards the slave side (its input).
    void Send(const std::string& bytes) const;

    // The line settings the slave side has now, as the kernel holds them.
    std::uint32_t Speed() const;
    bool TwoStopBits() const;

private:
    int m_master = -1;
    std::string m_slavePath;
};

// Sets (a path) or removes (nothing) COMn's plain entry in this user's store.
void SetStoredPortEntry(int comPort, const std::optional<std::string>& device);
// The entry in force for COMn as the store says now.
std::optional<std::string> StoredPortEntry(int comPort);

} // namespace tickerlux::test
