#pragma once

#include <string>

class CTickerluxDoc;

namespace cli {

// The three connection kinds, spelt as the settings dialog lists them.
inline constexpr const char* kClassic = "serial port - betabrite classic";
inline constexpr const char* kCustom = "serial port - custom settings";
inline constexpr const char* kUsb = "usb - betabrite prism";

bool IsConnectionKind(const std::string& text);

// "choose "...", "..." or "..."", for messages about a kind that is none of the three.
std::string ConnectionKindChoices();

// Choosing a connection kind in the settings dialog: the classic sign's line is fixed and a USB
// sign needs no serial values. Sets `doc`'s Connection too.
void ApplyConnectionKind(CTickerluxDoc& doc, const std::string& connection);

} // namespace cli
