#include "settings/Archive.h"

#include "base/Win1252.h"

namespace tickerlux::settings {

static_assert(sizeof(int) == 4, "the archive stores int as 4 bytes");

namespace {

constexpr std::uint32_t kByteEscape = 0xFF;
constexpr std::uint32_t kWordEscape = 0xFFFF;
constexpr std::uint32_t kWideMarker = 0xFFFE;

void AppendLittleEndian(std::string& out, std::uint32_t value, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

void CArchive::RequireStoring() const
{
    if (!m_storing)
        throw std::logic_error("CArchive: writing to a loading archive");
}

void CArchive::RequireLoading() const
{
    if (m_storing)
        throw std::logic_error("CArchive: reading from a storing archive");
}

CArchive& CArchive::operator<<(int value)
{
    RequireStoring();
    AppendLittleEndian(m_out, static_cast<std::uint32_t>(value), 4);
    return *this;
}

CArchive& CArchive::operator<<(std::string_view text)
{
    RequireStoring();
    const std::size_t length = text.size();
    if (length < kByteEscape) {
        AppendLittleEndian(m_out, static_cast<std::uint32_t>(length), 1);
    } else if (length < kWideMarker) {
        AppendLittleEndian(m_out, kByteEscape, 1);
        AppendLittleEndian(m_out, static_cast<std::uint32_t>(length), 2);
    } else if (length < 0xFFFFFFFFu) {
        AppendLittleEndian(m_out, kByteEscape, 1);
        AppendLittleEndian(m_out, kWordEscape, 2);
        AppendLittleEndian(m_out, static_cast<std::uint32_t>(length), 4);
    } else {
        throw std::length_error("CArchive: text too long for a 32-bit length");
    }
    m_out.append(text);
    return *this;
}

std::string_view CArchive::Take(std::uint64_t count)
{
    RequireLoading();
    if (count > BytesLeft())
        throw CArchiveException();
    const std::string_view bytes = m_in.substr(m_pos, static_cast<std::size_t>(count));
    m_pos += bytes.size();
    return bytes;
}

std::uint32_t CArchive::TakeLittleEndian(std::size_t width)
{
    const std::string_view bytes = Take(width);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return value;
}

// One byte; 0xFF escapes to 16 bits, where 0xFFFF escapes to 32 bits and 0xFFFE marks a wide
// text whose length follows in the same encoding (a second 0xFFFE there is a plain length).
std::uint32_t CArchive::ReadLength(bool& wide)
{
    wide = false;
    std::uint32_t length = TakeLittleEndian(1);
    if (length < kByteEscape)
        return length;
    length = TakeLittleEndian(2);
    if (length == kWideMarker) {
        wide = true;
        length = TakeLittleEndian(1);
        if (length < kByteEscape)
            return length;
        length = TakeLittleEndian(2);
    }
    if (length < kWordEscape)
        return length;
    return TakeLittleEndian(4);
}

CArchive& CArchive::operator>>(int& value)
{
    value = static_cast<int>(TakeLittleEndian(4));
    return *this;
}

CArchive& CArchive::operator>>(std::string& text)
{
    bool wide = false;
    const std::uint64_t length = ReadLength(wide);
    // Take() checks the count against what remains before anything is allocated.
    const std::string_view bytes = Take(wide ? 2 * length : length);
    text = wide ? base::win1252::FromUtf16Le(bytes) : std::string(bytes);
    return *this;
}

} // namespace tickerlux::settings
