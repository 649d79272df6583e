#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tickerlux::settings {

// A load that ran out of bytes: the data ended early, or a length prefix points past its end.
class CArchiveException : public std::runtime_error {
public:
    CArchiveException() : std::runtime_error("archive ended before the value was complete") {}
};

// A little-endian byte stream in the framework's archive encoding: integers are 4 bytes, texts
// are a length prefix (1, 3 or 7 bytes) followed by one byte per character.
// A storing archive appends to its own byte string; a loading archive reads a span of bytes that
// must outlive it, and checks every length against the bytes that remain before using it.
class CArchive {
public:
    // Storing.
    CArchive() = default;
    // Loading.
    explicit CArchive(std::string_view bytes) : m_in(bytes), m_storing(false) {}

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    CArchive& operator<<(int value);
    CArchive& operator<<(std::string_view text);

    // Both throw CArchiveException when the bytes run out; nothing is read past the end.
    CArchive& operator>>(int& value);
    // Accepts the wide-text marker: UTF-16LE characters, converted to Windows-1252.
    CArchive& operator>>(std::string& text);

    // What a storing archive has written so far.
    const std::string& StoredBytes() const { return m_out; }
    // How many bytes a loading archive has not read yet.
    std::size_t BytesLeft() const { return m_in.size() - m_pos; }

private:
    void RequireStoring() const;
    void RequireLoading() const;
    std::string_view Take(std::uint64_t count);
    std::uint32_t TakeLittleEndian(std::size_t width);
    std::uint32_t ReadLength(bool& wide);

    std::string m_out;
    std::string_view m_in;
    std::size_t m_pos = 0;
    bool m_storing = true;
};

} // namespace tickerlux::settings
