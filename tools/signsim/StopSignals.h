#pragma once

namespace tickerlux::signsim {

// SIGINT, SIGTERM and SIGHUP ask the simulator to stop: the handler only writes a byte into a
// pipe that the main loop watches, so the port map is restored outside the handler.

class CStopSignals {
public:
    // Installs the handlers (one instance per process); SIGPIPE is ignored so that a closed
    // output shows up as a write error. Throws std::system_error.
    CStopSignals();
    ~CStopSignals();
    CStopSignals(const CStopSignals&) = delete;
    CStopSignals& operator=(const CStopSignals&) = delete;

    int Fd() const;   // readable once a stop signal has arrived
    bool Arrived() const;
    // Asks for a stop as a signal would, from any thread (the window was closed).
    void Request() const;
};

} // namespace tickerlux::signsim
