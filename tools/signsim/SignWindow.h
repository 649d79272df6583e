#pragma once

#include "leds/LedDisplay.h"
#include "tools/signsim/FaceReport.h"
#include "tools/signsim/Simulator.h"

#include <QRasterWindow>

namespace tickerlux::signsim {

class CStopSignals;

// The sign's face in a window of its own, about twenty characters wide and resizable.
class CSignWindow : public QRasterWindow {
public:
    CSignWindow();

    // A face for the simulator's thread: the display goes to the window's thread.
    CFaceReport::Face Face();
    const leds::CLedDisplay& Display() const { return m_display; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    leds::CLedDisplay m_display;
};

// Whether a window can be opened: a display to open it on, or a Qt platform chosen by hand.
bool HasDisplay();

// Runs the simulator on a thread of its own while the window is up (a QGuiApplication must
// exist). Closing the window stops the simulator; the simulator's end closes the window.
CSimulator::Outcome RunBeside(CSignWindow& window, CSimulator& simulator, const CStopSignals& stop);

} // namespace tickerlux::signsim
