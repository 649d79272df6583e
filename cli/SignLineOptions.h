#pragma once

#include "sign/SignColors.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tickerlux::cli {

// The options that shape a sign line's transmission: --color N, --condensed, --raw.
struct SignLineOptions {
    int colorIndex = sign::kDefaultColorIndex;
    bool condensed = false;
    bool raw = false;  // the text is Windows-1252 bytes already, not UTF-8

    // The line as the program's Windows-1252 bytes.
    std::string LineFrom(const std::string& text) const;
};

// Takes args[i] when it is one of the options (with --color, also its value, moving `i` past
// it). Returns false when args[i] is something else; `problem` is set when the option is bad.
bool TakeSignLineOption(const std::vector<std::string>& args, std::size_t& i,
                        SignLineOptions& options, std::optional<std::string>& problem);

} // namespace tickerlux::cli
