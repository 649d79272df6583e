#include "cli/WatchUserInterface.h"

#include "cli/LogTimeStamp.h"

#include <cstdio>

namespace tickerlux::cli {

void CWatchUserInterface::MessageBox(const std::string& text)
{
    std::fprintf(stderr, "%s ", LogTimeStamp().c_str());
    CCliUserInterface::MessageBox(text);
}

void CWatchUserInterface::PrintLine(const std::string& text)
{
    std::fprintf(stderr, "%s ", LogTimeStamp().c_str());
    CCliUserInterface::PrintLine(text);
}

} // namespace tickerlux::cli
