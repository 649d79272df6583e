#include "cli/SignLineOptions.h"

#include "base/Win1252.h"

namespace tickerlux::cli {

namespace {

std::string ColorChoices()
{
    std::string choices;
    for (std::size_t i = 0; i < sign::kColors.size(); ++i)
        choices += (i ? ", " : "") + std::to_string(i) + " " + sign::kColors[i].name;
    return choices;
}

} // namespace

std::string SignLineOptions::LineFrom(const std::string& text) const
{
    return raw ? text : base::win1252::FromUtf8(text);
}

bool TakeSignLineOption(const std::vector<std::string>& args, std::size_t& i,
                        SignLineOptions& options, std::optional<std::string>& problem)
{
    const std::string& arg = args[i];
    if (arg == "--condensed") {
        options.condensed = true;
    } else if (arg == "--raw") {
        options.raw = true;
    } else if (arg == "--color" || arg.rfind("--color=", 0) == 0) {
        if (arg == "--color" && i + 1 == args.size()) {
            problem = "--color needs a value";
            return true;
        }
        const std::string value = arg == "--color" ? args[++i] : arg.substr(8);
        const std::optional<int> index = sign::ParseColorIndex(value);
        if (index)
            options.colorIndex = *index;
        else
            problem = "unknown colour '" + value + "'; choose one of " + ColorChoices();
    } else {
        return false;
    }
    return true;
}

} // namespace tickerlux::cli
