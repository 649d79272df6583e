// Arbitrary bytes through the sign decoder and the encoder. The first byte chooses the piece
// size of the stream (so the decoder's state carries across Feed calls) and the colour; the
// rest is the stream, and then the sign line.
#include "sign/SignDecoder.h"
#include "sign/TextEncoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::sign;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t piece = data[0] % 64 + 1;
    const int colorIndex = data[0] % 16 - 2;
    ++data;
    --size;

    // Every byte of the stream lands in exactly one unit.
    sign::CSignDecoder decoder;
    std::size_t seen = 0;
    for (std::size_t at = 0; at < size; at += piece) {
        for (const auto& t : decoder.Feed(data + at, std::min(piece, size - at)))
            seen += t.bytes.size();
    }
    if (auto last = decoder.Finish())
        seen += last->bytes.size();
    if (seen != size)
        std::abort();
    sign::DecodeTransmission(data, size);

    // Whatever the line, its transmission decodes without a fault.
    std::vector<unsigned char> buffer(sign::kMaxTextTransmissionLength);
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::size_t length =
        sign::BuildTextTransmission(buffer.data(), line, colorIndex, piece % 2 == 0);
    const sign::DecodedTransmission t = sign::DecodeTransmission(buffer.data(), length);
    if (t.kind != sign::TransmissionKind::WriteText || !t.errors.empty())
        std::abort();
    return 0;
}
