#pragma once

namespace tickerlux::cli {

// Exit codes that scripts rely on.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the job failed: download, delivery
constexpr int kExitUsage = 2;   // usage error or unreadable input; nothing was changed

} // namespace tickerlux::cli
