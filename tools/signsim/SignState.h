#pragma once

#include "sign/SignDecoder.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tickerlux::signsim {

// The memory and display of a sign: text files sized by the last memory configuration, the run
// sequence, and what the sign therefore shows.

struct Display {
    std::string text;          // Windows-1252, as the sign holds it
    std::optional<char> colorCode;
    std::optional<char> modeCode;

    bool operator==(const Display&) const = default;
};

class CSignState {
public:
    // Applies one transmission as a sign would and returns what the sign rejects or cannot show.
    // A transmission the decoder found malformed changes nothing.
    std::vector<std::string> Apply(const sign::DecodedTransmission& transmission);

    // The file on view: the first configured file of the run sequence, or file A while no run
    // sequence has been set (the sign's default).
    Display Shown() const;

private:
    struct File {
        char type = 'A';
        long size = -1;
        std::optional<sign::DecodedText> text;   // nullopt until written
    };

    std::vector<std::string> WriteText(const sign::DecodedTransmission& transmission);
    std::vector<std::string> ConfigureMemory(const sign::DecodedTransmission& transmission);
    std::vector<std::string> SetRunSequence(const sign::DecodedTransmission& transmission);

    std::map<char, File> m_files;
    std::optional<std::string> m_runSequence;
};

// "Red", "Autocolor", ... for a colour code; nullptr for a code the sign does not know.
const char* ColorName(char code);
// "rotate", "compressed rotate", ... for a mode code; nullptr for a code the sign does not know.
const char* ModeName(char code);
// A byte as it can be shown in a message: 'A', or 0x1B.
std::string ByteText(unsigned char byte);

} // namespace tickerlux::signsim
