#include "link/Delivery.h"

#include "link/Transports.h"

namespace tickerlux::link {

DeliveryResult Deliver(const settings::CommSettings& settings, const std::string& device,
                       const unsigned char* data, std::size_t length,
                       const Progress& progress, std::chrono::milliseconds serialSlack)
{
    if (settings.IsUsb())
        return DeliverOverUsb(data, length, progress);
    return DeliverOverSerial(settings, device, data, length, progress, serialSlack);
}

} // namespace tickerlux::link
