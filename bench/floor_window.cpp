// The floor any window showing a reading stands on: a bare window that reads
// the instrument's line and sets one label per 14-byte frame, nothing else.
// The wire-rate measurement runs it beside the real window on the same kind of
// line, so the two shares of a core can be compared in one run.
//
//   floor_window DEVICE
#include <QApplication>
#include <QByteArray>
#include <QLabel>
#include <QSerialPort>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: floor_window DEVICE\n");
        return 2;
    }
    QLabel label(QStringLiteral("waiting"));
    label.setWindowTitle(QStringLiteral("floor window"));
    label.resize(240, 60);
    label.show();

    QSerialPort port(QString::fromLocal8Bit(argv[1]));
    port.setBaudRate(QSerialPort::Baud2400);
    if (!port.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "floor_window: %s\n", qPrintable(port.errorString()));
        return 1;
    }
    QByteArray pending;
    long long frames = 0;
    QObject::connect(&port, &QSerialPort::readyRead, &label, [&] {
        pending += port.readAll();
        while (pending.size() >= 14) {
            pending.remove(0, 14);
            label.setText(QString::number(++frames));
        }
    });
    return app.exec();
}
