#include "app/SignPreview.h"

#include <QPainter>

namespace tickerlux::app {

namespace {

constexpr int kCharacters = 20;
constexpr int kPitch = 6;

} // namespace

CSignPreview::CSignPreview(QWidget* parent)
    : QWidget(parent, Qt::Tool), m_display([this](const QRect& area) { update(area); })
{
    setObjectName(QStringLiteral("SignPreview"));
    setWindowTitle(QStringLiteral("Sign Preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(leds::CLedDisplay::SizeFor(kCharacters, kPitch));
    setMinimumSize(leds::CLedDisplay::SizeFor(1, 2));
    m_display.SetVisible(false);
}

void CSignPreview::ShowLine(std::string_view line, int colorIndex, bool condensed)
{
    m_display.Show(leds::FromSignLine(line, colorIndex, condensed));
}

void CSignPreview::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    m_display.Paint(painter);
}

void CSignPreview::resizeEvent(QResizeEvent* /*event*/)
{
    m_display.Resize(size());
}

void CSignPreview::showEvent(QShowEvent* /*event*/)
{
    m_display.SetVisible(true);
    emit VisibilityChanged(true);
}

void CSignPreview::hideEvent(QHideEvent* /*event*/)
{
    m_display.SetVisible(false);
    emit VisibilityChanged(false);
}

} // namespace tickerlux::app
