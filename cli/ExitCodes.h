#pragma once

// Exit codes that scripts rely on.
namespace cli {
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the job failed: download, delivery
constexpr int kExitUsage = 2;   // usage error or unreadable input; nothing was changed
} // namespace cli
