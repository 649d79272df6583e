#include "cli/CmdShow.h"

#include "cli/ExitCodes.h"
#include "cli/FeedFields.h"
#include "cli/Output.h"
#include "cli/Usage.h"
#include "settings/DocFileMessages.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>

namespace tickerlux::cli {

namespace {

constexpr const char* kSynopsis = "show FEED.tlx";

int RunShow(const std::vector<std::string>& args)
{
    const std::string* feed = FeedArgument(kSynopsis, args);
    if (!feed)
        return kExitUsage;
    settings::CTickerluxDoc doc;
    if (const base::Failure opened = doc.OnOpenDocument(*feed); opened.Failed()) {
        std::fprintf(stderr, "%s\n", settings::DocFileMessage(opened).c_str());
        return kExitUsage;
    }
    // A trailing field is shown, as it is stored, only when it is not its default.
    for (const settings::FeedField& field : settings::FeedFields())
        if (field.place == settings::FieldPlace::Always || !field.IsDefault(doc))
            std::printf("%s\n", FormatFeedField(field, doc).c_str());
    return FinishOutput("show") ? kExitOk : kExitFailed;
}

} // namespace

Command ShowCommand()
{
    return {"show", kSynopsis, "print the fields of a settings file",
            "Prints the fields of FEED.tlx in file order, one NAME=VALUE a line, in UTF-8;\n"
            "HeadlineSource only when it is not 0.\n"
            "A backslash, control bytes and bytes without a printable character are written as\n"
            "\\\\, \\n, \\r, \\t or \\xHH, so each line can be given back to 'set' unchanged.\n",
            RunShow};
}

} // namespace tickerlux::cli
