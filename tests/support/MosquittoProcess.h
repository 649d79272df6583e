#pragma once

#include "tests/support/TempDir.h"

#include <sys/types.h>

// A real MQTT broker (/usr/sbin/mosquitto) for a test, on 127.0.0.1 at a port that was free,
// anonymous clients allowed, nothing kept on disk. It can be killed and started again on the
// same port, as a broker that goes away and comes back.
namespace tickerlux::test {

class CMosquittoProcess {
public:
    // Picks the port; starts the broker unless `start` is false.
    explicit CMosquittoProcess(bool start = true);
    ~CMosquittoProcess();
    CMosquittoProcess(const CMosquittoProcess&) = delete;
    CMosquittoProcess& operator=(const CMosquittoProcess&) = delete;

    int Port() const { return m_port; }
    // Starts the broker and waits until it takes connections; throws when it does not.
    void Start();
    // Ends it at once (SIGKILL): clients see the connection break.
    void Kill();

private:
    CTempDir m_dir;
    int m_port = 0;
    pid_t m_pid = -1;
};

} // namespace tickerlux::test
