#pragma once

#include <spawn.h>
#include <string>
#include <utility>
#include <vector>

namespace tickerlux::test {

// What a finished program left behind.
struct ProgramResult {
    int exitCode = -1;  // -1 when it did not exit normally (killed by a signal)
    std::string out;
    std::string err;
};

// posix_spawn attributes under which a program starts with SIGPIPE's default action, whatever
// this process does with it.
class CDefaultSigpipe {
public:
    CDefaultSigpipe();
    ~CDefaultSigpipe() { posix_spawnattr_destroy(&m_attributes); }
    CDefaultSigpipe(const CDefaultSigpipe&) = delete;
    CDefaultSigpipe& operator=(const CDefaultSigpipe&) = delete;

    const posix_spawnattr_t* Attributes() const { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
};

// Runs `argv` (argv[0] is a path) to the end with `input` on its standard input, in this
// process's environment changed by `env` (NAME, VALUE pairs; they are set before the program
// starts, so they also reach its dynamic loader).
ProgramResult RunProgram(const std::vector<std::string>& argv,
                         const std::vector<std::pair<std::string, std::string>>& env = {},
                         const std::string& input = {});

// As RunProgram, with `unit` written to the program's standard input over and over until it stops
// reading (as `yes` does).
ProgramResult RunProgramOnEndlessInput(const std::vector<std::string>& argv,
                                       const std::string& unit);

// Runs the build's tickerlux-cli with `args`.
ProgramResult RunCli(const std::vector<std::string>& args);

} // namespace tickerlux::test
