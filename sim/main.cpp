// orvane-sim: a simulated thermometer on a pseudo-terminal or a serial device.

#include "core/link/frameencoder.h"
#include "sim/ptyinstrument.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// SIGINT, SIGTERM and SIGHUP end the event loop, so the instrument is destroyed
// normally and its symlink removed.
bool installQuitSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return false;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
        app.quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(sig, &action, nullptr);
    return true;
}

[[noreturn]] void usageError(const QString& message) {
    std::fprintf(stderr, "orvane-sim: %s\nTry 'orvane-sim --help'.\n", qPrintable(message));
    std::exit(2);
}

double doubleOption(const QCommandLineParser& parser, const QString& name, double fallback) {
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok)
        usageError(QStringLiteral("--%1 wants a number, not '%2'").arg(name, parser.value(name)));
    return value;
}

int intOption(const QCommandLineParser& parser, const QString& name, int fallback, int minimum) {
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < minimum)
        usageError(QStringLiteral("--%1 wants a whole number of at least %2, not '%3'")
                       .arg(name)
                       .arg(minimum)
                       .arg(parser.value(name)));
    return value;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated Orvane thermometer: writes 14-byte instrument frames to a new\n"
        "pseudo-terminal (its path is printed) or to a serial device at 2400 baud 8N1."));
    parser.addHelpOption();
    const auto opt = [&parser](const char* name, const char* help,
                               const char* valueName = nullptr) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help),
                                            QString::fromLatin1(valueName ? valueName : "")));
    };
    opt("device", "Write to this serial device instead of a new pseudo-terminal.", "PATH");
    opt("link", "Make a symbolic link PATH to the pseudo-terminal (removed at exit).", "PATH");
    opt("profile", "Signal shape: steady, ramp or sine (default sine).", "SHAPE");
    opt("value", "Steady value, ramp start, sine centre (default 25.0).", "DEGREES");
    opt("span", "Ramp rise or sine amplitude (default 10.0).", "DEGREES");
    opt("cycle", "Frames per ramp or sine cycle (default 120).", "FRAMES");
    opt("noise", "Largest random deviation added to each reading (default 0).", "DEGREES");
    opt("seed", "Seed of the noise (default 1).", "N");
    opt("period", "Time between frames (default 500, at least the 59 ms a frame takes).", "MS");
    opt("mode", "Mode keyword: EMS, MAX, MIN, DIF, AVG, HAL, LAL, TK or LOG (default EMS).",
        "KEYWORD");
    opt("emissivity", "Emissivity 0.00..2.55 (default 0.95).", "E");
    opt("fahrenheit", "Readings in Fahrenheit (default Celsius).");
    opt("lock", "Set the lock indicator.");
    opt("log-every", "Every N-th frame is a log frame.", "N");
    opt("log-without-value", "Log frames carry no value.");
    opt("mid-frame", "Start in the middle of a frame.");
    opt("garbage-every", "Write a few stray bytes after every N-th frame.", "N");
    opt("burst", "Send K frames back to back every period.", "K");
    opt("count", "Stop after N frames and exit.", "N");
    opt("max-rate", "Send frames back to back at the full line rate.");
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        usageError(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[0]));

    PtyInstrument::Options options;
    options.device = parser.value(QStringLiteral("device"));
    options.linkPath = parser.value(QStringLiteral("link"));
    if (!options.device.isEmpty() && !options.linkPath.isEmpty())
        usageError(QStringLiteral("--link goes with a pseudo-terminal, not with --device"));
    if (parser.isSet(QStringLiteral("profile"))) {
        const auto shape =
            SignalProfile::shapeFromName(parser.value(QStringLiteral("profile")).toStdString());
        if (!shape)
            usageError(QStringLiteral("unknown profile '%1' (steady, ramp or sine)")
                           .arg(parser.value(QStringLiteral("profile"))));
        options.profile.shape = *shape;
    }
    auto& profile = options.profile;
    profile.base = doubleOption(parser, QStringLiteral("value"), profile.base);
    profile.span = doubleOption(parser, QStringLiteral("span"), profile.span);
    profile.periodFrames = intOption(parser, QStringLiteral("cycle"), profile.periodFrames, 1);
    profile.noise = doubleOption(parser, QStringLiteral("noise"), profile.noise);
    profile.seed = static_cast<std::uint64_t>(intOption(parser, QStringLiteral("seed"), 1, 0));
    profile.celsius = !parser.isSet(QStringLiteral("fahrenheit"));
    options.periodMs = intOption(parser, QStringLiteral("period"), options.periodMs, 1);
    if (parser.isSet(QStringLiteral("mode"))) {
        const auto mode = modeIndexOf(parser.value(QStringLiteral("mode")).toStdString());
        if (!mode)
            usageError(
                QStringLiteral("unknown mode '%1'").arg(parser.value(QStringLiteral("mode"))));
        options.modeIndex = *mode;
    }
    options.emissivity = doubleOption(parser, QStringLiteral("emissivity"), options.emissivity);
    if (options.emissivity < 0 || options.emissivity > 2.55)
        usageError(QStringLiteral("--emissivity must lie between 0.00 and 2.55"));
    options.locked = parser.isSet(QStringLiteral("lock"));
    options.logEvery = intOption(parser, QStringLiteral("log-every"), 0, 0);
    options.logWithValue = !parser.isSet(QStringLiteral("log-without-value"));
    options.startMidFrame = parser.isSet(QStringLiteral("mid-frame"));
    options.garbageEvery = intOption(parser, QStringLiteral("garbage-every"), 0, 0);
    options.burst = intOption(parser, QStringLiteral("burst"), 1, 1);
    options.count = intOption(parser, QStringLiteral("count"), 0, 0);
    options.maxRate = parser.isSet(QStringLiteral("max-rate"));

    if (!installQuitSignals(app)) {
        std::perror("orvane-sim: socketpair");
        return 1;
    }
    PtyInstrument instrument(options);
    QObject::connect(&instrument, &PtyInstrument::finished, &app, &QCoreApplication::quit);
    QObject::connect(&instrument, &PtyInstrument::failed, &app, [](const QString& reason) {
        std::fprintf(stderr, "orvane-sim: %s\n", qPrintable(reason));
        QCoreApplication::exit(1);
    });
    if (const Result<void, QString> started = instrument.start(); !started) {
        std::fprintf(stderr, "orvane-sim: %s\n", qPrintable(started.error()));
        return 1;
    }
    std::printf("%s\n", qPrintable(instrument.slavePath()));
    std::fflush(stdout);
    return app.exec();
}
