#pragma once

#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "settings/UserSettings.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPty.h"

namespace tickerlux::test {

// What the serial delivery tests share: a per-user store of their own, a pseudo-terminal reached
// as COM `port` (the document's port too), and an engine over the document that records what it
// shows through `Ui`.
template <class Ui = CRecordingUi>
struct CEngineOnPty {
    explicit CEngineOnPty(int port)
    {
        pty.MapAs(port);
        doc.Comm.ComPort = port;
        engine.SetPortMap(settings::LoadUserSettings().settings.Ports);
    }

    CScopedConfigHome home;  // first: the port map entry goes into this store
    CTestPty pty;
    settings::CTickerluxDoc doc;
    Ui ui;
    engine::CTickerluxEngine engine{doc, ui};
};

} // namespace tickerlux::test
