#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tickerlux::sign {

// Parses a byte stream as a sign would: NUL preamble, SOH, type code, address, STX, command code,
// data, EOT. Any bytes are safe to feed; nothing is read outside what was fed.

enum class TransmissionKind { WriteText, Clear, MemoryConfig, RunSequence, Unknown };

// "write-text", "clear", "memory-config", "run-sequence", "unknown".
const char* KindName(TransmissionKind kind);

// Stands in DecodedText::text for an extended character that has no Windows-1252 form (sign
// codes 0x3E, 0x58, 0x59) or no row in the table at all: ASCII SUB, which no decoded
// character can otherwise be.
inline constexpr char kNoWindowsForm = '\x1A';

// Write-text data decoded back to the sign line's Windows-1252 text.
struct DecodedText {
    char fileLabel = 0;
    bool hasMode = false;     // ESC, position, mode code present
    char position = 0;        // ' ' middle line
    char mode = 0;            // 'a' rotate, 't' compressed rotate
    bool hasColor = false;    // 0x1C and a colour code present
    char colorCode = 0;       // '1' red, 'C' autocolor, ...
    std::string text;         // Windows-1252; extended characters mapped back through the table
};

// One file entry of a set-memory-configuration command.
struct MemoryFileEntry {
    char label = 0;
    char type = 0;            // 'A' TEXT
    char protection = 0;      // 'U' unlocked, 'L' locked
    std::string sizeField;    // the four hexadecimal digits as sent
    long size = -1;           // their value, -1 when they are not four hexadecimal digits
    std::string timesField;   // "FF00" for a TEXT file
};

struct DecodedTransmission {
    TransmissionKind kind = TransmissionKind::Unknown;
    std::vector<unsigned char> bytes;   // from the first NUL of the preamble to the EOT
    std::size_t preambleLength = 0;     // NUL bytes before SOH
    char typeCode = 0;
    std::string address;
    char commandCode = 0;
    std::vector<unsigned char> data;    // between the command code and EOT
    std::optional<DecodedText> text;    // write-text and clear
    std::vector<MemoryFileEntry> memory;  // memory-config
    char runSequenceType = 0;           // run-sequence: 'T', 'S' or 'A'
    char runSequenceLock = 0;           // 'U' or 'L'
    std::string runSequenceFiles;       // file labels in order
    std::vector<std::string> errors;    // framing faults a sign would reject
};

class CSignDecoder {
public:
    // A transmission or a run of stray bytes is never held longer than this: it comes back
    // with an error and what follows is parsed afresh. Far above the longest write-text.
    static constexpr std::size_t kMaxPendingBytes = 256 * 1024;

    // Appends bytes and returns every transmission that they complete.
    std::vector<DecodedTransmission> Feed(const unsigned char* data, std::size_t length);

    // Ends the stream: a transmission begun and never ended comes back with an error.
    std::optional<DecodedTransmission> Finish();

private:
    enum class State { Idle, Garbage, Preamble, Body };

    void Take(unsigned char byte, std::vector<DecodedTransmission>& done);
    void Begin(unsigned char byte);
    DecodedTransmission TakePending();

    std::vector<unsigned char> m_pending;
    State m_state = State::Idle;
};

// Decodes one complete transmission held in `bytes` (first NUL to EOT).
DecodedTransmission DecodeTransmission(const unsigned char* bytes, std::size_t length);

} // namespace tickerlux::sign
