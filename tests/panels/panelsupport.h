#pragma once

#include <QDir>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QString>

// Writes a picture to $ORVANE_SHOT_DIR when that is set, to look at it.
inline void keepShot(const QImage& img, const char* name) {
    const QByteArray dir = qgetenv("ORVANE_SHOT_DIR");
    if (!dir.isEmpty())
        img.save(QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(name)));
}

// Counts the key presses that reach the object it is installed on.
struct KeyWatch : QObject {
    int keys = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        keys += event->type() == QEvent::KeyPress;
        return false;
    }
};
