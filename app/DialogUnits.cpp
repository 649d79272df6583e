#include "app/DialogUnits.h"

#include <QFontMetrics>
#include <QWidget>

namespace tickerlux::app {

CDialogUnits::CDialogUnits(const QFont& font)
{
    // The average width over the 52 Latin letters, rounded, as dialog templates measure it.
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_avgWidth = (letters / 26 + 1) / 2;
    m_height = metrics.height();
    m_xScale = m_avgWidth * 1000;
}

void CDialogUnits::FitWidth(int pixels, int units)
{
    if (units > 0 && X(units) < pixels)
        m_xScale = (pixels * 4000 + units - 1) / units;
}

CDialogLayout::CDialogLayout(QWidget* owner) : m_owner(owner) {}

void CDialogLayout::Place(QWidget* control, int x, int y, int width, int height, bool fitText)
{
    m_items.append({control, QRect(x, y, width, height), fitText});
}

void CDialogLayout::Apply(int width, int height)
{
    CDialogUnits du(m_owner->font());
    for (const Item& item : m_items)
        if (item.fitText)
            du.FitWidth(item.control->sizeHint().width(), item.units.width());
    m_owner->setFixedSize(du.X(width), du.Y(height));

    for (const Item& item : m_items) {
        const QRect& u = item.units;
        QRect where = du.Rect(u.x(), u.y(), u.width(), u.height());
        // Lists keep their own height (the template's is that of the dropped list); a text that
        // needs more than its line gets it, centred on the line.
        const int natural = item.control->sizeHint().height();
        if (item.control->inherits("QComboBox")) {
            where.setHeight(natural);
        } else if (item.fitText && natural > where.height()) {
            where.translate(0, -(natural - where.height()) / 2);
            where.setHeight(natural);
        }
        item.control->setGeometry(where);
    }
}

} // namespace tickerlux::app
