#pragma once

#include "base/Win1252.h"

#include <QString>

#include <string>

// Documents and settings hold Windows-1252 bytes; widgets show Unicode. The conversion at the
// widget edge, for every window of the program.
namespace tickerlux::app::widgettext {

inline QString FromBytes(const std::string& bytes)
{
    return QString::fromStdString(base::win1252::ToUtf8(bytes));
}

// A character that Windows-1252 lacks becomes '?'.
inline std::string ToBytes(const QString& text)
{
    return base::win1252::FromUtf8(text.toStdString());
}

} // namespace tickerlux::app::widgettext
