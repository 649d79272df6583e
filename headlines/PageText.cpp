#include "headlines/PageText.h"

#include "headlines/CodePageText.h"
#include "headlines/EncodingLabels.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <memory>

namespace tickerlux::headlines {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter Open(const std::string& charset)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(charset.c_str(), &status));
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        converter.reset(ucnv_open("windows-1252", &status));
    }
    if (U_FAILURE(status))
        return nullptr;
    // Invalid and unmapped bytes are skipped, never replaced by a substitute.
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_SKIP, nullptr, nullptr, nullptr,
                        &status);
    return converter;
}

// Whether each ASCII byte stands for itself wherever it appears, so that runs of ASCII need no
// converter: true of UTF-8 and of the single-byte charsets that keep ASCII, never of EBCDIC nor
// of charsets whose multi-byte characters or shift states may hold ASCII bytes.
bool KeepsAscii(UConverter* converter)
{
    if (ucnv_getType(converter) == UCNV_UTF8)
        return true;
    if (ucnv_getMaxCharSize(converter) != 1)
        return false;
    std::array<char, 0x7F> ascii;
    for (std::size_t i = 0; i < ascii.size(); ++i)
        ascii[i] = static_cast<char>(i + 1);
    std::array<UChar, 0x7F> units;
    UErrorCode status = U_ZERO_ERROR;
    const int32_t count = ucnv_toUChars(converter, units.data(), units.size(), ascii.data(),
                                        ascii.size(), &status);
    return U_SUCCESS(status) && count == static_cast<int32_t>(units.size()) &&
           std::equal(units.begin(), units.end(), ascii.begin());
}

// Converts `bytes` as a whole (the converter is flushed at its end) into `text`. `first` says
// whether no character has been written yet: a byte order mark as the first is left out.
void Convert(UConverter* converter, std::string_view bytes, CCodePageText& text, bool& first)
{
    std::array<UChar, 8192> units;
    const char* source = bytes.data();
    const char* const sourceEnd = source + bytes.size();
    UChar pendingLead = 0;  // a lead surrogate whose trail comes with the next piece
    bool done = false;
    while (!done) {
        UErrorCode status = U_ZERO_ERROR;
        UChar* target = units.data();
        ucnv_toUnicode(converter, &target, units.data() + units.size(), &source, sourceEnd,
                       nullptr, true, &status);
        done = status != U_BUFFER_OVERFLOW_ERROR;
        const std::size_t count = static_cast<std::size_t>(target - units.data());
        for (std::size_t i = 0; i < count; ++i) {
            char32_t codePoint = units[i];
            if (pendingLead != 0 && U16_IS_TRAIL(units[i])) {
                codePoint = static_cast<char32_t>(U16_GET_SUPPLEMENTARY(pendingLead, units[i]));
            } else if (U16_IS_LEAD(units[i])) {
                pendingLead = units[i];
                continue;
            }
            pendingLead = 0;
            if (!(first && codePoint == 0xFEFF))
                text.Append(codePoint);
            first = false;
        }
    }
}

// Runs of ASCII shorter than this go through the converter with the bytes around them.
constexpr std::size_t kAsciiRun = 16;

}  // namespace

std::string ToCodePage(std::string_view bytes, const std::string& charset)
{
    std::string out;
    if (charset == tickerlux::headlines::kReplacementEncoding)
        return out;
    const Converter converter = Open(charset);
    if (!converter)
        return out;
    out.reserve(bytes.size());
    CCodePageText text(out);
    bool first = true;
    if (!KeepsAscii(converter.get())) {
        Convert(converter.get(), bytes, text, first);
        return out;
    }
    // Long runs of ASCII are copied whole; what lies between them is converted, each stretch
    // ending before an ASCII byte, where no character of these charsets continues.
    const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
    std::size_t converted = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto runStart = std::find_if(bytes.begin() + at, bytes.end(), isAscii);
        const auto runEnd = std::find_if_not(runStart, bytes.end(), isAscii);
        const std::size_t start = runStart - bytes.begin();
        const std::size_t end = runEnd - bytes.begin();
        at = end;
        if (end - start < kAsciiRun && end < bytes.size())
            continue;
        if (start > converted)
            Convert(converter.get(), bytes.substr(converted, start - converted), text, first);
        text.AppendAscii(bytes.substr(start, end - start));
        first = first && start == end;
        converted = end;
    }
    if (converted < bytes.size())
        Convert(converter.get(), bytes.substr(converted), text, first);
    return out;
}

} // namespace tickerlux::headlines
