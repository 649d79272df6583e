#include "leds/LedDisplay.h"

#include "leds/LedColors.h"
#include "leds/LedFont.h"

#include <QPainter>

#include <algorithm>

namespace tickerlux::leds {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kStep{1000 / CLedDisplay::kColumnsPerSecond};

milliseconds SteadyNow()
{
    return std::chrono::duration_cast<milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace

CLedDisplay::CLedDisplay(std::function<void(const QRect&)> repaint, Clock clock)
    : m_repaint(std::move(repaint)), m_clock(clock ? std::move(clock) : Clock(SteadyNow))
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kStep);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
}

void CLedDisplay::Show(const LedText& text)
{
    if (text == m_text && !m_lit.isNull())
        return;
    m_text = text;
    m_lit = LitImage(text);
    m_start = m_clock();
    StartOrStopSteps();
    m_repaint(m_layout.leds);
}

void CLedDisplay::SetVisible(bool visible)
{
    m_visible = visible;
    StartOrStopSteps();
}

void CLedDisplay::StartOrStopSteps()
{
    if (Moves() && m_visible)
        m_timer.start();
    else
        m_timer.stop();
}

void CLedDisplay::Resize(QSize size)
{
    m_layout = LayoutFor(size);
    if (!m_panel || m_panel->Pitch() != m_layout.pitch)
        m_panel.emplace(m_layout.pitch);
}

int CLedDisplay::FirstColumn(int columns) const
{
    if (!Moves())
        return 0;
    const long long steps = (m_clock() - m_start) / kStep;
    const long long cycle = static_cast<long long>(m_lit.width()) + columns;
    return static_cast<int>(steps % cycle) - columns;
}

CLedDisplay::Layout CLedDisplay::LayoutFor(QSize size)
{
    Layout layout;
    layout.pitch = std::max(1, size.height() / (kRows + 2 * kMargin));
    layout.columns = std::max(0, size.width() / layout.pitch - 2 * kMargin);
    const QSize leds(layout.columns * layout.pitch, kRows * layout.pitch);
    const QPoint corner((size.width() - leds.width()) / 2, (size.height() - leds.height()) / 2);
    layout.leds = QRect(corner, leds);
    return layout;
}

QSize CLedDisplay::SizeFor(int characters, int pitch)
{
    const int columns = characters * (Glyph(LedFontKind::Normal, 'A').width + 1);
    return QSize((columns + 2 * kMargin) * pitch, (kRows + 2 * kMargin) * pitch);
}

void CLedDisplay::Tick()
{
    if (FirstColumn(m_layout.columns) != m_paintedColumn)
        m_repaint(m_layout.leds);
}

void CLedDisplay::Paint(QPainter& painter)
{
    if (!m_panel)
        return;
    painter.fillRect(painter.window(), QColor(kPanel));
    m_paintedColumn = FirstColumn(m_layout.columns);
    m_panel->Paint(painter, m_layout.leds.topLeft(), m_lit, m_paintedColumn, m_layout.columns);
}

} // namespace tickerlux::leds
