#include "app/HyperlinkButton.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

namespace tickerlux::app {

namespace {

constexpr int kCellHeight = 14;
constexpr int kAverageWidth = 6;

} // namespace

CHyperlinkButton::CHyperlinkButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), m_faceColor(palette().color(QPalette::Window)),
      m_linkFont(LinkFont())
{
    setCursor(LinkCursor());
}

QCursor CHyperlinkButton::LinkCursor()
{
    return QCursor(QPixmap(QStringLiteral(":/res/link-cursor.xpm")), 12, 9);
}

QFont CHyperlinkButton::LinkFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setUnderline(true);
    // The largest pixel size whose line fits the 14-pixel cell.
    int pixels = kCellHeight;
    font.setPixelSize(pixels);
    while (pixels > 6 && QFontMetrics(font).height() > kCellHeight)
        font.setPixelSize(--pixels);
    // Narrow a wide face down to the 6-pixel average character width.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int average = (letters / 26 + 1) / 2;
    if (average > kAverageWidth)
        font.setStretch(100 * kAverageWidth / average);
    return font;
}

void CHyperlinkButton::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, m_faceColor);
    painter.setFont(m_linkFont);
    painter.setPen(isDown() ? QColor(255, 0, 0) : QColor(0, 0, 255));
    // One line, vertically centred, cut (never wrapped) at the right edge.
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
}

} // namespace tickerlux::app
