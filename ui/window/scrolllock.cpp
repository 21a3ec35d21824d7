#include "ui/window/scrolllock.h"

#include <QGuiApplication>
#include <QSocketNotifier>

#include <X11/XKBlib.h>

namespace {

// A connection of its own: the platform's connection stays out of it.
Display* display() {
    static Display* const connection =
        QGuiApplication::platformName() == QLatin1String("xcb") ? XOpenDisplay(nullptr) : nullptr;
    return connection;
}

// The first event number of the keyboard extension, or -1 without it.
int keyboardEventBase(Display* dpy) {
    static const int base = [dpy] {
        int opcode = 0, event = 0, error = 0;
        int major = XkbMajorVersion, minor = XkbMinorVersion;
        return XkbQueryExtension(dpy, &opcode, &event, &error, &major, &minor) ? event : -1;
    }();
    return base;
}

// Events read with a reply are answered by that reply: what the server says
// now holds.
void dropQueuedEvents(Display* dpy) {
    XEvent event;
    while (XEventsQueued(dpy, QueuedAlready) > 0)
        XNextEvent(dpy, &event);
}

} // namespace

bool scrollLockOn() {
    Display* dpy = display();
    if (!dpy)
        return false;
    static const Atom name = XInternAtom(dpy, "Scroll Lock", False);
    Bool on = False;
    const bool known = XkbGetNamedIndicator(dpy, name, nullptr, &on, nullptr, nullptr);
    dropQueuedEvents(dpy);
    return known && on != False;
}

ScrollLockWatch::ScrollLockWatch(QObject* parent) : QObject(parent) {
    Display* dpy = display();
    if (!dpy || keyboardEventBase(dpy) < 0)
        return;
    XkbSelectEventDetails(dpy, XkbUseCoreKbd, XkbIndicatorStateNotify, XkbAllIndicatorsMask,
                          XkbAllIndicatorsMask);
    XFlush(dpy);
    m_notifier = new QSocketNotifier(ConnectionNumber(dpy), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ScrollLockWatch::readEvents);
}

void ScrollLockWatch::readEvents() {
    Display* dpy = display();
    bool indicators = false;
    XEvent event;
    while (XPending(dpy) > 0) {
        XNextEvent(dpy, &event);
        if (event.type == keyboardEventBase(dpy) &&
            reinterpret_cast<XkbEvent*>(&event)->any.xkb_type == XkbIndicatorStateNotify)
            indicators = true;
    }
    if (indicators)
        Q_EMIT changed();
}
