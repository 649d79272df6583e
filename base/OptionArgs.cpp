#include "base/OptionArgs.h"

namespace tickerlux::base {

std::optional<std::string> TakeOptions(std::vector<std::string>& args, const OptionTaker& take)
{
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        std::optional<std::string> problem;
        if (!take(args, i, problem))
            rest.push_back(args[i]);
        else if (problem)
            return problem;
    }
    args = std::move(rest);
    return std::nullopt;
}

} // namespace tickerlux::base
