#include "tools/signsim/Options.h"

#include <charconv>
#include <limits>
#include <string_view>

namespace tickerlux::signsim {

const char* const kUsage =
    "Usage: tickerlux-signsim [--com N] [--json] [--count K] [--line-speed] [--window]\n"
    "                         [--picture FILE.png]\n"
    "A virtual sign on a pseudo-terminal: shows what a sign would display from what it receives.\n"
    "  --com N       point COMn of the per-user port map at the device while running\n"
    "  --json        print one JSON event a line instead of a readable account\n"
    "  --count K     exit after K transmissions\n"
    "  --line-speed  take bytes no faster than the line settings of the device allow\n"
    "  --window      also show the sign's face in a window, moving as the sign does\n"
    "  --picture FILE.png\n"
    "                after each change of what the sign shows, write a still of its face\n";

namespace {

std::optional<long> PositiveNumber(std::string_view text)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<Options> ParseOptions(int argc, const char* const* argv, std::string& error)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::optional<std::string_view> inlineValue;
        if (const auto equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
            inlineValue = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const auto value = [&]() -> std::optional<std::string_view> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < argc)
                return std::string_view(argv[++i]);
            return std::nullopt;
        };
        if (arg == "--json" || arg == "--line-speed" || arg == "--window" || arg == "--help" ||
            arg == "-h") {
            if (inlineValue) {
                error = std::string(arg) + " takes no value";
                return std::nullopt;
            }
            (arg == "--json"         ? options.json
             : arg == "--line-speed" ? options.lineSpeed
             : arg == "--window"     ? options.window
                                     : options.help) = true;
        } else if (arg == "--picture") {
            const std::optional<std::string_view> file = value();
            if (!file || file->empty()) {
                error = "--picture needs the name of a PNG file";
                return std::nullopt;
            }
            options.picture = std::string(*file);
        } else if (arg == "--com" || arg == "--count") {
            const std::optional<std::string_view> text = value();
            const std::optional<long> number = text ? PositiveNumber(*text) : std::nullopt;
            if (!number || (arg == "--com" && *number > std::numeric_limits<int>::max())) {
                error = std::string(arg) + " needs a whole number of 1 or more";
                return std::nullopt;
            }
            if (arg == "--com")
                options.comPort = static_cast<int>(*number);
            else
                options.count = *number;
        } else {
            error = "unknown argument \"" + std::string(argv[i]) + "\"";
            return std::nullopt;
        }
    }
    return options;
}

} // namespace tickerlux::signsim
