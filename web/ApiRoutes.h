#pragma once

#include "web/Clock.h"
#include "web/HttpServer.h"
#include "web/LoginThrottle.h"
#include "web/Sessions.h"
#include "web/SignBackend.h"

#include <optional>
#include <string>
#include <vector>

namespace tickerlux::web {

struct ApiConfig {
    // The Host header values requests may carry ("127.0.0.1:8080", "sign.local:8080"), any case.
    std::vector<std::string> hosts;
    // The stored password's hash; nothing when no password is asked (on loopback).
    std::optional<std::string> passwordHash;
};

// The page and its JSON API, with the checks every request passes: the Host it names, the Origin
// of every change, the session and its token, the password.
//
//   GET  /  /app.css  /app.js      the page
//   GET  /api/session              {token, loggedIn, passwordNeeded}; starts a session (cookie)
//   POST /api/login {password}     logs the session in (a new session id and token)
//   POST /api/logout
//   GET  /api/state                fields, title, modified, source, job, comm, cleanup, preview
//   POST /api/fields {fields}      the form's edits
//   POST /api/save {fields}        the edits, then File > Save
//   POST /api/command {command: "update"|"clear"|"source", fields}
//   POST /api/stop                 stops the running command between steps
//   POST /api/clear-source         "Clear Source Window"
//   POST /api/comm {values, save}  the communication settings (OK; Save with save:true)
//   POST /api/cleanup {on}         the Clean Up Headlines switch
//   POST /api/find {address, fields}      Find Headlines as a job (empty address: the form's page)
//   POST /api/choose {find, index}        takes a way that search `find` listed into the form
//   POST /api/address {address, fields}   a full address typed into Web Server ({searching})
//   GET  /api/preview.png          the sign line drawn as LEDs
class CApiRoutes {
public:
    CApiRoutes(ISignBackend& backend, ApiConfig config, SteadyClock clock = RealClock());

    HttpResponse Handle(const HttpRequest& request);

private:
    HttpResponse Session(const HttpRequest& request);
    HttpResponse Login(const HttpRequest& request);
    HttpResponse Authorised(const HttpRequest& request, const std::string& sessionId);
    nlohmann::json State() const;
    bool HostAllowed(const std::string& host) const;

    ISignBackend& m_backend;
    ApiConfig m_config;
    CSessions m_sessions;
    CLoginThrottle m_throttle;
};

} // namespace tickerlux::web
