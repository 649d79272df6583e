#include "tools/signsim/Report.h"

#include "base/Win1252.h"

#include <nlohmann/json.hpp>

#include <utility>

namespace tickerlux::signsim {

namespace {

// Members keep the order they are added in: the event name comes first.
using Json = nlohmann::ordered_json;

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

template <typename T>
Json OrNull(const std::optional<T>& value)
{
    return value ? Json(*value) : Json(nullptr);
}

Json LineJson(const LineSettings& line)
{
    Json json;
    json["baud"] = line.baud;
    json["stop_bits"] = line.stopBits;
    json["data_bits"] = OrNull(line.dataBits);
    json["parity"] = OrNull(line.parity);
    return json;
}

// The colour and mode members shared by text fields and the display.
void AddLook(Json& json, std::optional<char> color, std::optional<char> mode)
{
    const char* colorName = color ? ColorName(*color) : nullptr;
    const char* modeName = mode ? ModeName(*mode) : nullptr;
    json["color"] = colorName ? Json(colorName) : Json(nullptr);
    json["color_code"] = color ? Json(Char(*color)) : Json(nullptr);
    json["mode"] = modeName ? Json(modeName) : Json(nullptr);
    json["mode_code"] = mode ? Json(Char(*mode)) : Json(nullptr);
}

void AddDecodedFields(Json& json, const sign::DecodedTransmission& t)
{
    json["type_code"] = Char(t.typeCode);
    json["address"] = base::win1252::ToUtf8(t.address);
    json["command"] = Char(t.commandCode);
    if (t.text) {
        json["file"] = Char(t.text->fileLabel);
        json["text"] = base::win1252::ToUtf8(t.text->text);
        AddLook(json, t.text->hasColor ? std::optional<char>(t.text->colorCode) : std::nullopt,
                t.text->hasMode ? std::optional<char>(t.text->mode) : std::nullopt);
    }
    if (t.kind == sign::TransmissionKind::MemoryConfig) {
        Json files = Json::array();
        for (const sign::MemoryFileEntry& entry : t.memory) {
            Json file;
            file["label"] = Char(entry.label);
            file["type"] = Char(entry.type);
            file["protection"] = Char(entry.protection);
            file["size_field"] = base::win1252::ToUtf8(entry.sizeField);
            file["size"] = entry.size >= 0 ? Json(entry.size) : Json(nullptr);
            file["times"] = base::win1252::ToUtf8(entry.timesField);
            files.push_back(std::move(file));
        }
        json["files"] = std::move(files);
    }
    if (t.kind == sign::TransmissionKind::RunSequence) {
        json["sequence_type"] = Char(t.runSequenceType);
        json["sequence_lock"] = Char(t.runSequenceLock);
        json["sequence"] = base::win1252::ToUtf8(t.runSequenceFiles);
    }
}

class CJsonReport : public IReport {
public:
    explicit CJsonReport(std::FILE* out) : m_out(out) {}

    bool Ready(const std::string& device, std::optional<int> comPort) override
    {
        Json json;
        json["event"] = "ready";
        json["device"] = device;
        json["com"] = OrNull(comPort);
        return Emit(json);
    }

    bool Transmission(const TransmissionReport& report) override
    {
        const sign::DecodedTransmission& t = *report.transmission;
        Json json;
        json["event"] = "transmission";
        json["length"] = t.bytes.size();
        json["hex"] = Hex(t.bytes);
        json["kind"] = sign::KindName(t.kind);
        json["line"] = LineJson(report.line);
        json["errors"] = report.errors;
        json["number"] = report.number;
        AddDecodedFields(json, t);
        return Emit(json);
    }

    bool DisplayChanged(const Display& display) override
    {
        Json json;
        json["event"] = "display";
        json["text"] = base::win1252::ToUtf8(display.text);
        AddLook(json, display.colorCode, display.modeCode);
        return Emit(json);
    }

private:
    // One line per event: control characters escaped, UTF-8 kept, bytes that are not UTF-8
    // (a device path can hold any) written as U+FFFD rather than failing the event.
    bool Emit(const Json& json)
    {
        const std::string line =
            json.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
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
