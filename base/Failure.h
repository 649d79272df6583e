#pragma once

#include <string>
#include <string_view>

namespace tickerlux::base {

// What went wrong when the program talked to the outside world (a web server, a port, the USB
// library, the per-user store, a settings file, values given for the feed fields), as a value
// that the layers below the engine return and the front ends read. The list is closed: the front
// ends switch on it.
enum class FailureKind {
    None,
    BadAddress,            // the web server field names no host
    BadRedirect,           // the web server redirected to an address that cannot be fetched
    HostNotFound,
    Refused,               // the connection was refused
    TimedOut,              // no connection within the time allowed
    TooSlow,               // the download stayed below its speed floor for too long
    TooLong,               // the download ran past its deadline
    Abandoned,             // a download or delivery was stopped on request (a signal, a window)
    CertificateRejected,   // the secure server's certificate failed the check
    HttpError,             // the server answered with an error status (404, 500, ...)
    Io,                    // the transfer broke off, or a read or write failed
    PortMissing,           // no device behind the port's name
    PortBusy,              // another program has the port
    Permission,            // the user may not open the device
    UsbLibraryMissing,     // libbetabriteusb.so could not be loaded
    UsbEntryPointMissing,  // the library lacks one of its functions
    UsbOpenFailed,         // the library could not open the sign
    UsbRefused,            // the sign did not take a piece of the transmission
    StoreUnreadable,       // the per-user store is there but cannot be read (a folder, a pipe, ...)
    StoreValueInvalid,     // a stored value names none of its choices (e.g. "Parity"="mark")
    StoreNotSaved,         // the per-user store (or its folder) could not be written
    LockFailed,            // the per-user store's lock file could not be opened or locked
    LockUnusable,          // the store's lock is no regular file (a link, a pipe, a device)
    FileUnreadable,        // a settings file could not be read at all
    FileUnexpectedFormat,  // a settings file ended before its last value
    FileNotSaved,          // a settings file could not be written
    FieldUnknown,          // a value was given for no feed field
    FieldWrongType,        // a feed field was given a value of another type or out of its range
    FieldNotWindows1252,   // a text holds a character that Windows-1252 lacks
};

struct Failure {
    FailureKind kind = FailureKind::None;
    // What failed, e.g. "COM3 (/dev/ttyS2): open"; may be empty. UTF-8, as file paths are.
    std::string where;
    // The system's own words: curl's error text, strerror, ...
    std::string systemText;

    bool Failed() const { return kind != FailureKind::None; }
    // "where: systemText", or the part that is there.
    std::string Text() const;
    // The kind's words and the system's: "connection refused (Failed to connect ...)".
    std::string Cause() const;
};

// A few words for the kind, e.g. "connection refused".
std::string_view Describe(FailureKind kind);

// The kind of an errno from opening or writing a device.
FailureKind FailureKindForErrno(int error);

} // namespace tickerlux::base
