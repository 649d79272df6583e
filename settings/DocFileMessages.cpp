#include "settings/DocFileMessages.h"

namespace tickerlux::settings {

std::string ReadFailed(const std::string& path, const std::string& reason)
{
    return "Unable to read \"" + path + "\": " + reason + ".";
}

std::string SaveFailed(const std::string& path, const std::string& reason)
{
    return "Unable to save \"" + path + "\": " + reason + ".";
}

} // namespace tickerlux::settings
