#include "web/ApiRoutes.h"

#include "base/AsciiCase.h"
#include "web/PageFiles.h"
#include "web/Password.h"
#include "web/PreviewPicture.h"

#include "leds/LedDisplay.h"
#include "settings/CommSettings.h"
#include "sign/SignColors.h"

#include <algorithm>
#include <functional>

namespace tickerlux::web {
namespace {

using nlohmann::json;

constexpr const char* kJson = "application/json";

HttpResponse Json(int status, const json& body)
{
    return {status, kJson, body.dump(), {{"Cache-Control", "no-store"}}};
}

HttpResponse Error(int status, const std::string& message)
{
    return Json(status, {{"error", message}});
}

HttpResponse Result(const BackendResult& result)
{
    return result.ok ? Json(200, json::object()) : Error(422, result.message);
}

const char* ContentType(std::string_view path)
{
    if (path.ends_with(".css"))
        return "text/css; charset=utf-8";
    if (path.ends_with(".js"))
        return "text/javascript; charset=utf-8";
    return "text/html; charset=utf-8";
}

std::string SessionCookie(const std::string& id)
{
    return std::string(CHttpServer::kSessionCookie) + "=" + id + "; Path=/; HttpOnly; SameSite=Strict";
}

struct CommandName {
    Command command;
    const char* name;
    bool button;  // started by /api/command
};
constexpr CommandName kCommands[] = {
    {Command::UpdateSignNow, "update", true},
    {Command::ClearSign, "clear", true},
    {Command::UpdateSourceOnly, "source", true},
    {Command::FindHeadlines, "find", false},
    {Command::TakeAddress, "address", false},
};

const char* NameOf(Command command)
{
    for (const CommandName& entry : kCommands)
        if (entry.command == command)
            return entry.name;
    return "";
}

json JobJson(const JobStatus& job)
{
    return {{"number", job.number},   {"running", job.running}, {"command", NameOf(job.command)},
            {"stopping", job.stopping}, {"sent", job.sent},     {"total", job.total},
            {"received", job.received},
            {"succeeded", job.succeeded}, {"messages", job.messages}};
}

// A body that is a JSON object, or nothing.
std::optional<json> ObjectBody(const std::string& body)
{
    json parsed = json::parse(body.empty() ? "{}" : body, nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object())
        return std::nullopt;
    return parsed;
}

} // namespace

CApiRoutes::CApiRoutes(ISignBackend& backend, ApiConfig config, SteadyClock clock)
    : m_backend(backend), m_config(std::move(config)), m_sessions(clock), m_throttle(clock)
{
    for (std::string& host : m_config.hosts)
        host = base::AsciiLowered(host);
}

bool CApiRoutes::HostAllowed(const std::string& host) const
{
    return std::ranges::find(m_config.hosts, base::AsciiLowered(host)) != m_config.hosts.end();
}

HttpResponse CApiRoutes::Handle(const HttpRequest& request)
{
    HttpResponse response = [&] {
        // A name that is not ours may be a DNS rebinding: another site's page reaching us.
        if (!HostAllowed(request.host))
            return Error(421, "This server does not answer to the host '" + request.host + "'.");
        if (request.method == "POST" && base::AsciiLowered(request.origin) != "http://" + base::AsciiLowered(request.host))
            return Error(403, "Changes are taken only from this server's own page.");
        if (request.method == "GET" && !request.path.starts_with("/api/")) {
            const std::string path = request.path == "/" ? "/index.html" : request.path;
            for (const PageFile& file : PageFiles())
                if (file.path == path)
                    return HttpResponse{200, ContentType(path), std::string(file.bytes),
                                        {{"Cache-Control", "no-cache"}}};
            return Error(404, "There is no such page.");
        }
        if (request.path == "/api/session" && request.method == "GET")
            return Session(request);
        const std::optional<CSessions::Session> session = m_sessions.Find(request.session);
        if (!session)
            return Error(401, "The session has ended; load the page again.");
        if (request.method == "POST" && !SameSecret(request.token, session->token))
            return Error(403, "The request does not carry this session's token.");
        if (request.path == "/api/login" && request.method == "POST")
            return Login(request);
        if (!session->loggedIn)
            return Error(401, "Log in first.");
        return Authorised(request, request.session);
    }();
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    response.headers.emplace_back("X-Frame-Options", "DENY");
    response.headers.emplace_back("Referrer-Policy", "no-referrer");
    response.headers.emplace_back(
        "Content-Security-Policy",
        "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
        "connect-src 'self'; form-action 'self'; frame-ancestors 'none'; base-uri 'none'");
    return response;
}

HttpResponse CApiRoutes::Session(const HttpRequest& request)
{
    std::string id = request.session;
    std::optional<CSessions::Session> session = m_sessions.Find(id);
    HttpResponse response;
    if (!session) {
        id = m_sessions.Create(!m_config.passwordHash);
        session = m_sessions.Find(id);
    }
    response = Json(200, {{"token", session->token},
                          {"loggedIn", session->loggedIn},
                          {"passwordNeeded", m_config.passwordHash.has_value()}});
    response.headers.emplace_back("Set-Cookie", SessionCookie(id));
    return response;
}

HttpResponse CApiRoutes::Login(const HttpRequest& request)
{
    if (const auto wait = m_throttle.WaitFor(request.client)) {
        HttpResponse response = Error(429, "Too many wrong passwords; try again in " +
                                               std::to_string(wait->count()) + " seconds.");
        response.headers.emplace_back("Retry-After", std::to_string(wait->count()));
        return response;
    }
    const std::optional<json> body = ObjectBody(request.body);
    const std::string password =
        body && body->value("password", json()).is_string() ? (*body)["password"].get<std::string>() : "";
    if (m_config.passwordHash && !VerifyPassword(*m_config.passwordHash, password)) {
        m_throttle.Failed(request.client);
        return Error(401, "Wrong password.");
    }
    m_throttle.Succeeded(request.client);
    // A fresh id and token once logged in: an id known before the login is worth nothing.
    m_sessions.Remove(request.session);
    const std::string id = m_sessions.Create(true);
    HttpResponse response = Json(200, {{"token", m_sessions.Find(id)->token}, {"loggedIn", true}});
    response.headers.emplace_back("Set-Cookie", SessionCookie(id));
    return response;
}

json CApiRoutes::State() const
{
    json state = m_backend.State();
    state["job"] = JobJson(m_backend.Job());
    state["comm"] = m_backend.Comm();
    state["cleanup"] = m_backend.HeadlineCleanup();
    state["found"] = m_backend.Found();
    const PreviewLine preview = m_backend.Preview();
    const std::size_t key = std::hash<std::string>()(preview.line + '\0' +
                                                     std::to_string(preview.colorIndex) +
                                                     (preview.condensed ? "c" : "n"));
    state["preview"] = {{"key", std::to_string(key)},
                        {"scrolls", PreviewScrolls(preview)},
                        {"pixelsPerSecond", leds::CLedDisplay::kColumnsPerSecond * kPreviewPitch}};
    json colors = json::array();
    for (const sign::SignColor& color : sign::kColors)
        colors.push_back(color.name);
    json kinds = json::array();
    for (const settings::ConnectionKind kind :
         {settings::ConnectionKind::ClassicSerial, settings::ConnectionKind::CustomSerial, settings::ConnectionKind::Usb})
        kinds.push_back(settings::ConnectionName(kind));
    state["choices"] = {{"colors", colors}, {"connections", kinds}};
    return state;
}

HttpResponse CApiRoutes::Authorised(const HttpRequest& request, const std::string& sessionId)
{
    if (request.method == "GET") {
        if (request.path == "/api/state")
            return Json(200, State());
        if (request.path == "/api/preview.png")
            return {200, "image/png", PreviewPng(m_backend.Preview()), {{"Cache-Control", "no-store"}}};
        return Error(404, "There is no such page.");
    }
    if (request.method != "POST")
        return Error(405, "Not a method this server takes.");
    const std::optional<json> body = ObjectBody(request.body);
    if (!body)
        return Error(400, "The request is not a JSON object.");
    const std::string& path = request.path;
    if (path == "/api/logout") {
        m_sessions.Remove(sessionId);
        return Json(200, json::object());
    }
    // The form's values come with every action, so what is run or saved is what the page shows.
    // Beside a typed address, Web Server holds that address: the address sets the two fields.
    if (body->contains("fields")) {
        json fields = (*body)["fields"];
        if (path == "/api/address" && fields.is_object()) {
            fields.erase("WebServer");
            fields.erase("WebPath");
        }
        if (const BackendResult applied = m_backend.ApplyFields(fields); !applied.ok)
            return Error(400, applied.message);
    }
    if (path == "/api/fields")
        return Json(200, json::object());
    if (path == "/api/save")
        return Result(m_backend.Save());
    if (path == "/api/command") {
        const std::string name = body->value("command", "");
        for (const CommandName& entry : kCommands)
            if (entry.button && name == entry.name)
                return m_backend.Start(entry.command) ? Json(200, JobJson(m_backend.Job()))
                                                      : Error(409, "A command is running already.");
        return Error(400, "No such command.");
    }
    if (path == "/api/stop") {
        m_backend.Stop();
        return Json(200, json::object());
    }
    if (path == "/api/clear-source") {
        m_backend.ClearSource();
        return Json(200, json::object());
    }
    if (path == "/api/comm")
        return Result(m_backend.SetComm(body->value("values", json::object()), body->value("save", false)));
    if (path == "/api/cleanup" && body->value("on", json()).is_boolean())
        return Result(m_backend.SetHeadlineCleanup((*body)["on"].get<bool>()));
    const json address = body->value("address", json(""));
    if (path == "/api/find" && address.is_string()) {
        const BackendResult started = m_backend.StartFind(address.get<std::string>());
        return started.ok ? Json(200, JobJson(m_backend.Job())) : Error(422, started.message);
    }
    if (path == "/api/address" && address.is_string()) {
        bool searching = false;
        const BackendResult taken = m_backend.TakeAddress(address.get<std::string>(), searching);
        if (!taken.ok)
            return Error(422, taken.message);
        return Json(200, searching ? json{{"searching", true}, {"job", JobJson(m_backend.Job())}}
                                   : json{{"searching", false}});
    }
    const json find = body->value("find", json());
    const json index = body->value("index", json());
    if (path == "/api/choose" && find.is_number_unsigned() && index.is_number_unsigned())
        return Result(m_backend.Choose(find.get<std::uint64_t>(), index.get<std::size_t>()));
    return Error(404, "There is no such page.");
}

} // namespace tickerlux::web
