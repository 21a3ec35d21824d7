#include "ui/window/scrolllock.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace {

// A connection of its own: the indicator is asked for about twice a second,
// and the platform's connection stays out of it.
Display* display() {
    static Display* const connection =
        QGuiApplication::platformName() == QLatin1String("xcb") ? XOpenDisplay(nullptr) : nullptr;
    return connection;
}

} // namespace

bool scrollLockOn() {
    Display* dpy = display();
    if (!dpy)
        return false;
    static const Atom name = XInternAtom(dpy, "Scroll Lock", False);
    Bool on = False;
    if (!XkbGetNamedIndicator(dpy, name, nullptr, &on, nullptr, nullptr))
        return false;
    return on != False;
}
