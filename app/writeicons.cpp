// orvane-icons: writes the program's icon as PNG files in the hicolor layout,
// OUTDIR/<size>x<size>/apps/orvane.png, for the desktop entry. Run at build time.

#include "ui/window/toolbaricons.h"

#include <QDir>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvane-icons OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const int size : kProgramIconSizes) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        const QString file = out.filePath(dir + QStringLiteral("/orvane.png"));
        if (!out.mkpath(dir) || !programIconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "orvane-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
