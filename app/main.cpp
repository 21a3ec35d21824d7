#include "app/cmainframe.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Data logger for the Orvane infrared thermometer."));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption device(QStringLiteral("device"),
                              QStringLiteral("Open PATH instead of the COM port's device."),
                              QStringLiteral("PATH"));
    parser.addOption(device);
    parser.process(app);

    CMainFrame::Startup startup;
    startup.boundDevice = parser.value(device);
    CMainFrame frame(startup);
    frame.show();
    return app.exec();
}
