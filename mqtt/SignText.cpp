#include "mqtt/SignText.h"

#include "headlines/PageText.h"
#include "headlines/ShowableText.h"
#include "sign/AlphaProtocol.h"
#include "sign/TextEncoder.h"

namespace tickerlux::mqtt {

std::string SignLineFromUtf8(std::string_view text)
{
    static const headlines::CShowableText showable(sign::ShowableBytes());
    const std::string line = sign::LiteralText(
        showable.Fold(headlines::ToCodePage(text, "UTF-8")));
    return line.substr(0, sign::kMaxLineLength);
}

} // namespace tickerlux::mqtt
