#include "web/PasswordPrompt.h"

#include <cstdio>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace tickerlux::web {
namespace {

// One line from the terminal with echo off; the terminal's settings come back afterwards.
std::optional<std::string> ReadHidden(const char* prompt)
{
    std::fputs(prompt, stderr);
    std::fflush(stderr);
    termios saved{};
    tcgetattr(STDIN_FILENO, &saved);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    if (!read)
        return std::nullopt;
    return line;
}

} // namespace

std::optional<std::string> ReadNewPassword(std::string& problem)
{
    std::optional<std::string> password;
    if (isatty(STDIN_FILENO)) {
        password = ReadHidden("New password for the sign's web page: ");
        const std::optional<std::string> again = ReadHidden("The same again: ");
        if (password && again && *password != *again) {
            problem = "the two passwords differ; nothing was stored";
            return std::nullopt;
        }
    } else {
        std::string line;
        if (std::getline(std::cin, line))
            password = line;
    }
    if (password && !password->empty() && password->back() == '\r')
        password->pop_back();
    if (!password || password->empty()) {
        problem = "no password given; nothing was stored";
        return std::nullopt;
    }
    return password;
}

} // namespace tickerlux::web
