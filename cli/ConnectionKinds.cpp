#include "cli/ConnectionKinds.h"

#include "settings/CommSettings.h"

namespace cli {

std::string ConnectionKindChoices()
{
    return std::string("choose \"") + ConnectionName(ConnectionKind::ClassicSerial) + "\", \"" +
           ConnectionName(ConnectionKind::CustomSerial) + "\" or \"" +
           ConnectionName(ConnectionKind::Usb) + "\"";
}

} // namespace cli
