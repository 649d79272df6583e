#include "settings/DocFileMessages.h"

namespace tickerlux::settings {

std::string DocFileMessage(const base::Failure& failure)
{
    switch (failure.kind) {
    case base::FailureKind::FileUnexpectedFormat:
        return "Unexpected file format.";
    case base::FailureKind::FileUnreadable:
        return "Unable to read \"" + failure.where + "\": " + failure.systemText + ".";
    case base::FailureKind::FileNotSaved:
        return "Unable to save \"" + failure.where + "\": " + failure.systemText + ".";
    default:
        return failure.Text();
    }
}

} // namespace tickerlux::settings
