#pragma once

#include <string_view>
#include <vector>

namespace tickerlux::web {

// One file of the page, built into the program from web/page/.
struct PageFile {
    std::string_view path;  // "/app.js"
    std::string_view bytes;
};

const std::vector<PageFile>& PageFiles();

} // namespace tickerlux::web
