// Lock keys on X11: the keyboard's named indicators.
#include "app/LockKeys.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace tickerlux::app {

namespace {

bool IndicatorOn(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    return atom != None && XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
}

} // namespace

std::optional<LockKeyState> QueryLockKeys()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    return LockKeyState{IndicatorOn(display, "Caps Lock"), IndicatorOn(display, "Num Lock"),
                        IndicatorOn(display, "Scroll Lock")};
}

} // namespace tickerlux::app
