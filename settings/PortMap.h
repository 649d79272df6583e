#pragma once

#include <map>
#include <optional>
#include <string>

namespace tickerlux::settings {

struct UserSettings;

// COMn names map to device paths: an entry "COMn" in the per-user store's port map wins,
// otherwise /dev/ttyS(n-1).
//
// The virtual sign's entries are tied to a lock it holds while it runs: such an entry is in
// force only while the lock is held, and the entry it replaced (kept beside it) is in force
// again as soon as the virtual sign ends, even when it was killed before it could put that back.
class CPortMap {
public:
    // Value names compare as the registry compares them, ignoring ASCII letter case.
    struct NameLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    // The texts as stored: "COMn" (the device), and beside a virtual sign's entry "COMn.Lock"
    // (the lock file that keeps it in force) and "COMn.Earlier" (the entry it replaced). Empty
    // texts are no entries.
    using Texts = std::map<std::string, std::string, NameLess>;

    CPortMap() = default;
    explicit CPortMap(Texts texts) : m_texts(std::move(texts)) {}
    const Texts& StoredTexts() const { return m_texts; }

    // The entry in force for COMn, if any: whether a virtual sign's lock is held is looked up
    // now. Its path is not cut: one too long for the system fails when it is opened, rather than
    // COMn silently naming another device.
    std::optional<std::string> EntryInForce(int port) const;

    // Sets (a value) or removes (nullopt) a plain entry for COMn, which replaces a virtual
    // sign's.
    void SetEntry(int port, const std::optional<std::string>& devicePath);

    // Points COMn at a virtual sign's device for as long as the lock on `lockPath` is held, which
    // the caller holds. Returns the entry in force before.
    std::optional<std::string> SetVirtualSignEntry(int port, const std::string& devicePath,
                                                   const std::string& lockPath);

    bool operator==(const CPortMap&) const = default;

private:
    std::optional<std::string> Text(const std::string& name) const;
    void SetText(const std::string& name, const std::optional<std::string>& text);
    std::optional<std::string> EntryWithoutVirtualSign(int port) const;

    Texts m_texts;
};

// The device path of COMn with the entries of `ports` in force now.
std::string ResolvePort(const CPortMap& ports, int port);
std::string ResolvePort(const UserSettings& settings, int port);

} // namespace tickerlux::settings
