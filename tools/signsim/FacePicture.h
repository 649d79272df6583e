#pragma once

#include "tools/signsim/FaceReport.h"
#include "tools/signsim/SignState.h"

#include <optional>
#include <string>

namespace tickerlux::signsim {

// Writes a still of the sign's face showing `display` to the PNG file `path`, replacing it as a
// whole: a reader never sees half a picture. The problem in words when it cannot.
std::optional<std::string> WriteFacePicture(const std::string& path, const Display& display);

// A face that rewrites the picture at each change; a failure is told on standard error and the
// sign goes on.
CFaceReport::Face PictureFace(std::string path);

} // namespace tickerlux::signsim
