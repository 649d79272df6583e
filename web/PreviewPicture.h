#pragma once

#include "web/SignBackend.h"

#include <string>

namespace tickerlux::web {

// The LED renderer's picture of the line at this pitch (pixels from one LED to the next).
inline constexpr int kPreviewPitch = 4;

// The sign line as the sign shows it, from its first character, drawn by the LED renderer: a PNG
// strip kPreviewPitch pixels an LED (a dark panel when the line is empty).
std::string PreviewPng(const PreviewLine& line);

// Whether the sign moves the line (rotate and compressed rotate do; the page scrolls it).
bool PreviewScrolls(const PreviewLine& line);

} // namespace tickerlux::web
