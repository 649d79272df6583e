#include "web/PreviewPicture.h"

#include "leds/LedPanel.h"
#include "leds/LedText.h"

#include <QBuffer>
#include <QByteArray>

namespace tickerlux::web {

std::string PreviewPng(const PreviewLine& line)
{
    const QImage still =
        leds::Still(leds::FromSignLine(line.line, line.colorIndex, line.condensed), kPreviewPitch);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    still.save(&buffer, "PNG");
    return png.toStdString();
}

bool PreviewScrolls(const PreviewLine& line)
{
    return leds::FromSignLine(line.line, line.colorIndex, line.condensed).scrolls;
}

} // namespace tickerlux::web
