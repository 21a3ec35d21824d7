#pragma once

#include <QObject>

class QSocketNotifier;

// Whether the keyboard's Scroll Lock is on, as the X server's indicator says.
// False where there is no X display: a Wayland desktop tells no program the
// lock state, and a headless run has none.
bool scrollLockOn();

// Says when the X server's keyboard indicators change, so that whatever shows
// Scroll Lock is brought up to date without asking the server over and over.
// Says nothing where there is no X display.
class ScrollLockWatch : public QObject {
    Q_OBJECT

public:
    explicit ScrollLockWatch(QObject* parent = nullptr);

Q_SIGNALS:
    void changed();

private:
    void readEvents();

    QSocketNotifier* m_notifier = nullptr;
};
