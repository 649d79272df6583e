#include "mqtt/SignName.h"

#include "base/Utf8.h"

namespace tickerlux::mqtt {
namespace {

bool IsNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

} // namespace

std::string DefaultSignName(std::string_view feedPath)
{
    std::string_view base = feedPath.substr(feedPath.rfind('/') + 1);
    if (base.size() >= 4 && base.substr(base.size() - 4) == ".tlx")
        base.remove_suffix(4);
    std::string name;
    // One '-' for each character the name cannot hold, however many bytes it takes in UTF-8.
    for (std::size_t at = 0; at < base.size();) {
        const std::optional<char32_t> c = base::utf8::NextCodePoint(base, at);
        const char ascii = c && *c < 0x80 ? static_cast<char>(*c) : '\0';
        const char lower = ascii >= 'A' && ascii <= 'Z' ? static_cast<char>(ascii - 'A' + 'a') : ascii;
        name += IsNameCharacter(lower) ? lower : '-';
    }
    return name;
}

std::optional<std::string> SignNameProblem(std::string_view name)
{
    if (name.empty())
        return "the sign's name is empty; give one with --mqtt-name";
    if (name == "all")
        return "'all' is the topic that reaches every sign; give the sign another name with "
               "--mqtt-name";
    for (const char c : name)
        if (!IsNameCharacter(c))
            return "the sign's name '" + std::string(name) +
                   "' may hold only a-z, 0-9, '_' and '-'";
    return std::nullopt;
}

} // namespace tickerlux::mqtt
