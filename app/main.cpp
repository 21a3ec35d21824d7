#include "core/journal/recordingjournal.h"
#include "engine/translations.h"
#include "sim/ptyinstrument.h"
#include "ui/base/memorysettings.h"
#include "ui/viewer/recordingviewer.h"
#include "ui/window/cmainframe.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

// --help and --version only print: they need no display.
bool onlyPrints(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version")
            return true;
    }
    return false;
}

bool setInEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Whether the window has somewhere to go: an X or Wayland display, or a
// platform chosen by the user (QT_QPA_PLATFORM, -platform), which Qt checks.
bool hasDisplay(int argc, char** argv) {
    if (setInEnvironment("DISPLAY") || setInEnvironment("WAYLAND_DISPLAY") ||
        setInEnvironment("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "-platform" || arg == "--platform" || arg.starts_with("-platform=") ||
            arg.starts_with("--platform="))
            return true;
    }
    return false;
}

QtMessageHandler g_qtMessages = nullptr;

// While the window's application starts: a display that is named but does not
// answer makes Qt end the program with advice to reinstall it. The user is
// told what is wrong instead, and the program ends with 1.
void unreachableDisplay(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        if (g_qtMessages)
            g_qtMessages(type, context, text);
        else
            std::fputs(qPrintable(qFormatLogMessage(type, context, text) + QLatin1Char('\n')),
                       stderr);
        return;
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr,
                 "orvane: the display could not be reached (DISPLAY=%s, WAYLAND_DISPLAY=%s); "
                 "orvane-cli records without one.\n",
                 display ? display : "", wayland ? wayland : "");
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv) {
    settleWindowMemory();
    // Without a display Qt would abort; the recorder needs none.
    if (!onlyPrints(argc, argv) && !hasDisplay(argc, argv)) {
        QCoreApplication app(argc, argv);
        installTranslations(app);
        std::fputs(QCoreApplication::translate(
                       "Orvane", "orvane: there is no display to show the window on (neither "
                                 "DISPLAY nor WAYLAND_DISPLAY is set); orvane-cli records "
                                 "without one.\n")
                       .toLocal8Bit()
                       .constData(),
                   stderr);
        return 1;
    }
    g_qtMessages = qInstallMessageHandler(unreachableDisplay);
    const std::unique_ptr<QCoreApplication> application =
        onlyPrints(argc, argv) ? std::make_unique<QCoreApplication>(argc, argv)
                               : std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_qtMessages);
    QCoreApplication& app = *application;
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    installTranslations(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "Orvane", "Data logger for the Orvane hand-held infrared thermometer."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption device(
        QStringLiteral("device"),
        QCoreApplication::translate("Orvane", "Open PATH (a serial device or pseudo-terminal) "
                                              "whatever COM port is selected."),
        QStringLiteral("PATH"));
    const QCommandLineOption simulator(
        QStringLiteral("simulator"),
        QCoreApplication::translate("Orvane", "Connect to a built-in simulated instrument."));
    const QCommandLineOption view(
        QStringLiteral("view"),
        QCoreApplication::translate(
            "Orvane", "Show the files (data files, CSV files, folders of them) in the recording "
                      "viewer, on a clock, whatever their length."));
    parser.addOption(device);
    parser.addOption(simulator);
    parser.addOption(view);
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QCoreApplication::translate(
            "Orvane", "A .DovDat data file to open; with --view, any number of recordings."),
        QStringLiteral("[FILE.DovDat | --view FILE...]"));
    parser.process(app);
    if (parser.isSet(view)) {
        const Configuration config;
        RecordingViewer::Startup startup;
        startup.configPath = config.path();
        startup.alarmHigh = config.alarmHigh();
        startup.alarmLow = config.alarmLow();
        auto* viewer = new RecordingViewer(startup);
        viewer->show();
        viewer->open(parser.positionalArguments());
        return app.exec();
    }
    if (parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "orvane: give at most one data file\n");
        return 2;
    }

    // The simulated instrument lives on a pseudo-terminal in this process.
    PtyInstrument instrument;
    CMainFrame::Startup startup;
    startup.boundDevice = parser.value(device);
    if (parser.isSet(simulator) && startup.boundDevice.isEmpty()) {
        instrument.setOptions(PtyInstrument::builtInOptions());
        if (const Result<void, QString> started = instrument.start()) {
            startup.boundDevice = instrument.slavePath();
            startup.simulated = true;
        } else
            QMessageBox::warning(nullptr, QStringLiteral("Orvane"),
                                 QCoreApplication::translate(
                                     "Orvane", "The simulated instrument could not start: %1")
                                     .arg(started.error()));
    }

    CMainFrame frame(startup);
    frame.show();
    frame.openJournal(defaultJournalPath());
    if (!parser.positionalArguments().isEmpty())
        frame.openFile(parser.positionalArguments().constFirst());
    return app.exec();
}
