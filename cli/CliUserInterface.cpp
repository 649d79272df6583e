#include "cli/CliUserInterface.h"

#include "base/Win1252.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace tickerlux::cli {

void CCliUserInterface::MessageBox(const std::string& text)
{
    std::fprintf(stderr, "%s\n", base::win1252::ToUtf8(text).c_str());
}

void CCliUserInterface::DeliveryFailed(const base::Failure& failure)
{
    PrintLine(failure.Text());
}

void CCliUserInterface::DownloadFailed(const base::Failure& failure)
{
    PrintLine("cause: " + failure.Cause());
}

void CCliUserInterface::WaitingForPort(const std::string& port)
{
    PrintLine("waiting for " + port + ", which another program is using\u2026");
}

void CCliUserInterface::PrintLine(const std::string& text)
{
    if (m_progressShown) {
        std::fputc('\n', stderr);
        m_progressShown = false;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
}

void CCliUserInterface::DeliveryProgress(long long sent, long long total)
{
    // Only a long delivery shows progress: one that is whole at its first report has none.
    if (total <= 0 || (!m_progressShown && sent >= total) || !isatty(STDERR_FILENO))
        return;
    // Straight to the terminal: standard error escapes the carriage return that redraws the line.
    std::fflush(stderr);
    m_progressShown = sent < total;
    char line[80];
    const int length = std::snprintf(line, sizeof line, "\rsending: %lld of %lld bytes%s", sent,
                                     total, m_progressShown ? "" : "\n");
    if (length > 0) {
        [[maybe_unused]] const ssize_t ignored =
            write(STDERR_FILENO, line, std::min(sizeof line - 1, static_cast<std::size_t>(length)));
    }
}

} // namespace tickerlux::cli
