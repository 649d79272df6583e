#include "cli/HeadlineSearch.h"

#include "cli/CliUserInterface.h"
#include "cli/FeedFields.h"
#include "engine/HeadlineChoice.h"

#include <cstdio>

namespace tickerlux::cli {

engine::JobOutcome SearchHeadlines(const std::string& address, const settings::FeedFieldValues& feed)
{
    engine::JobRequest request;
    request.command = engine::JobCommand::FindHeadlines;
    request.address = address;
    request.feed = feed;
    return engine::RunJob(request, engine::CJobControl(), {});
}

void PrintNothingFound(const char* command, const engine::JobOutcome& found)
{
    if (const base::Failure* failure = found.steps.FailureOf(engine::Step::Fetch)) {
        std::fprintf(stderr, "tickerlux-cli %s: the page could not be downloaded\n", command);
        CCliUserInterface().DownloadFailed(*failure);
        return;
    }
    std::fprintf(stderr, "tickerlux-cli %s: %s\n", command,
                 std::string(engine::kNoHeadlinesFound).c_str());
    for (const headlines::HeadlineCandidate& candidate : found.candidates)
        std::fprintf(stderr, "left out: %s: %s\n",
                     headlines::FullAddress(candidate.address).c_str(),
                     candidate.leftOutBecause.c_str());
}

std::string SetArguments(const headlines::HeadlineCandidate& candidate)
{
    std::string arguments;
    for (const engine::FieldSetting& setting : engine::ChoiceSettings(candidate))
        arguments += (arguments.empty() ? "" : " ") +
                     ShellWord(FormatAssignment(setting.name, setting.value1252));
    return arguments;
}

std::string ShellWord(const std::string& text)
{
    constexpr std::string_view kPlain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                        "0123456789_-+=.,/:@%";
    if (!text.empty() && text.find_first_not_of(kPlain) == std::string::npos)
        return text;
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace tickerlux::cli
