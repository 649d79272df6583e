#include "cli/ConnectionKinds.h"

#include "settings/CommSettings.h"

namespace tickerlux::cli {

std::string ConnectionKindChoices()
{
    return std::string("choose \"") + settings::ConnectionName(settings::ConnectionKind::ClassicSerial) + "\", \"" +
           settings::ConnectionName(settings::ConnectionKind::CustomSerial) + "\" or \"" +
           settings::ConnectionName(settings::ConnectionKind::Usb) + "\"";
}

} // namespace tickerlux::cli
