#include "ui/window/cmainframe.h"
#include "sim/ptyinstrument.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Data logger for the Orvane hand-held infrared thermometer."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("Open PATH (a serial device or pseudo-terminal) "
                                                   "whatever COM port is selected."),
                                    QStringLiteral("PATH"));
    const QCommandLineOption simulator(
        QStringLiteral("simulator"), QStringLiteral("Connect to a built-in simulated instrument."));
    parser.addOption(device);
    parser.addOption(simulator);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A .DovDat data file to open."),
                                 QStringLiteral("[FILE.DovDat]"));
    parser.process(app);
    if (parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "orvane: give at most one data file\n");
        return 2;
    }

    // The simulated instrument lives on a pseudo-terminal in this process.
    PtyInstrument instrument;
    CMainFrame::Startup startup;
    startup.boundDevice = parser.value(device);
    if (parser.isSet(simulator) && startup.boundDevice.isEmpty()) {
        PtyInstrument::Options options;
        options.profile.base = 100.0;
        options.profile.span = 70.0;
        options.profile.noise = 1.5;
        options.profile.periodFrames = 120;
        options.periodMs = 500;
        options.logEvery = 25;
        instrument.setOptions(options);
        QString error;
        if (instrument.start(&error))
            startup.boundDevice = instrument.slavePath();
        else
            QMessageBox::warning(
                nullptr, QStringLiteral("Orvane"),
                QStringLiteral("The simulated instrument could not start: %1").arg(error));
    }

    CMainFrame frame(startup);
    frame.show();
    if (!parser.positionalArguments().isEmpty())
        frame.openFile(parser.positionalArguments().constFirst());
    return app.exec();
}
