#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QPushButton>

namespace tickerlux::app {

// A push button drawn as a web link: its caption in underlined blue on the dialog face (red while
// pressed), cut at the right edge, with a pointing-hand cursor over it. The owner opens the
// address on click.
class CHyperlinkButton : public QPushButton {
    Q_OBJECT
public:
    explicit CHyperlinkButton(const QString& caption, QWidget* parent = nullptr);

    // The link cursor: our 32 x 32 hand with its hot spot at the fingertip (12, 9).
    static QCursor LinkCursor();

    // The font captions are drawn in: 14 pixels high, about 6 wide, underlined, sans serif.
    static QFont LinkFont();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Taken once, at construction.
    QColor m_faceColor;
    QFont m_linkFont;
};

} // namespace tickerlux::app
