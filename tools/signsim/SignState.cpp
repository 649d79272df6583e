#include "tools/signsim/SignState.h"

#include "sign/SignColors.h"

#include <algorithm>
#include <cstdio>

namespace tickerlux::signsim {

namespace {

using sign::TransmissionKind;

bool Contains(const std::string& labels, char label)
{
    return labels.find(label) != std::string::npos;
}

std::string FileName(char label)
{
    return "file " + ByteText(static_cast<unsigned char>(label));
}

} // namespace

std::string ByteText(unsigned char byte)
{
    if (byte >= 0x20 && byte < 0x7F)
        return std::string(1, static_cast<char>(byte));
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", byte);
    return hex;
}

const char* ColorName(char code)
{
    if (const char* name = sign::ColorNameForCode(code))
        return name;
    return code == 'B' ? "Color Mix" : nullptr;
}

const char* ModeName(char code)
{
    struct Mode {
        char code;
        const char* name;
    };
    static constexpr Mode kModes[] = {
        {'a', "rotate"},     {'b', "hold"},       {'c', "flash"},      {'e', "roll up"},
        {'f', "roll down"},  {'g', "roll left"},  {'h', "roll right"}, {'i', "wipe up"},
        {'j', "wipe down"},  {'k', "wipe left"},  {'l', "wipe right"}, {'m', "scroll"},
        {'n', "special"},    {'o', "automode"},   {'p', "roll in"},    {'q', "roll out"},
        {'r', "wipe in"},    {'s', "wipe out"},   {'t', "compressed rotate"},
    };
    for (const Mode& mode : kModes)
        if (mode.code == code)
            return mode.name;
    return nullptr;
}

std::vector<std::string> CSignState::Apply(const sign::DecodedTransmission& transmission)
{
    if (!transmission.errors.empty())
        return {};
    switch (transmission.kind) {
    case TransmissionKind::WriteText:
    case TransmissionKind::Clear:
        return WriteText(transmission);
    case TransmissionKind::MemoryConfig:
        return ConfigureMemory(transmission);
    case TransmissionKind::RunSequence:
        return SetRunSequence(transmission);
    case TransmissionKind::Unknown:
        break;
    }
    const unsigned char command = static_cast<unsigned char>(transmission.commandCode);
    if (transmission.commandCode == 'E' && !transmission.data.empty())
        return {"unknown special function " + ByteText(transmission.data.front())};
    return {"unknown command " + ByteText(command)};
}

std::vector<std::string> CSignState::WriteText(const sign::DecodedTransmission& transmission)
{
    if (!transmission.text)
        return {"write-text command without a file label"};
    const sign::DecodedText& text = *transmission.text;
    const auto file = m_files.find(text.fileLabel);
    // The file's contents: everything after the label (mode field, colour, encoded text).
    const long contentLength =
        static_cast<long>(transmission.data.empty() ? 0 : transmission.data.size() - 1);

    if (file == m_files.end()) {
        // Clearing a file that does not exist leaves nothing to reject.
        if (transmission.kind == TransmissionKind::Clear)
            return {};
        return {"text for " + FileName(text.fileLabel) +
                ", which no memory configuration has set up"};
    }
    if (file->second.type != 'A')
        return {FileName(text.fileLabel) + " is not a TEXT file"};
    if (contentLength > file->second.size)
        return {"text of " + std::to_string(contentLength) + " bytes does not fit " +
                FileName(text.fileLabel) + ", configured for " +
                std::to_string(file->second.size) + " bytes"};

    file->second.text = text;
    if (m_runSequence && !Contains(*m_runSequence, text.fileLabel) &&
        transmission.kind == TransmissionKind::WriteText)
        return {FileName(text.fileLabel) + " is not in the run sequence \"" + *m_runSequence +
                "\", so its text is not shown"};
    return {};
}

std::vector<std::string> CSignState::ConfigureMemory(const sign::DecodedTransmission& transmission)
{
    // A new configuration replaces the sign's memory as a whole: every file and the run sequence.
    m_files.clear();
    m_runSequence.reset();
    std::vector<std::string> errors;
    if (transmission.memory.empty())
        errors.push_back("memory configuration without any file");
    for (const sign::MemoryFileEntry& entry : transmission.memory) {
        if (entry.size < 0) {
            errors.push_back(FileName(entry.label) + ": size \"" + entry.sizeField +
                             "\" is not four hexadecimal digits");
            continue;
        }
        if (m_files.count(entry.label)) {
            errors.push_back(FileName(entry.label) + " is configured twice");
            continue;
        }
        m_files[entry.label] = File{entry.type, entry.size, std::nullopt};
    }
    return errors;
}

std::vector<std::string> CSignState::SetRunSequence(const sign::DecodedTransmission& transmission)
{
    std::vector<std::string> errors;
    const char type = transmission.runSequenceType;
    if (type != 'T' && type != 'S' && type != 'A')
        errors.push_back("unknown run sequence type " + ByteText(static_cast<unsigned char>(type)));
    const std::string& labels = transmission.runSequenceFiles;
    if (labels.empty())
        errors.push_back("run sequence without any file");
    for (const char label : labels)
        if (!m_files.count(label))
            errors.push_back(FileName(label) +
                             " of the run sequence is not set up by the memory configuration");
    for (const auto& [label, file] : m_files)
        if (file.text && !file.text->text.empty() && !Contains(labels, label))
            errors.push_back(FileName(label) + " holds text but is missing from the run sequence");
    m_runSequence = labels;
    return errors;
}

Display CSignState::Shown() const
{
    char label = 'A';
    if (m_runSequence) {
        const auto configured = std::find_if(m_runSequence->begin(), m_runSequence->end(),
                                             [this](char l) { return m_files.count(l) != 0; });
        if (configured == m_runSequence->end())
            return {};
        label = *configured;
    }
    const auto file = m_files.find(label);
    if (file == m_files.end() || !file->second.text)
        return {};
    const sign::DecodedText& text = *file->second.text;
    Display shown;
    shown.text = text.text;
    if (text.hasColor)
        shown.colorCode = text.colorCode;
    if (text.hasMode)
        shown.modeCode = text.mode;
    return shown;
}

} // namespace tickerlux::signsim
