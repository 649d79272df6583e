#include "tools/signsim/SignWindow.h"

#include "tools/signsim/StopSignals.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdlib>
#include <thread>

namespace tickerlux::signsim {

namespace {

constexpr int kCharacters = 20;
constexpr int kPitch = 8;

bool Set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

CSignWindow::CSignWindow() : m_display([this](const QRect& area) { update(area); })
{
    setTitle(QStringLiteral("Tickerlux virtual sign"));
    resize(leds::CLedDisplay::SizeFor(kCharacters, kPitch));
    setMinimumSize(leds::CLedDisplay::SizeFor(1, 2));
}

CFaceReport::Face CSignWindow::Face()
{
    return [this](const signsim::Display& display) {
        const leds::LedText text =
            leds::FromSignCodes(display.text, display.colorCode, display.modeCode);
        QMetaObject::invokeMethod(
            this, [this, text] { m_display.Show(text); }, Qt::QueuedConnection);
    };
}

void CSignWindow::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    m_display.Paint(painter);
}

void CSignWindow::resizeEvent(QResizeEvent* /*event*/)
{
    m_display.Resize(size());
}

bool HasDisplay()
{
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

CSimulator::Outcome RunBeside(CSignWindow& window, CSimulator& simulator, const CStopSignals& stop)
{
    window.show();
    CSimulator::Outcome outcome = CSimulator::Outcome::Stopped;
    std::thread thread([&] {
        outcome = simulator.Run();
        QMetaObject::invokeMethod(qGuiApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    QGuiApplication::exec();
    stop.Request();
    thread.join();
    return outcome;
}

} // namespace tickerlux::signsim
