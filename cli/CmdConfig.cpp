#include "cli/CmdConfig.h"

#include "cli/ConnectionKinds.h"
#include "cli/ExitCodes.h"
#include "cli/FeedFields.h"
#include "cli/Output.h"
#include "cli/StoredConnection.h"
#include "cli/Usage.h"
#include "settings/CommSettingsStore.h"
#include "settings/RegistryAccess.h"
#include "settings/UserStore.h"

#include <cstdio>
#include <sys/stat.h>
#include <cstring>
#include <optional>
#include <string_view>

namespace tickerlux::cli {

namespace {

constexpr CCommField kCommFields[] = {
    {"Connection", &settings::CommSettings::Connection}, {"ComPort", &settings::CommSettings::ComPort},
    {"BaudRate", &settings::CommSettings::BaudRate},     {"ByteSize", &settings::CommSettings::ByteSize},
    {"Parity", &settings::CommSettings::Parity},         {"StopBits", &settings::CommSettings::StopBits},
};

constexpr const char* kSynopsis = "config [NAME=VALUE...]";
constexpr std::string_view kCleanupPrefix = "HeadlineCleanup=";

int PrintStored()
{
    if (!StoreIsReadable("config"))
        return kExitFailed;
    settings::CommSettings values;
    const bool stored = settings::commstore::Load(values, settings::CRegistryAccess());
    for (const CCommField& field : kCommFields)
        std::printf("%s\n", FormatField(field, values).c_str());
    std::printf("HeadlineCleanup=%d\n", settings::commstore::LoadHeadlineCleanup(settings::CRegistryAccess()) ? 1 : 0);
    if (!FinishOutput("config"))
        return kExitFailed;
    if (!stored)
        std::fprintf(stderr,
                     "tickerlux-cli config: no connection is stored yet; these are the defaults\n");
    return kExitOk;
}

void ReportCannotWrite()
{
    const std::string store = settings::userstore::StoreFilePath();
    struct stat lock {};
    const std::string lockPath = store + ".lock";
    if (lstat(lockPath.c_str(), &lock) == 0 && !S_ISREG(lock.st_mode))
        std::fprintf(stderr, "tickerlux-cli config: cannot write %s: its lock %s is not a regular file\n",
                     store.c_str(), lockPath.c_str());
    else
        std::fprintf(stderr, "tickerlux-cli config: cannot write %s\n", store.c_str());
}

// Stores the communication settings given over the stored ones, in one locked change, as the
// dialog's start from the loaded settings. Choosing a kind sets its fixed values first; values
// given alongside it win.
bool StoreCommSettings(const std::vector<FieldAssignment<settings::CommSettings>>& assignments)
{
    const auto edit = [&](settings::CommSettings& values) {
        for (const auto& assignment : assignments) {
            if (std::strcmp(assignment.field->Name(), "Connection") == 0)
                values.ChooseKind(settings::ConnectionKindOf(assignment.value));
        }
        ApplyAssignments(values, assignments);
    };
    if (settings::commstore::Change(edit, settings::CRegistryAccess()))
        return true;
    ReportCannotWrite();
    return false;
}

int RunConfig(const std::vector<std::string>& args)
{
    if (args.empty())
        return PrintStored();
    // HeadlineCleanup is no communication setting: it is stored on its own, and alone it stores
    // nothing else.
    std::vector<std::string> commArgs;
    std::optional<bool> cleanup;
    for (const std::string& arg : args) {
        if (!arg.empty() && arg[0] == '-')
            return UsageError(kSynopsis, "unknown option '" + arg + "'");
        if (!arg.starts_with(kCleanupPrefix)) {
            commArgs.push_back(arg);
            continue;
        }
        const std::string value = arg.substr(kCleanupPrefix.size());
        if (value != "0" && value != "1")
            return UsageError(kSynopsis, "HeadlineCleanup is 0 (off) or 1 (on), not '" + value +
                                             "'");
        cleanup = value == "1";
    }
    std::string error;
    const auto assignments = ParseAssignments<settings::CommSettings>(commArgs, kCommFields, error);
    if (!assignments)
        return UsageError(kSynopsis, error);
    for (const auto& assignment : *assignments) {
        const std::string& value = assignment.value;
        if (std::strcmp(assignment.field->Name(), "Connection") == 0 &&
            settings::ConnectionKindOf(value) == settings::ConnectionKind::None)
            return UsageError(kSynopsis, "unknown connection kind '" + value + "'; " +
                                             ConnectionKindChoices());
        // The dialog's choices: its blank entry " ", and "" as a USB connection leaves it.
        if (std::strcmp(assignment.field->Name(), "Parity") == 0 && value != "none" &&
            value != "even" && value != "odd" && value != " " && !value.empty())
            return UsageError(kSynopsis,
                              "unknown parity '" + value + "'; choose none, even or odd");
    }

    if (!StoreIsReadable("config"))
        return kExitFailed;
    if (!assignments->empty() && !StoreCommSettings(*assignments))
        return kExitFailed;
    if (cleanup && !settings::commstore::SaveHeadlineCleanup(*cleanup, settings::CRegistryAccess())) {
        ReportCannotWrite();
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
            "unset, as the dialog's blank entry does; the sign then gets even parity).\n"
            "HeadlineCleanup=1 (the default) reads pages in their own charset and cleans\n"
            "headlines of markup and entities; HeadlineCleanup=0 takes the page's bytes as\n"
            "sent. It may be given alone, with or without a stored connection.\n"
            "The settings live in ${XDG_CONFIG_HOME:-~/.config}/tickerlux/user.reg.\n"
            "An unknown name or a bad value stores nothing (exit 2). A store that cannot be read\n"
            "(a folder, a loop of links, a pipe or a device) is reported and left alone (exit 1).\n",
            RunConfig};
}

} // namespace tickerlux::cli
