#include "cli/WatchUserInterface.h"

#include "cli/TimeStamp.h"

#include <cstdio>

namespace cli {

void CWatchUserInterface::MessageBox(const std::string& text)
{
    std::fprintf(stderr, "%s ", TimeStamp().c_str());
    CCliUserInterface::MessageBox(text);
}

void CWatchUserInterface::PrintLine(const std::string& text)
{
    std::fprintf(stderr, "%s ", TimeStamp().c_str());
    CCliUserInterface::PrintLine(text);
}

} // namespace cli
