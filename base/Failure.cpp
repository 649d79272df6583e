#include "base/Failure.h"

#include <cerrno>

namespace tickerlux::base {

std::string Failure::Text() const
{
    if (where.empty())
        return systemText;
    if (systemText.empty())
        return where;
    return where + ": " + systemText;
}

std::string Failure::Cause() const
{
    std::string cause(Describe(kind));
    if (!systemText.empty())
        cause += " (" + systemText + ")";
    return cause;
}

std::string_view Describe(FailureKind kind)
{
    switch (kind) {
    case FailureKind::None:
        return "no failure";
    case FailureKind::BadAddress:
        return "the web server names no host";
    case FailureKind::BadRedirect:
        return "the web server redirected to a bad address";
    case FailureKind::HostNotFound:
        return "host not found";
    case FailureKind::Refused:
        return "connection refused";
    case FailureKind::TimedOut:
        return "timed out";
    case FailureKind::TooSlow:
        return "the download was too slow";
    case FailureKind::TooLong:
        return "the download took too long";
    case FailureKind::Abandoned:
        return "the download was stopped";
    case FailureKind::CertificateRejected:
        return "the server's certificate was rejected";
    case FailureKind::HttpError:
        return "the server answered with an error";
    case FailureKind::Io:
        return "input/output error";
    case FailureKind::PortMissing:
        return "no such port";
    case FailureKind::PortBusy:
        return "port busy";
    case FailureKind::Permission:
        return "permission denied";
    case FailureKind::UsbLibraryMissing:
        return "USB library missing";
    case FailureKind::UsbEntryPointMissing:
        return "USB library entry point missing";
    case FailureKind::UsbOpenFailed:
        return "USB sign could not be opened";
    case FailureKind::UsbRefused:
        return "USB sign refused the transmission";
    case FailureKind::StoreUnreadable:
        return "the settings store cannot be read";
    case FailureKind::StoreValueInvalid:
        return "the settings store holds an unknown value";
    case FailureKind::StoreNotSaved:
        return "the settings store could not be saved";
    case FailureKind::LockFailed:
        return "the settings store could not be locked";
    case FailureKind::LockUnusable:
        return "the settings store's lock is not a regular file";
    case FailureKind::FileUnreadable:
        return "file unreadable";
    case FailureKind::FileUnexpectedFormat:
        return "unexpected file format";
    case FailureKind::FileNotSaved:
        return "file not saved";
    case FailureKind::FieldUnknown:
        return "no such field";
    case FailureKind::FieldWrongType:
        return "wrong kind of value";
    case FailureKind::FieldNotWindows1252:
        return "character not in Windows-1252";
    }
    return "unknown failure";
}

FailureKind FailureKindForErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return FailureKind::PortMissing;
    case EBUSY:
        return FailureKind::PortBusy;
    case EACCES:
    case EPERM:
    case EROFS:
        return FailureKind::Permission;
    case ETIMEDOUT:
        return FailureKind::TimedOut;
    case ECONNREFUSED:
        return FailureKind::Refused;
    case ECANCELED:
        return FailureKind::Abandoned;
    default:
        return FailureKind::Io;
    }
}

} // namespace tickerlux::base
