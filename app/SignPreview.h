#pragma once

#include "leds/LedDisplay.h"

#include <QWidget>

#include <string_view>

namespace tickerlux::app {

// View > Sign Preview: a window of its own beside the form that draws the sign line as the sign
// shows it, moving as the sign moves it. It only draws; nothing goes to the sign.
class CSignPreview : public QWidget {
    Q_OBJECT
public:
    explicit CSignPreview(QWidget* parent);

    // The sign line (Windows-1252) with the form's colour and condensed choice.
    void ShowLine(std::string_view line, int colorIndex, bool condensed);
    const leds::CLedDisplay& Display() const { return m_display; }

signals:
    void VisibilityChanged(bool visible);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    leds::CLedDisplay m_display;
};

} // namespace tickerlux::app
