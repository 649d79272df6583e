#include "cli/CmdEncode.h"

#include "cli/ExitCodes.h"
#include "cli/Output.h"
#include "cli/SignLineOptions.h"
#include "cli/Usage.h"
#include "sign/AlphaProtocol.h"
#include "sign/TextEncoder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

namespace tickerlux::cli {

namespace {

constexpr const char* kSynopsis = "encode [--color N] [--condensed] [--raw]";

// Fills `options`, or returns the problem with the arguments.
std::optional<std::string> ParseOptions(const std::vector<std::string>& args,
                                        SignLineOptions& options)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> problem;
        if (TakeSignLineOption(args, i, options, problem)) {
            if (problem)
                return problem;
        } else if (!args[i].empty() && args[i][0] == '-') {
            return "unknown option '" + args[i] + "'";
        } else {
            return "unexpected argument '" + args[i] + "'; the line comes on standard input";
        }
    }
    return std::nullopt;
}

// The line is cut at kMaxLineLength bytes of Windows-1252, each made of at most four bytes of
// UTF-8 (one with --raw); two more make room for a CR LF at the end. Nothing after that can
// change what is sent, so it is not read: an endless input takes no more memory than this.
std::size_t InputThatCanMatter(bool raw)
{
    return sign::kMaxLineLength * (raw ? 1 : 4) + 2;
}

bool ReadAtMost(FILE* in, std::size_t maxBytes, std::string& bytes)
{
    bytes.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const std::size_t more = std::fread(bytes.data() + got, 1, maxBytes - got, in);
        if (more == 0)
            break;
        got += more;
    }
    bytes.resize(got);
    return !std::ferror(in);
}

// The line without the newline that ends it ("\n" or "\r\n").
void DropLineEnd(std::string& line)
{
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    }
}

int RunEncode(const std::vector<std::string>& args)
{
    SignLineOptions options;
    if (const std::optional<std::string> problem = ParseOptions(args, options))
        return UsageError(kSynopsis, *problem);

    std::string input;
    if (!ReadAtMost(stdin, InputThatCanMatter(options.raw), input)) {
        std::fprintf(stderr, "tickerlux-cli encode: cannot read standard input: %s\n",
                     std::strerror(errno));
        return kExitUsage;
    }
    DropLineEnd(input);
    const std::string line = options.LineFrom(input);
    const std::string_view sent = std::string_view(line).substr(0, sign::kMaxLineLength);
    if (const std::size_t nul = sent.find('\0'); nul != std::string::npos) {
        std::fprintf(stderr,
                     "tickerlux-cli encode: the line holds a NUL byte at offset %zu; a sign "
                     "line cannot\n",
                     nul);
        return kExitUsage;
    }

    std::vector<unsigned char> transmission(sign::kMaxTextTransmissionLength);
    transmission.resize(
        sign::BuildTextTransmission(transmission.data(), sent, options.colorIndex, options.condensed));

    std::fwrite(transmission.data(), 1, transmission.size(), stdout);
    return FinishOutput("encode") ? kExitOk : kExitFailed;
}

} // namespace

Command EncodeCommand()
{
    return {"encode", kSynopsis,
            "write the sign transmission of the line on standard input",
            "Reads one sign line on standard input and writes the complete write-text\n"
            "transmission for it, as bytes, to standard output; nothing is sent to a sign.\n"
            "The input is UTF-8 and is converted to Windows-1252 ('?' for characters it\n"
            "lacks); with --raw its bytes are used unchanged. Everything on standard input is\n"
            "the line, except one newline (LF or CR LF) at its very end. Line breaks inside it\n"
            "are control bytes, which the sign never gets. Only the first 30,000 bytes of the\n"
            "line (after conversion) are sent, and input past what can give them is not read;\n"
            "a NUL byte among them is refused (exit 2).\n"
            "  --color N    N is a number or a name: 0 Amber, 1 Autocolor, 2 Brown, 3 Dim Green,\n"
            "               4 Dim Red, 5 Green, 6 Orange, 7 Rainbow 1, 8 Rainbow 2, 9 Red,\n"
            "               10 Yellow (default 9, Red)\n"
            "  --condensed  compressed rotate instead of rotate\n"
            "  --raw        take the input bytes as Windows-1252 bytes, without conversion\n",
            RunEncode};
}

} // namespace tickerlux::cli
