#include "tools/signsim/Report.h"

#include "base/Win1252.h"

#include <cstdio>
#include <string>

namespace tickerlux::signsim {

namespace {

// ANSI foreground colours for the sign's colour codes.
const char* AnsiColor(std::optional<char> code)
{
    switch (code.value_or('1')) {
    case '1': return "\033[1;31m";   // red
    case '2': return "\033[1;32m";   // green
    case '3': return "\033[33m";     // amber
    case '4': return "\033[31m";     // dim red
    case '5': return "\033[32m";     // dim green
    case '6': return "\033[2;33m";   // brown
    case '7': return "\033[38;5;208m";  // orange
    case '8': return "\033[1;33m";   // yellow
    default: return "\033[1;35m";    // rainbow, colour mix, autocolor
    }
}

std::string LineText(const LineSettings& line)
{
    std::string text = std::to_string(line.baud) + " baud, ";
    if (line.dataBits && line.parity)
        text += std::to_string(*line.dataBits) + " data bits, parity " + *line.parity + ", ";
    else
        text += "data bits and parity fixed by the device, ";
    text += std::to_string(line.stopBits) + (line.stopBits == 1 ? " stop bit" : " stop bits");
    return text;
}

// The text in UTF-8 with control bytes written as \xHH, so that no byte of a transmission can
// steer the terminal.
std::string Printable(const std::string& win1252Text)
{
    std::string safe;
    for (const char c : win1252Text) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t point = base::win1252::ToUnicode(byte);
        if (point < 0x20 || (point >= 0x7F && point <= 0x9F)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            safe += escaped;
        } else {
            safe += c;
        }
    }
    return base::win1252::ToUtf8(safe);
}

std::string Quoted(const std::string& win1252Text)
{
    return "\"" + Printable(win1252Text) + "\"";
}

std::string Look(std::optional<char> color, std::optional<char> mode)
{
    const char* colorName = color ? ColorName(*color) : nullptr;
    const char* modeName = mode ? ModeName(*mode) : nullptr;
    std::string text = "colour ";
    text += colorName ? colorName : color ? "code " + ByteText(static_cast<unsigned char>(*color))
                                          : std::string("none");
    text += ", mode ";
    text += modeName ? modeName : mode ? "code " + ByteText(static_cast<unsigned char>(*mode))
                                       : std::string("none");
    return text;
}

class CHumanReport : public IReport {
public:
    CHumanReport(std::FILE* out, bool colors) : m_out(out), m_colors(colors) {}

    bool Ready(const std::string& device, std::optional<int> comPort) override
    {
        std::string text = "Virtual sign listening on " + device;
        if (comPort)
            text += " (COM" + std::to_string(*comPort) + ")";
        return Emit(text + ". Stop it with Ctrl+C.\n");
    }

    bool Transmission(const TransmissionReport& report) override
    {
        const sign::DecodedTransmission& t = *report.transmission;
        std::string text = "#" + std::to_string(report.number) + " " + sign::KindName(t.kind) +
                           ", " + std::to_string(t.bytes.size()) + " bytes at " +
                           LineText(report.line) + "\n";
        if (t.text)
            text += "   file " + ByteText(static_cast<unsigned char>(t.text->fileLabel)) + ", " +
                    Look(t.text->hasColor ? std::optional<char>(t.text->colorCode) : std::nullopt,
                         t.text->hasMode ? std::optional<char>(t.text->mode) : std::nullopt) +
                    ": " + Quoted(t.text->text) + "\n";
        for (const sign::MemoryFileEntry& entry : t.memory)
            text += "   file " + ByteText(static_cast<unsigned char>(entry.label)) + ": type " +
                    ByteText(static_cast<unsigned char>(entry.type)) + ", size " +
                    (entry.size >= 0 ? std::to_string(entry.size) + " bytes"
                                     : Quoted(entry.sizeField) + " (unreadable)") +
                    "\n";
        if (t.kind == sign::TransmissionKind::RunSequence)
            text += "   run sequence " + Quoted(t.runSequenceFiles) + "\n";
        for (const std::string& error : report.errors)
            text += Paint("\033[1;31m", "   error: " + Printable(error)) + "\n";  // may quote bytes sent
        return Emit(text);
    }

    bool DisplayChanged(const Display& display) override
    {
        const std::string shown = display.text.empty()
                                      ? std::string("(blank)")
                                      : Paint(AnsiColor(display.colorCode), Printable(display.text));
        return Emit("   sign shows [" + shown + "] " +
                    Look(display.colorCode, display.modeCode) + "\n");
    }

private:
    std::string Paint(const char* color, const std::string& text) const
    {
        return m_colors ? color + text + "\033[0m" : text;
    }

    bool Emit(const std::string& text)
    {
        return std::fwrite(text.data(), 1, text.size(), m_out) == text.size() &&
               std::fflush(m_out) == 0;
    }

    std::FILE* m_out;
    bool m_colors;
};

} // namespace

std::unique_ptr<IReport> MakeHumanReport(std::FILE* out, bool colors)
{
    return std::make_unique<CHumanReport>(out, colors);
}

} // namespace tickerlux::signsim
