#pragma once

namespace tickerlux::cli {

// Flushes standard output. When that fails (a full disk, a closed pipe) it says so on standard
// error as "tickerlux-cli COMMAND: cannot write the output: REASON" and returns false, so that a
// command never reports success for output that was lost.
bool FinishOutput(const char* command);

} // namespace tickerlux::cli
