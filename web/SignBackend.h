#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tickerlux::web {

// The three commands of the form that act on the sign or fetch the page, and the two searches
// for headlines.
enum class Command {
    UpdateSignNow,
    ClearSign,
    UpdateSourceOnly,
    FindHeadlines,  // lists the ways found (ISignBackend::Found)
    TakeAddress,    // an address alone: the best way found is taken
};

// What a call that can fail did: ok, or the message the user is shown (UTF-8).
struct BackendResult {
    bool ok = true;
    std::string message;
};

// The one job (command) of the sign: whether it runs, how far a delivery has come, and how the
// last one ended.
struct JobStatus {
    std::uint64_t number = 0;        // counts the jobs started, so a page can tell them apart
    bool running = false;
    Command command = Command::UpdateSignNow;
    bool stopping = false;           // Stop() was asked while it ran
    long long sent = 0;              // bytes of the current delivery sent so far, of `total`
    long long total = 0;
    long long received = 0;          // bytes of the page downloaded so far
    bool succeeded = false;          // when not running: no step failed
    std::vector<std::string> messages;  // what the desktop program would show, then the causes
};

// The sign line as the preview draws it.
struct PreviewLine {
    std::string line;  // Windows-1252
    int colorIndex = 0;
    bool condensed = false;
};

// Everything the web front end asks of the document, the engine and the per-user store, behind
// one seam: the server and its routes know nothing else of the core. All members may be called
// from any thread. Texts in JSON are UTF-8; field names are the file's (WebServer, WebPath, ...).
class ISignBackend {
public:
    virtual ~ISignBackend() = default;

    // {"fields":{NAME:VALUE...},"title":...,"path":...,"modified":bool,"source":PAGE TEXT}
    virtual nlohmann::json State() const = 0;
    // Takes the form's values (any subset of the fields) as the form's change handlers do: the
    // document is marked modified when a value changes, and the interval is checked and clamped.
    // A value of the wrong type or an unknown name changes nothing.
    virtual BackendResult ApplyFields(const nlohmann::json& fields) = 0;
    // File > Save: the feed file, replaced atomically.
    virtual BackendResult Save() = 0;
    // "Clear Source Window".
    virtual void ClearSource() = 0;

    // Starts `command` on a worker with a copy of the document's values; false (nothing done)
    // when a job is running already.
    virtual bool Start(Command command) = 0;
    // Asks the running job to stop: a download is abandoned, a delivery under way finishes.
    virtual void Stop() = 0;
    virtual JobStatus Job() const = 0;
    // Waits until no job runs.
    virtual void WaitForJob() = 0;

    // The communication settings in use: {"Connection","ComPort","BaudRate","ByteSize",
    // "Parity","StopBits","Protocol"} and "stored": whether a connection kind was found stored.
    virtual nlohmann::json Comm() const = 0;
    // The dialog's OK (for this run) and, with `store`, its Save button (the per-user store).
    virtual BackendResult SetComm(const nlohmann::json& values, bool store) = 0;

    // The per-user "Clean Up Headlines" switch.
    virtual bool HeadlineCleanup() const = 0;
    virtual BackendResult SetHeadlineCleanup(bool on) = 0;

    // Starts Find Headlines as a job on `address` (UTF-8, http:// or https://), or on the form's
    // Web Server and Directory/File when it is empty. Refused, with nothing done, for an address
    // that cannot be read or while a job runs.
    virtual BackendResult StartFind(const std::string& address) = 0;
    // The last search's ways: {"number": its job, "address", "candidates": [...]}; null before
    // the first.
    virtual nlohmann::json Found() const = 0;
    // Sets the form's fields to the way at `index` of the search `number` found (the document
    // is modified, not saved). Refused when a newer search replaced that list or the way was
    // left out.
    virtual BackendResult Choose(std::uint64_t number, std::size_t index) = 0;
    // A full address typed into Web Server: split into Web Server and Directory/File. With both
    // marker fields empty it starts a TakeAddress job instead (`searching`), which takes the best
    // way found, or stores just the address when there is none. A bad address, or a job already
    // running, changes nothing.
    virtual BackendResult TakeAddress(const std::string& address, bool& searching) = 0;

    // The line the last update built, with the form's colour and condensed choice.
    virtual PreviewLine Preview() const = 0;
    // The auto-update interval in minutes while "Auto Update Every:" is on with an interval,
    // else nothing.
    virtual std::optional<int> AutoUpdateMinutes() const = 0;
};

} // namespace tickerlux::web
