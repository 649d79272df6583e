#include "cli/ConnectionKinds.h"

#include "settings/TickerluxDoc.h"

namespace cli {

bool IsConnectionKind(const std::string& text)
{
    return text == kClassic || text == kCustom || text == kUsb;
}

std::string ConnectionKindChoices()
{
    return std::string("choose \"") + kClassic + "\", \"" + kCustom + "\" or \"" + kUsb + "\"";
}

void ApplyConnectionKind(CTickerluxDoc& doc, const std::string& connection)
{
    doc.Connection = connection;
    if (connection == kUsb) {
        doc.ComPort = 0;
        doc.BaudRate = 0;
        doc.ByteSize = 0;
        doc.Parity.clear();
        doc.StopBits = 0;
    } else if (connection == kClassic) {
        doc.BaudRate = 9600;
        doc.ByteSize = 7;
        doc.Parity = "even";
        doc.StopBits = 1;
    }
}

} // namespace cli
