#include "tools/signsim/Json.h"
#include "tools/signsim/Report.h"

#include "base/Win1252.h"

namespace tickerlux::signsim {

namespace {

std::string Hex(const std::vector<unsigned char>& bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

std::string Char(char c)
{
    return base::win1252::ToUtf8(std::string_view(&c, 1));
}

std::string Strings(const std::vector<std::string>& texts)
{
    std::string array = "[";
    for (const std::string& text : texts) {
        if (array.size() > 1)
            array += ',';
        array += JsonString(text);
    }
    return array + "]";
}

std::string LineJson(const LineSettings& line)
{
    CJsonObject json;
    json.Number("baud", line.baud).Number("stop_bits", line.stopBits);
    if (line.dataBits)
        json.Number("data_bits", *line.dataBits);
    else
        json.Null("data_bits");
    if (line.parity)
        json.String("parity", *line.parity);
    else
        json.Null("parity");
    return json.Text();
}

// The colour and mode members shared by text fields and the display.
void AddLook(CJsonObject& json, std::optional<char> color, std::optional<char> mode)
{
    const char* colorName = color ? ColorName(*color) : nullptr;
    const char* modeName = mode ? ModeName(*mode) : nullptr;
    colorName ? json.String("color", colorName) : json.Null("color");
    color ? json.String("color_code", Char(*color)) : json.Null("color_code");
    modeName ? json.String("mode", modeName) : json.Null("mode");
    mode ? json.String("mode_code", Char(*mode)) : json.Null("mode_code");
}

void AddDecodedFields(CJsonObject& json, const sign::DecodedTransmission& t)
{
    json.String("type_code", Char(t.typeCode)).String("address", base::win1252::ToUtf8(t.address));
    json.String("command", Char(t.commandCode));
    if (t.text) {
        json.String("file", Char(t.text->fileLabel));
        json.String("text", base::win1252::ToUtf8(t.text->text));
        AddLook(json, t.text->hasColor ? std::optional<char>(t.text->colorCode) : std::nullopt,
                t.text->hasMode ? std::optional<char>(t.text->mode) : std::nullopt);
    }
    if (t.kind == sign::TransmissionKind::MemoryConfig) {
        std::string files = "[";
        for (const sign::MemoryFileEntry& entry : t.memory) {
            if (files.size() > 1)
                files += ',';
            CJsonObject file;
            file.String("label", Char(entry.label))
                .String("type", Char(entry.type))
                .String("protection", Char(entry.protection))
                .String("size_field", base::win1252::ToUtf8(entry.sizeField));
            entry.size >= 0 ? file.Number("size", entry.size) : file.Null("size");
            file.String("times", base::win1252::ToUtf8(entry.timesField));
            files += file.Text();
        }
        json.Raw("files", files + "]");
    }
    if (t.kind == sign::TransmissionKind::RunSequence) {
        json.String("sequence_type", Char(t.runSequenceType))
            .String("sequence_lock", Char(t.runSequenceLock))
            .String("sequence", base::win1252::ToUtf8(t.runSequenceFiles));
    }
}

class CJsonReport : public IReport {
public:
    explicit CJsonReport(std::FILE* out) : m_out(out) {}

    bool Ready(const std::string& device, std::optional<int> comPort) override
    {
        CJsonObject json;
        json.String("event", "ready").String("device", device);
        comPort ? json.Number("com", *comPort) : json.Null("com");
        return Emit(json);
    }

    bool Transmission(const TransmissionReport& report) override
    {
        const sign::DecodedTransmission& t = *report.transmission;
        CJsonObject json;
        json.String("event", "transmission")
            .Number("length", static_cast<long long>(t.bytes.size()))
            .String("hex", Hex(t.bytes))
            .String("kind", sign::KindName(t.kind))
            .Raw("line", LineJson(report.line))
            .Raw("errors", Strings(report.errors))
            .Number("number", report.number);
        AddDecodedFields(json, t);
        return Emit(json);
    }

    bool DisplayChanged(const Display& display) override
    {
        CJsonObject json;
        json.String("event", "display").String("text", base::win1252::ToUtf8(display.text));
        AddLook(json, display.colorCode, display.modeCode);
        return Emit(json);
    }

private:
    bool Emit(const CJsonObject& json)
    {
        const std::string line = json.Text() + "\n";
        return std::fwrite(line.data(), 1, line.size(), m_out) == line.size() &&
               std::fflush(m_out) == 0;
    }

    std::FILE* m_out;
};

} // namespace

std::unique_ptr<IReport> MakeJsonReport(std::FILE* out)
{
    return std::make_unique<CJsonReport>(out);
}

} // namespace tickerlux::signsim
