#include "tools/signsim/FacePicture.h"

#include "leds/LedPanel.h"

#include <QSaveFile>

#include <cstdio>

namespace tickerlux::signsim {

std::optional<std::string> WriteFacePicture(const std::string& path, const Display& display)
{
    const QImage still =
        leds::Still(leds::FromSignCodes(display.text, display.colorCode, display.modeCode));
    QSaveFile file(QString::fromLocal8Bit(path));
    if (file.open(QIODevice::WriteOnly) && still.save(&file, "PNG") && file.commit())
        return std::nullopt;
    return "cannot write the picture " + path + ": " + file.errorString().toStdString();
}

CFaceReport::Face PictureFace(std::string path)
{
    return [path = std::move(path)](const Display& display) {
        if (const std::optional<std::string> problem = WriteFacePicture(path, display))
            std::fprintf(stderr, "tickerlux-signsim: %s\n", problem->c_str());
    };
}

} // namespace tickerlux::signsim
