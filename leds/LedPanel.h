#pragma once

#include "leds/LedText.h"

#include <QImage>
#include <QPoint>
#include <QRgb>

#include <vector>

class QPainter;

namespace tickerlux::leds {

// Draws lit images (LitImage) as round LEDs on the sign's dark panel, `pitch` pixels from one
// LED to the next.
class CLedPanel {
public:
    explicit CLedPanel(int pitch);

    int Pitch() const { return m_pitch; }

    // Draws `columns` LED columns into `target` (RGB32), the first showing column `first` of
    // `lit`; columns outside the image are dark. `origin` is the top left of the first LED's
    // cell; every cell must lie inside `target`. Each LED is one copy of a ready-drawn cell of
    // its colour, so the cost grows with the pixels drawn and nothing is blended.
    void Draw(QImage& target, QPoint origin, const QImage& lit, int first, int columns) const;

    // The same through a painter (a window), by way of an image of the LEDs' size.
    void Paint(QPainter& painter, QPoint origin, const QImage& lit, int first, int columns) const;

private:
    // One LED's cell in `color`: the LED round and domed, the panel in the corners.
    const QRgb* Cell(QRgb color) const;

    int m_pitch;
    QImage m_mask;  // the panel around a round hole that darkens at its rim
    struct CellImage {
        QRgb color;
        std::vector<QRgb> pixels;
    };
    mutable std::vector<CellImage> m_cells;  // the colours met so far: a handful per line
    mutable QImage m_frame;
};

// Stills show at most this many characters of a line.
inline constexpr std::size_t kMaxStillCharacters = 600;
// A blank still is as wide as a panel that shows about twenty characters.
inline constexpr int kBlankColumns = 120;
// Six pixels an LED: the smallest at which the LEDs still look round (a still is 54 pixels high).
inline constexpr int kStillPitch = 6;

// The line from its first character, whole up to kMaxStillCharacters, on the panel with a margin
// of one LED all round; a dark panel kBlankColumns wide when there is no text.
QImage Still(const LedText& text, int pitch = kStillPitch);

} // namespace tickerlux::leds
