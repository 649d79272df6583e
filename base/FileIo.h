#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tickerlux::base {

// Whole-file reads and crash-safe whole-file replacement. Failures carry the system's errno so
// the caller can say why in the system's own words.

// The error of a file that is there but is no regular file (a pipe, a device, a socket):
// reading it could wait forever and replacing it would destroy it.
inline constexpr int kNotRegularFile = -1;

struct Status {
    int error = 0;  // errno of the step that failed, or kNotRegularFile; 0 on success
    bool Ok() const { return error == 0; }
    // The system's text for the error, e.g. "No such file or directory".
    std::string Reason() const;
};

// Reads every byte of the regular file at `path` into `bytes`; EFBIG ("File too large") once it
// holds more than `maxBytes`. Anything else (a pipe, a device) is refused without waiting for it.
Status ReadAll(const std::string& path, std::string& bytes, std::size_t maxBytes);

// Replaces the file at `path` with `bytes` in one step: a temporary file beside it is written,
// flushed to disk and renamed over it. On failure the earlier file is untouched and no temporary
// file is left. A new file gets `newFileMode` less the umask; an existing one keeps its own
// permissions and, where the system allows (always for root), its owner and group. A symbolic link is followed, so the file it names is replaced and the link stays.
// Only a regular file is replaced: a directory, a device or a pipe (named directly or by a link)
// is refused and left as it is.
Status ReplaceAtomically(const std::string& path, std::string_view bytes,
                         unsigned newFileMode = 0666);

} // namespace tickerlux::base
