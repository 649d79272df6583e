#pragma once

namespace tickerlux::cli {

// Makes `stderr` a stream that writes to file descriptor 2 what is given to it with every control
// byte (C0 but the line break and tab, DEL, C1 and bytes that are no UTF-8) written as an escape
// (\r, \xHH), so that no text of a feed, the store or the command line that a message quotes can
// steer the terminal. UTF-8 letters pass as they are. Call once, first thing in main.
void EscapeStandardError();

}  // namespace tickerlux::cli
