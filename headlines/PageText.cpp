#include "headlines/PageText.h"

#include "headlines/CodePageText.h"
#include "headlines/EncodingLabels.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>

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

    std::array<UChar, 8192> units;
    const char* source = bytes.data();
    const char* const sourceEnd = source + bytes.size();
    UChar pendingLead = 0;  // a lead surrogate whose trail comes with the next piece
    bool first = true;
    bool done = false;
    while (!done) {
        UErrorCode status = U_ZERO_ERROR;
        UChar* target = units.data();
        ucnv_toUnicode(converter.get(), &target, units.data() + units.size(), &source, sourceEnd,
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
    return out;
}

} // namespace tickerlux::headlines
