#pragma once

#include "leds/LedPanel.h"
#include "leds/LedText.h"

#include <QRect>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>

class QPainter;

namespace tickerlux::leds {

// The sign's face in a window: the line as the sign shows it, moving from right to left one LED
// column at a time while its mode rotates it and starting again once it has gone by. The window
// paints it and repaints the part it asks for; the lit line is kept as an image, so a step
// costs only the LEDs in view.
class CLedDisplay {
public:
    using Clock = std::function<std::chrono::milliseconds()>;

    // 50 columns a second, one every 20 ms: about eight characters a second, in the middle of
    // the speeds a sign's rotate mode runs at, and still easy to read.
    static constexpr int kColumnsPerSecond = 50;
    // Margin around the LEDs, in LEDs.
    static constexpr int kMargin = 1;

    // `repaint` is asked to repaint the part of the window that moved. The clock (steady by
    // default) says how far the line has gone.
    explicit CLedDisplay(std::function<void(const QRect&)> repaint, Clock clock = {});

    // Shows a new line: it enters from the right edge now. The same line keeps its place.
    void Show(const LedText& text);
    const LedText& Text() const { return m_text; }
    bool Moves() const { return m_text.scrolls && !m_lit.isNull(); }

    // A hidden window is not repainted: the line's clock runs on, the steps are not drawn.
    void SetVisible(bool visible);

    // The window's size: the LEDs grow and shrink with it.
    void Resize(QSize size);

    // The line column at the left edge of a face `columns` wide: negative while the line comes
    // in from the right, 0 for a line that stands.
    int FirstColumn(int columns) const;

    // How the LEDs sit in the window: the largest pitch that fits the seven rows and margins.
    struct Layout {
        int pitch = 1;
        int columns = 0;
        QRect leds;  // the LEDs' cells
    };
    static Layout LayoutFor(QSize size);
    // A window size that shows `characters` normal characters at `pitch`.
    static QSize SizeFor(int characters, int pitch);

    void Paint(QPainter& painter);

private:
    void Tick();
    void StartOrStopSteps();

    std::function<void(const QRect&)> m_repaint;
    Clock m_clock;
    LedText m_text;
    QImage m_lit;
    std::chrono::milliseconds m_start{};
    Layout m_layout;
    std::optional<CLedPanel> m_panel;
    int m_paintedColumn = 0;
    bool m_visible = true;
    QTimer m_timer;
};

} // namespace tickerlux::leds
