#pragma once

#include "settings/RegFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tickerlux::settings {

// The registry root keys the program uses.
enum class RegRoot {
    CurrentUser
};

// Value types, numbered as the registry numbers them.
enum RegValueType : std::uint32_t {
    kRegSz = 1,
    kRegBinary = 3,
    kRegDword = 4,
};

// One reading of the per-user store: every value read through it comes from the same moment,
// so values saved together are read together.
class CRegistrySnapshot {
public:
    CRegistrySnapshot();
    explicit CRegistrySnapshot(regfile::CRegFile store) : m_store(std::move(store)) {}

    // As CRegistryAccess::ReadValue, from this reading.
    bool ReadValue(void* buffer, std::uint32_t* size, std::uint32_t bufferSize, RegRoot root,
                   const std::string& subkey, const std::string& name) const;

private:
    std::optional<regfile::CRegFile> m_store;  // nothing when the store could not be read
};

// Reads or writes values of a key of the per-user store. No state of its own.
class CRegistryAccess {
public:
    virtual ~CRegistryAccess() = default;

    // Copies the value's bytes, whatever its stored type, into `buffer`. False when the key is
    // missing (`size` then untouched), or when the value is missing, unreadable or longer than
    // `bufferSize` (`size` then 0, `buffer` untouched). On success `size` (if given) receives the
    // number of bytes read.
    bool ReadValue(void* buffer, std::uint32_t* size, std::uint32_t bufferSize, RegRoot root,
                   const std::string& subkey, const std::string& name) const;

    // Creates the key if missing and sets the value with the given type and bytes. False when the
    // store cannot be written.
    bool WriteValue(const void* data, std::uint32_t type, std::uint32_t size, RegRoot root,
                    const std::string& subkey, const std::string& name) const;

    // Sets several values of one key, creating the key if missing, in one locked
    // read-modify-write of the store: other programs see all of them or none. False when the
    // store cannot be written; nothing is changed then.
    bool WriteValues(RegRoot root, const std::string& subkey,
                     const std::vector<regfile::Value>& values) const;

    // Sets several values of one key that `edit` works out from the store as it is under the
    // lock, so that nobody else's change falls between the reading and the writing. False when
    // the store cannot be read or written; nothing is changed then.
    using ValueEdit = std::function<std::vector<regfile::Value>(const CRegistrySnapshot&)>;
    bool ChangeValues(RegRoot root, const std::string& subkey, const ValueEdit& edit) const;

    // Reads the store once, for several values that belong together.
    CRegistrySnapshot Snapshot() const { return {}; }

    // Removes the value if present. False only when the store cannot be written.
    bool DeleteValue(RegRoot root, const std::string& subkey, const std::string& name) const;
};

} // namespace tickerlux::settings
