#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whole-file reads and crash-safe whole-file replacement. Failures carry the system's errno so
// the caller can say why in the system's own words.
namespace fileio {

struct Status {
    int error = 0;  // errno of the step that failed; 0 on success
    bool Ok() const { return error == 0; }
    // The system's text for the error, e.g. "No such file or directory".
    std::string Reason() const;
};

// Reads every byte of the file at `path` into `bytes`; EFBIG ("File too large") once it holds
// more than `maxBytes`, so that a device such as /dev/zero cannot take all memory.
Status ReadAll(const std::string& path, std::string& bytes, std::size_t maxBytes);

// Replaces the file at `path` with `bytes` in one step: a temporary file beside it is written,
// flushed to disk and renamed over it. On failure the earlier file is untouched and no temporary
// file is left. A new file gets `newFileMode` less the umask; an existing one keeps its own
// permissions. A symbolic link is followed, so the file it names is replaced and the link stays.
Status ReplaceAtomically(const std::string& path, std::string_view bytes,
                         unsigned newFileMode = 0666);

} // namespace fileio
