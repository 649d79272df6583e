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

// The failure of a transmission: the first problem's kind, or a refused piece.
base::Failure NotDelivered(const std::vector<base::Failure>& problems)
{
    const base::FailureKind kind =
        problems.empty() ? base::FailureKind::UsbRefused : problems.front().kind;
    return {kind, "USB sign", "the transmission was not delivered"};
}

// The library loaded and its sign opened as far as it would; each problem is recorded once, in
// the order the steps meet it, and the steps after a problem still run as far as they can, so
// that an opened sign is always closed.
class CUsbTransport : public CTransport {
public:
    CUsbTransport(std::unique_ptr<CSharedLibrary> library, OpenFunction open,
                  DeliveryResult& opening)
        : m_library(std::move(library))
    {
        m_opened = open() != 0;
        if (!m_opened)
            opening.problems.push_back(
                {base::FailureKind::UsbOpenFailed, "USBBULK_Open", "the sign did not open"});
        m_write = m_library->Find<WriteFunction>("USBBULK_Write");
        m_read = m_write ? m_library->Find<ReadFunction>("USBBULK_Read") : nullptr;
        if (!m_write)
            opening.problems.push_back(EntryPointMissing("USBBULK_Write"));
        else if (!m_read)
            opening.problems.push_back(EntryPointMissing("USBBULK_Read"));
        if (!opening.problems.empty())
            opening.failure = NotDelivered(opening.problems);
    }

    // A refused piece ends the transmission; the rest is dropped.
    DeliveryResult Send(const unsigned char* data, std::size_t length,
                        const Progress& progress) override
    {
        std::size_t offset = 0;
        int lastResult = 1;
        while (offset < length && lastResult > 0) {
            const std::size_t piece = std::min(kPieceSize, length - offset);
            std::memcpy(m_staging.data(), data + offset, piece);
            lastResult = m_write(m_staging.data(), static_cast<int>(piece));
            m_read(m_reply.data(), kReplyPackets);
            if (lastResult > 0) {
                offset += piece;
                if (progress)
                    progress(static_cast<long long>(offset), static_cast<long long>(length));
            }
        }
        if (offset < length)
            return {NotDelivered({}), {}};
        return {};
    }

    DeliveryResult Close() override
    {
        const auto close = m_library->Find<CloseFunction>("USBBULK_Close");
        if (!close) {
            m_library->Free();
            std::vector<base::Failure> problems{EntryPointMissing("USBBULK_Close")};
            return {NotDelivered(problems), problems};
        }
        close();
        m_library->Free();
        return {};
    }

private:
    std::unique_ptr<CSharedLibrary> m_library;
    bool m_opened = false;
    WriteFunction m_write = nullptr;
    ReadFunction m_read = nullptr;
    std::array<unsigned char, kPieceSize> m_staging{};
    std::array<unsigned char, kReplySize> m_reply{};
};

} // namespace

std::unique_ptr<CTransport> OpenUsb(DeliveryResult& opening)
{
    auto library = std::make_unique<CSharedLibrary>();
    std::vector<base::Failure>& problems = opening.problems;
    if (!library->Load(kLibraryFile)) {
        problems.push_back({base::FailureKind::UsbLibraryMissing, kLibraryFile, library->LastError()});
        opening.failure = NotDelivered(problems);
        return nullptr;
    }
    const auto open = library->Find<OpenFunction>("USBBULK_Open");
    if (!open) {
        library->Free();
        problems.push_back(EntryPointMissing("USBBULK_Open"));
        opening.failure = NotDelivered(problems);
        return nullptr;
    }
    return std::make_unique<CUsbTransport>(std::move(library), open, opening);
}

} // namespace tickerlux::link
