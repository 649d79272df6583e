#pragma once

#include <QFont>
#include <QList>
#include <QRect>

class QWidget;

namespace tickerlux::app {

// Converts dialog-template units to pixels for a font: x units are a quarter of the font's
// average character width, y units an eighth of its height.
class CDialogUnits {
public:
    explicit CDialogUnits(const QFont& font);

    int X(int units) const { return units * m_xScale / 4000; }
    int Y(int units) const { return units * m_height / 8; }

    // Widens the x unit where needed so that `pixels` fit into `units`: a face whose letters run
    // wider than its average (most desktop fonts against the templates' original one) still
    // shows every label whole. Call for every text before laying out.
    void FitWidth(int pixels, int units);
    QRect Rect(int x, int y, int width, int height) const
    {
        return {X(x), Y(y), X(width), Y(height)};
    }

    int AverageCharWidth() const { return m_avgWidth; }
    int Height() const { return m_height; }

private:
    int m_avgWidth = 0;
    int m_height = 0;
    int m_xScale = 0;  // 1000 x the pixels of 4 x units
};

// Lays controls out at the rectangles of a dialog template, in dialog units of the owner's font.
// Controls whose text would be cut (labels, buttons, check boxes, lists) widen the x unit for
// the whole template, so proportions stay and every text shows whole.
class CDialogLayout {
public:
    explicit CDialogLayout(QWidget* owner);

    // `control` goes to (x, y, width, height) units. With `fitText` its natural width must fit.
    void Place(QWidget* control, int x, int y, int width, int height, bool fitText = true);

    // Gives the owner its fixed size of `width` x `height` units and every control its place.
    void Apply(int width, int height);

private:
    struct Item {
        QWidget* control;
        QRect units;
        bool fitText;
    };
    QWidget* m_owner;
    QList<Item> m_items;
};

} // namespace tickerlux::app
