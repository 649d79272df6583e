#include "app/DialogUnits.h"

#include <QFontMetrics>

CDialogUnits::CDialogUnits(const QFont& font)
{
    // The average width over the 52 Latin letters, rounded, as dialog templates measure it.
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_avgWidth = (letters / 26 + 1) / 2;
    m_height = metrics.height();
}
