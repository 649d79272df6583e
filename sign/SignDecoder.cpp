#include "sign/SignDecoder.h"

#include "sign/AlphaProtocol.h"
#include "sign/SignCharTable.h"
#include "sign/SignColors.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace tickerlux::sign {

namespace {

// A sign needs a few NULs to find the baud rate before SOH.
constexpr std::size_t kMinPreambleLength = 5;
// Garbage could otherwise fill the error list without bound.
constexpr std::size_t kMaxErrors = 20;
// File label, type, protection, four size digits, four time (or colour) digits.
constexpr std::size_t kMemoryEntryLength = 11;

// printf-style, so the compiler checks each message's arguments against its format.
[[gnu::format(printf, 2, 3)]] void AddError(DecodedTransmission& t, const char* format, ...)
{
    if (t.errors.size() > kMaxErrors)
        return;
    if (t.errors.size() == kMaxErrors) {
        t.errors.emplace_back("further errors left out");
        return;
    }
    char message[160];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    t.errors.emplace_back(message);
}

long ParseHexField(const std::string& field)
{
    long value = 0;
    for (char c : field) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// The Windows-1252 character of the extended character `signCode`.
char ExtendedCharacter(unsigned char signCode, DecodedTransmission& t)
{
    const int windowsCode = CSignCodeMap::BuiltIn().ExtendedWindowsCode(signCode);
    if (windowsCode < 0)
        AddError(t, "extended character 0x%02X is not in the character table", signCode);
    if (windowsCode <= 0)
        return kNoWindowsForm;
    return static_cast<char>(windowsCode);
}

// Write-text data: file label, optional mode field, optional colour, then the text.
void DecodeWriteText(DecodedTransmission& t)
{
    const std::vector<unsigned char>& d = t.data;
    DecodedText text;
    t.kind = TransmissionKind::WriteText;
    if (d.empty()) {
        AddError(t, "write-text command without a file label");
        t.text = text;
        return;
    }
    text.fileLabel = static_cast<char>(d[0]);
    if (d.size() == 1)
        t.kind = TransmissionKind::Clear;

    std::size_t i = 1;
    if (i < d.size() && d[i] == kEsc) {
        if (d.size() - i < 3) {
            AddError(t, "mode field cut short");
            i = d.size();
        } else {
            text.hasMode = true;
            text.position = static_cast<char>(d[i + 1]);
            text.mode = static_cast<char>(d[i + 2]);
            i += 3;
        }
    }
    if (i < d.size() && d[i] == kSelectColor) {
        if (d.size() - i < 2) {
            AddError(t, "colour code missing after 0x1C");
            i = d.size();
        } else {
            text.hasColor = true;
            text.colorCode = static_cast<char>(d[i + 1]);
            if (!ColorNameForCode(text.colorCode))
                AddError(t, "unknown colour code 0x%02X", d[i + 1]);
            i += 2;
        }
    }
    text.text.reserve(d.size() - i);
    while (i < d.size()) {
        const unsigned char byte = d[i];
        if (byte == kExtendedChar) {
            if (i + 1 == d.size()) {
                AddError(t, "extended character cut short at the end of the text");
                break;
            }
            text.text.push_back(ExtendedCharacter(d[i + 1], t));
            i += 2;
        } else if (byte >= 0x20 && byte <= 0x7E) {
            text.text.push_back(static_cast<char>(byte));
            ++i;
        } else {
            AddError(t, "control byte 0x%02X at text offset %zu", byte, i);
            ++i;
        }
    }
    t.text = std::move(text);
}

void DecodeMemoryConfig(DecodedTransmission& t)
{
    const std::vector<unsigned char>& d = t.data;
    t.kind = TransmissionKind::MemoryConfig;
    std::size_t i = 1;  // after '$'
    for (; d.size() - i >= kMemoryEntryLength; i += kMemoryEntryLength) {
        const char* field = reinterpret_cast<const char*>(d.data()) + i;
        const std::size_t number = t.memory.size() + 1;
        MemoryFileEntry entry;
        entry.label = field[0];
        entry.type = field[1];
        entry.protection = field[2];
        entry.sizeField.assign(field + 3, 4);
        entry.timesField.assign(field + 7, 4);
        entry.size = ParseHexField(entry.sizeField);
        if (entry.type != 'A' && entry.type != 'B' && entry.type != 'D')
            AddError(t, "entry %zu: unknown file type 0x%02X", number, d[i + 1]);
        if (entry.protection != 'U' && entry.protection != 'L')
            AddError(t, "entry %zu: unknown keyboard protection 0x%02X", number, d[i + 2]);
        if (entry.size < 0)
            AddError(t, "entry %zu: size field is not four upper-case hexadecimal digits", number);
        t.memory.push_back(std::move(entry));
    }
    if (i < d.size())
        AddError(t, "memory configuration entry cut short (%zu bytes)", d.size() - i);
}

void DecodeRunSequence(DecodedTransmission& t)
{
    const std::vector<unsigned char>& d = t.data;
    t.kind = TransmissionKind::RunSequence;
    if (d.size() < 3) {
        AddError(t, "run sequence cut short");
        return;
    }
    t.runSequenceType = static_cast<char>(d[1]);
    t.runSequenceLock = static_cast<char>(d[2]);
    t.runSequenceFiles.assign(d.begin() + 3, d.end());
    if (t.runSequenceType != 'T' && t.runSequenceType != 'S' && t.runSequenceType != 'A')
        AddError(t, "unknown run sequence type 0x%02X", d[1]);
    if (t.runSequenceLock != 'U' && t.runSequenceLock != 'L')
        AddError(t, "unknown keyboard protection 0x%02X", d[2]);
    if (t.runSequenceFiles.empty())
        AddError(t, "run sequence names no file");
}

DecodedTransmission StrayBytes(std::vector<unsigned char> bytes)
{
    DecodedTransmission t;
    t.bytes = std::move(bytes);
    AddError(t, "%zu bytes outside any transmission", t.bytes.size());
    return t;
}

} // namespace

const char* KindName(TransmissionKind kind)
{
    switch (kind) {
    case TransmissionKind::WriteText:
        return "write-text";
    case TransmissionKind::Clear:
        return "clear";
    case TransmissionKind::MemoryConfig:
        return "memory-config";
    case TransmissionKind::RunSequence:
        return "run-sequence";
    case TransmissionKind::Unknown:
        break;
    }
    return "unknown";
}

DecodedTransmission DecodeTransmission(const unsigned char* bytes, std::size_t length)
{
    DecodedTransmission t;
    t.bytes.assign(bytes, bytes + length);

    std::size_t p = 0;
    while (p < length && bytes[p] == kNul)
        ++p;
    t.preambleLength = p;
    if (p == length) {
        AddError(t, length == 0 ? "empty transmission" : "no SOH after the NUL preamble");
        return t;
    }
    if (bytes[p] != kSoh) {
        AddError(t, "no SOH after the NUL preamble (byte 0x%02X instead)", bytes[p]);
        return t;
    }
    if (p < kMinPreambleLength)
        AddError(t, "NUL preamble of %zu bytes; a sign needs at least %zu", p,
                 kMinPreambleLength);

    // Type code, two-character address, STX.
    const std::size_t header = p + 1;
    if (length - header < 4) {
        AddError(t, "cut short in the header");
        return t;
    }
    t.typeCode = static_cast<char>(bytes[header]);
    t.address.assign(reinterpret_cast<const char*>(bytes) + header + 1, 2);
    if (bytes[header + 3] != kStx) {
        AddError(t, "no STX after the type code and address (byte 0x%02X instead)",
                 bytes[header + 3]);
        return t;
    }

    const std::size_t body = header + 4;
    const void* eot = std::memchr(bytes + body, kEot, length - body);
    const std::size_t end =
        eot ? static_cast<std::size_t>(static_cast<const unsigned char*>(eot) - bytes) : length;
    if (!eot)
        AddError(t, "cut short: no EOT");
    else if (end + 1 < length)
        AddError(t, "%zu bytes after EOT", length - end - 1);
    if (end == body) {
        AddError(t, "no command code");
        return t;
    }
    t.commandCode = static_cast<char>(bytes[body]);
    t.data.assign(bytes + body + 1, bytes + end);

    if (t.commandCode == kCommandWriteText)
        DecodeWriteText(t);
    else if (t.commandCode == kCommandWriteSpecial && !t.data.empty() &&
             t.data[0] == kSpecialMemoryConfig)
        DecodeMemoryConfig(t);
    else if (t.commandCode == kCommandWriteSpecial && !t.data.empty() &&
             t.data[0] == kSpecialRunSequence)
        DecodeRunSequence(t);
    return t;
}

std::vector<DecodedTransmission> CSignDecoder::Feed(const unsigned char* data, std::size_t length)
{
    std::vector<DecodedTransmission> done;
    for (std::size_t i = 0; i < length; ++i)
        Take(data[i], done);
    return done;
}

std::optional<DecodedTransmission> CSignDecoder::Finish()
{
    if (m_state == State::Idle)
        return std::nullopt;
    return TakePending();
}

void CSignDecoder::Take(unsigned char byte, std::vector<DecodedTransmission>& done)
{
    const bool starts = byte == kNul || byte == kSoh;
    switch (m_state) {
    case State::Idle:
        Begin(byte);
        return;
    case State::Garbage:
        if (starts) {
            done.push_back(TakePending());
            Begin(byte);
            return;
        }
        break;
    case State::Preamble:
        if (byte == kSoh)
            m_state = State::Body;
        else if (byte != kNul) {
            done.push_back(TakePending());  // "no SOH after the NUL preamble"
            Begin(byte);
            return;
        }
        break;
    case State::Body:
        if (starts) {
            done.push_back(TakePending());  // cut short by the next transmission
            Begin(byte);
            return;
        }
        if (byte == kEot) {
            m_pending.push_back(byte);
            done.push_back(TakePending());
            return;
        }
        break;
    }
    m_pending.push_back(byte);
    if (m_pending.size() >= kMaxPendingBytes) {
        const bool inTransmission = m_state != State::Garbage;
        done.push_back(TakePending());
        if (inTransmission)
            AddError(done.back(), "no EOT within %zu bytes", kMaxPendingBytes);
    }
}

void CSignDecoder::Begin(unsigned char byte)
{
    m_pending.assign(1, byte);
    m_state = byte == kNul ? State::Preamble : byte == kSoh ? State::Body : State::Garbage;
}

DecodedTransmission CSignDecoder::TakePending()
{
    DecodedTransmission t = m_state == State::Garbage
                                ? StrayBytes(std::move(m_pending))
                                : DecodeTransmission(m_pending.data(), m_pending.size());
    m_pending.clear();
    m_state = State::Idle;
    return t;
}

} // namespace tickerlux::sign
