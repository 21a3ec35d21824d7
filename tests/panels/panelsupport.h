#pragma once

#include <QDir>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QString>

#include <algorithm>
#include <cstdlib>

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

// The largest difference of any colour channel of any pixel (256 for images of
// different sizes).
inline int worstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 256;
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}
