#include "link/Transports.h"

#include "link/SharedLibrary.h"
#include "usb/BetaBriteUsb.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tickerlux::link {

namespace {

constexpr const char* kLibraryFile = "libbetabriteusb.so";
constexpr std::size_t kPieceSize = 256;
constexpr std::size_t kReplySize = 2000;
// The read after each piece asks for one packet of reply.
constexpr int kReplyPackets = 1;

using OpenFunction = decltype(&USBBULK_Open);
using WriteFunction = decltype(&USBBULK_Write);
using ReadFunction = decltype(&USBBULK_Read);
using CloseFunction = decltype(&USBBULK_Close);

base::Failure EntryPointMissing(const char* name)
{
    return {base::FailureKind::UsbEntryPointMissing, name, "not found in libbetabriteusb.so"};
}

// The failure of the whole delivery: the first problem's kind, or a refused piece.
DeliveryResult NotDelivered(std::vector<base::Failure> problems)
{
    const base::FailureKind kind = problems.empty() ? base::FailureKind::UsbRefused : problems.front().kind;
    return {{kind, "USB sign", "the transmission was not delivered"}, std::move(problems)};
}

} // namespace

// Each problem is recorded once, in the order the steps meet it; the steps after a problem still
// run as far as they can, so that an opened sign is always closed.
DeliveryResult DeliverOverUsb(const unsigned char* data, std::size_t length,
                              const Progress& progress)
{
    CSharedLibrary library;
    if (!library.Load(kLibraryFile))
        return NotDelivered({{base::FailureKind::UsbLibraryMissing, kLibraryFile, library.LastError()}});

    const auto open = library.Find<OpenFunction>("USBBULK_Open");
    if (!open)
        return NotDelivered({EntryPointMissing("USBBULK_Open")});

    std::vector<base::Failure> problems;
    std::array<unsigned char, kPieceSize> staging{};
    std::array<unsigned char, kReplySize> reply{};

    const bool opened = open() != 0;
    if (!opened)
        problems.push_back({base::FailureKind::UsbOpenFailed, "USBBULK_Open", "the sign did not open"});

    std::size_t offset = 0;
    bool complete = false;
    const auto write = library.Find<WriteFunction>("USBBULK_Write");
    const auto read = write ? library.Find<ReadFunction>("USBBULK_Read") : nullptr;
    if (!write) {
        problems.push_back(EntryPointMissing("USBBULK_Write"));
    } else if (!read) {
        problems.push_back(EntryPointMissing("USBBULK_Read"));
    } else if (opened) {
        // A refused piece ends the transmission; the rest is dropped.
        int lastResult = 1;
        while (offset < length && lastResult > 0) {
            const std::size_t piece = std::min(kPieceSize, length - offset);
            std::memcpy(staging.data(), data + offset, piece);
            lastResult = write(staging.data(), static_cast<int>(piece));
            read(reply.data(), kReplyPackets);
            if (lastResult > 0) {
                offset += piece;
                if (progress)
                    progress(static_cast<long long>(offset), static_cast<long long>(length));
            }
        }
        complete = offset >= length;
    }

    const auto close = library.Find<CloseFunction>("USBBULK_Close");
    if (!close) {
        problems.push_back(EntryPointMissing("USBBULK_Close"));
        return NotDelivered(std::move(problems));
    }
    close();
    library.Free();
    if (!complete)
        return NotDelivered(std::move(problems));
    return {};
}

} // namespace tickerlux::link
