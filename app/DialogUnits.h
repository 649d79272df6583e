#pragma once

#include <QFont>
#include <QRect>

// Converts dialog-template units to pixels for a font: x units are a quarter of the font's
// average character width, y units an eighth of its height.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int X(int units) const { return units * m_avgWidth / 4; }
    int Y(int units) const { return units * m_height / 8; }
    QRect Rect(int x, int y, int width, int height) const
    {
        return {X(x), Y(y), X(width), Y(height)};
    }

    int AverageCharWidth() const { return m_avgWidth; }
    int Height() const { return m_height; }

private:
    int m_avgWidth = 0;
    int m_height = 0;
};
