#include "cli/EscapedStderr.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <unistd.h>

namespace tickerlux::cli {
namespace {

// Bytes of a UTF-8 sequence that the next write completes are held back until then.
struct Filter {
    std::string pending;
};

bool WriteAll(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = write(STDERR_FILENO, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

void PutEscape(std::string& out, unsigned char byte)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (byte == '\r') {
        out += "\\r";
        return;
    }
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

// The length of the UTF-8 sequence at the start of `text` when it is a valid one outside C1,
// 0 when it is not, or -1 when `text` ends before it could be told.
int SequenceLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const int length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4                                   ? 4
                                                                                        : 0;
    for (int i = 1; i < length; ++i) {
        if (static_cast<std::size_t>(i) >= text.size())
            return -1;
        const auto next = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80)
            return 0;
        // Overlong forms, surrogates and points past U+10FFFF, as the second byte shows them.
        if (i == 1 && ((lead == 0xE0 && next < 0xA0) || (lead == 0xED && next > 0x9F) ||
                       (lead == 0xF0 && next < 0x90) || (lead == 0xF4 && next > 0x8F)))
            return 0;
    }
    // U+0080 to U+009F are the C1 controls.
    if (lead == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0)
        return 0;
    return length;
}

ssize_t WriteEscaped(void* cookie, const char* data, std::size_t size)
{
    Filter& filter = *static_cast<Filter*>(cookie);
    filter.pending.append(data, size);
    const std::string_view text = filter.pending;
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte == '\n' || byte == '\t' || (byte >= 0x20 && byte < 0x7F)) {
            out += text[at++];
            continue;
        }
        const int length = byte < 0x80 ? 0 : SequenceLength(text.substr(at));
        if (length < 0)
            break;
        if (length == 0) {
            PutEscape(out, byte);
            ++at;
            continue;
        }
        out.append(text.substr(at, static_cast<std::size_t>(length)));
        at += static_cast<std::size_t>(length);
    }
    filter.pending.erase(0, at);
    return WriteAll(out) ? static_cast<ssize_t>(size) : -1;
}

}  // namespace

void EscapeStandardError()
{
    static Filter filter;
    cookie_io_functions_t functions{};
    functions.write = WriteEscaped;
    if (FILE* escaped = fopencookie(&filter, "w", functions)) {
        setvbuf(escaped, nullptr, _IONBF, 0);
        stderr = escaped;  // glibc lets a program replace its standard streams
    }
}

}  // namespace tickerlux::cli
