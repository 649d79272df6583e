#include "tools/signsim/FacePicture.h"

#include "leds/LedPanel.h"
#include "base/FileIo.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdio>

namespace tickerlux::signsim {

std::optional<std::string> WriteFacePicture(const std::string& path, const Display& display)
{
    const QImage still =
        leds::Still(leds::FromSignCodes(display.text, display.colorCode, display.modeCode));
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !still.save(&buffer, "PNG"))
        return "cannot make the picture " + path;
    // Replaced as the store's files are: only a regular file or a new name, its owner and
    // permissions kept, never a device, a pipe or what a loop of links names.
    const base::Status saved =
        base::ReplaceAtomically(path, std::string_view(png.constData(), png.size()));
    if (saved.Ok())
        return std::nullopt;
    return "cannot write the picture " + path + ": " + saved.Reason();
}

CFaceReport::Face PictureFace(std::string path)
{
    return [path = std::move(path)](const Display& display) {
        if (const std::optional<std::string> problem = WriteFacePicture(path, display))
            std::fprintf(stderr, "tickerlux-signsim: %s\n", problem->c_str());
    };
}

} // namespace tickerlux::signsim
