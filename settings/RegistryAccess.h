#pragma once

#include <cstdint>
#include <string>

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

// Reads or writes one value of a key of the per-user store per call. No state of its own.
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

    // Removes the value if present. False only when the store cannot be written.
    bool DeleteValue(RegRoot root, const std::string& subkey, const std::string& name) const;
};
