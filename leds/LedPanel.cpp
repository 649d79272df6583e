#include "leds/LedPanel.h"

#include "leds/LedColors.h"
#include "leds/LedFont.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cstring>

namespace tickerlux::leds {

namespace {

// `color` seen through `mask`: the mask's colour where it is opaque.
QRgb Through(QRgb mask, QRgb color)
{
    const int opaque = qAlpha(mask);
    const auto mix = [opaque](int over, int under) {
        return (over * opaque + under * (255 - opaque)) / 255;
    };
    return qRgb(mix(qRed(mask), qRed(color)), mix(qGreen(mask), qGreen(color)),
                mix(qBlue(mask), qBlue(color)));
}

} // namespace

CLedPanel::CLedPanel(int pitch)
    : m_pitch(std::max(pitch, 1)), m_mask(m_pitch, m_pitch, QImage::Format_ARGB32)
{
    m_mask.fill(QColor(kPanel));
    QPainter painter(&m_mask);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setPen(Qt::NoPen);
    const QPointF centre(m_pitch / 2.0, m_pitch / 2.0);
    const double radius = m_pitch * 0.42;
    // Clear in the middle, a little panel colour towards the rim: a lit LED looks domed.
    QRadialGradient dome(centre, radius);
    QColor rim(kPanel);
    rim.setAlpha(120);
    dome.setColorAt(0, Qt::transparent);
    dome.setColorAt(0.6, Qt::transparent);
    dome.setColorAt(1, rim);
    painter.setBrush(dome);
    painter.drawEllipse(centre, radius, radius);
}

const QRgb* CLedPanel::Cell(QRgb color) const
{
    for (const CellImage& cell : m_cells)
        if (cell.color == color)
            return cell.pixels.data();
    CellImage cell{color, {}};
    cell.pixels.reserve(static_cast<std::size_t>(m_pitch * m_pitch));
    for (int y = 0; y < m_pitch; ++y)
        for (int x = 0; x < m_pitch; ++x)
            cell.pixels.push_back(Through(m_mask.pixel(x, y), color));
    m_cells.push_back(std::move(cell));
    return m_cells.back().pixels.data();
}

void CLedPanel::Draw(QImage& target, QPoint origin, const QImage& lit, int first, int columns) const
{
    const std::size_t rowBytes = static_cast<std::size_t>(m_pitch) * sizeof(QRgb);
    QRgb lastColor = kDarkLed;
    const QRgb* cell = Cell(lastColor);
    for (int row = 0; row < kRows; ++row) {
        const auto* leds =
            lit.isNull() ? nullptr : reinterpret_cast<const QRgb*>(lit.constScanLine(row));
        std::vector<QRgb*> lines;
        for (int y = 0; y < m_pitch; ++y) {
            auto* line = reinterpret_cast<QRgb*>(target.scanLine(origin.y() + row * m_pitch + y));
            lines.push_back(line + origin.x());
        }
        for (int column = 0; column < columns; ++column) {
            const int source = first + column;
            const bool inLine = leds && source >= 0 && source < lit.width();
            const QRgb color = inLine ? leds[source] : kDarkLed;
            if (color != lastColor) {
                lastColor = color;
                cell = Cell(color);
            }
            for (int y = 0; y < m_pitch; ++y)
                std::memcpy(lines[y] + column * m_pitch, cell + y * m_pitch, rowBytes);
        }
    }
}

void CLedPanel::Paint(QPainter& painter, QPoint origin, const QImage& lit, int first,
                      int columns) const
{
    const QSize size(columns * m_pitch, kRows * m_pitch);
    if (size.isEmpty())
        return;
    if (m_frame.size() != size)
        m_frame = QImage(size, QImage::Format_RGB32);
    Draw(m_frame, QPoint(0, 0), lit, first, columns);
    painter.drawImage(origin, m_frame);
}

QImage Still(const LedText& text, int pitch)
{
    LedText shown = text;
    if (shown.text.size() > kMaxStillCharacters)
        shown.text.resize(kMaxStillCharacters);
    const QImage lit = LitImage(shown);
    const int columns = lit.isNull() ? kBlankColumns : lit.width();
    const CLedPanel panel(pitch);
    QImage still((columns + 2) * panel.Pitch(), (kRows + 2) * panel.Pitch(),
                 QImage::Format_RGB32);
    still.fill(kPanel);
    panel.Draw(still, QPoint(panel.Pitch(), panel.Pitch()), lit, 0, columns);
    return still;
}

} // namespace tickerlux::leds
