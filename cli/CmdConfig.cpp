#include "cli/CmdConfig.h"

#include "cli/ConnectionKinds.h"
#include "cli/Escapes.h"
#include "cli/ExitCodes.h"
#include "cli/FeedFields.h"
#include "cli/Output.h"
#include "cli/StoredConnection.h"
#include "cli/Usage.h"
#include "base/Decimal.h"

#include <cstdio>
#include <optional>
#include <string_view>

namespace tickerlux::cli {

namespace {

using settings::CommSettings;

// One communication setting as `config` names, prints and takes it. `set` returns the reason a
// value is refused, changing nothing then.
struct CommField {
    const char* name;
    std::string (*get)(const CommSettings&);
    std::optional<std::string> (*set)(CommSettings&, const std::string& value);
};

template <int CommSettings::*Member>
constexpr CommField NumberField(const char* name)
{
    return {name, [](const CommSettings& c) { return std::to_string(c.*Member); },
            [](CommSettings& c, const std::string& value) -> std::optional<std::string> {
                const std::optional<int> number = base::WholeDecimal(value);
                if (!number)
                    return "takes a whole number, got '" + value + "'";
                c.*Member = *number;
                return std::nullopt;
            }};
}

const CommField kCommFields[] = {
    {"Connection", [](const CommSettings& c) { return c.ConnectionText(); },
     [](CommSettings& c, const std::string& value) -> std::optional<std::string> {
         const settings::ConnectionKind kind = settings::ConnectionKindOf(value);
         if (kind == settings::ConnectionKind::None)
             return "unknown connection kind '" + value + "'; " + ConnectionKindChoices();
         c.Connection = kind;
         c.UnnamedConnection.clear();
         return std::nullopt;
     }},
    NumberField<&CommSettings::ComPort>("ComPort"),
    NumberField<&CommSettings::BaudRate>("BaudRate"),
    NumberField<&CommSettings::ByteSize>("ByteSize"),
    // The dialog's choices: its blank entry " ", and "" as a USB connection leaves it.
    {"Parity", [](const CommSettings& c) { return std::string(settings::ParityName(c.Parity)); },
     [](CommSettings& c, const std::string& value) -> std::optional<std::string> {
         const std::optional<settings::Parity> parity = settings::ParityOf(value);
         if (!parity)
             return "unknown parity '" + value + "'; choose none, even or odd";
         c.Parity = *parity;
         return std::nullopt;
     }},
    {"StopBits",
     [](const CommSettings& c) { return std::to_string(static_cast<int>(c.StopBits)); },
     [](CommSettings& c, const std::string& value) -> std::optional<std::string> {
         const std::optional<int> number = base::WholeDecimal(value);
         const std::optional<settings::StopBits> stopBits =
             number ? settings::StopBitsOf(*number) : std::nullopt;
         if (!stopBits)
             return "is 1 or 2 (0 leaves it unset), not '" + value + "'";
         c.StopBits = *stopBits;
         return std::nullopt;
     }},
};

struct Assignment {
    const CommField* field;
    std::string value;  // Windows-1252 bytes
};

constexpr const char* kSynopsis = "config [NAME=VALUE...]";
constexpr std::string_view kCleanupName = "HeadlineCleanup";

int PrintStored()
{
    const std::optional<settings::UserSettings> stored = LoadUserSettings("config");
    if (!stored)
        return kExitFailed;
    for (const CommField& field : kCommFields)
        std::printf("%s\n", FormatAssignment(field.name, field.get(stored->Comm)).c_str());
    std::printf("HeadlineCleanup=%d\n", stored->HeadlineCleanup ? 1 : 0);
    if (!FinishOutput("config"))
        return kExitFailed;
    if (!stored->Comm.HasConnection())
        std::fprintf(stderr,
                     "tickerlux-cli config: no connection is stored yet; these are the defaults\n");
    return kExitOk;
}

// One NAME=VALUE, checked against a scratch set so that nothing is stored when any is wrong.
std::optional<std::string> ParseAssignment(const std::string& arg, std::vector<Assignment>& comm,
                                           std::optional<bool>& cleanup)
{
    const auto equals = arg.find('=');
    if (equals == std::string::npos)
        return "expected NAME=VALUE, got '" + arg + "'";
    const std::string name = arg.substr(0, equals);
    std::string reason;
    const std::optional<std::string> value = Unescape(std::string_view(arg).substr(equals + 1), reason);
    if (!value)
        return name + ": " + reason;
    // HeadlineCleanup is no communication setting: alone it stores nothing else.
    if (name == kCleanupName) {
        if (*value != "0" && *value != "1")
            return "HeadlineCleanup is 0 (off) or 1 (on), not '" + *value + "'";
        cleanup = *value == "1";
        return std::nullopt;
    }
    for (const CommField& field : kCommFields) {
        if (name != field.name)
            continue;
        CommSettings scratch;
        if (std::optional<std::string> refused = field.set(scratch, *value))
            return name == "Connection" || name == "Parity" ? *refused : name + " " + *refused;
        comm.push_back({&field, *value});
        return std::nullopt;
    }
    return "unknown field '" + name + "'";
}

int RunConfig(const std::vector<std::string>& args)
{
    if (args.empty())
        return PrintStored();
    std::vector<Assignment> comm;
    std::optional<bool> cleanup;
    for (const std::string& arg : args) {
        if (!arg.empty() && arg[0] == '-')
            return UsageError(kSynopsis, "unknown option '" + arg + "'");
        if (std::optional<std::string> problem = ParseAssignment(arg, comm, cleanup))
            return UsageError(kSynopsis, *problem);
    }
    // Everything given goes in one locked change, as the dialog's Save starts from the loaded
    // settings. Choosing a kind sets its fixed values first; values given alongside it win.
    const base::Failure failure = settings::UpdateUserSettings([&](settings::UserSettings& stored) {
        if (!comm.empty()) {
            for (const Assignment& assignment : comm) {
                if (std::string_view(assignment.field->name) == "Connection")
                    stored.Comm.ChooseKind(settings::ConnectionKindOf(assignment.value));
            }
            for (const Assignment& assignment : comm)
                assignment.field->set(stored.Comm, assignment.value);
            if (stored.Comm.ComPort < 1)
                stored.Comm.ComPort = 1;
        }
        if (cleanup)
            stored.HeadlineCleanup = *cleanup;
    });
    if (failure.Failed()) {
        ReportStoreFailure("config", failure);
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

Command ConfigCommand()
{
    return {"config", kSynopsis, "print or store the communication settings",
            "With no argument, prints the stored communication settings, one NAME=VALUE a line.\n"
            "With arguments, stores them as the desktop program's Save button does (a port\n"
            "below 1 is stored as 1). Names: Connection ComPort BaudRate ByteSize Parity\n"
            "StopBits. Connection is one of \"serial port - betabrite classic\" (which also sets\n"
            "BaudRate=9600 ByteSize=7 Parity=even StopBits=1), \"serial port - custom settings\"\n"
            "or \"usb - betabrite prism\" (which sets the serial values to 0 and Parity to \"\");\n"
            "values given alongside it win. Parity is none, even or odd (\" \" or \"\" leave it\n"
            "unset, as the dialog's blank entry does; the sign then gets even parity). StopBits\n"
            "is 1 or 2 (0 leaves it unset; the sign then gets one stop bit).\n"
            "HeadlineCleanup=1 (the default) reads pages in their own charset and cleans\n"
            "headlines of markup and entities; HeadlineCleanup=0 takes the page's bytes as\n"
            "sent. It may be given alone, with or without a stored connection.\n"
            "All values given are stored in one change: another program sees all or none.\n"
            "The settings live in ${XDG_CONFIG_HOME:-~/.config}/tickerlux/user.reg.\n"
            "An unknown name or a bad value stores nothing (exit 2). A store that cannot be read\n"
            "(a folder, a loop of links, a pipe or a device, or a value naming none of its\n"
            "choices) is reported and left alone (exit 1).\n",
            RunConfig};
}

} // namespace tickerlux::cli
