// orvane-cli: records, converts and summarises thermometer readings without a
// window.

#include "cli/argumenttext.h"
#include "cli/clitext.h"
#include "cli/commandparser.h"
#include "cli/exitstatus.h"
#include "cli/filecommands.h"
#include "cli/recordpublisher.h"
#include "cli/recordsession.h"
#include "cli/recovercommand.h"
#include "cli/statscommand.h"
#include "cli/stopsignals.h"
#include "core/config/configuration.h"
#include "core/config/serialdevices.h"
#include "core/journal/recordingjournal.h"
#include "core/publish/passwordfile.h"
#include "engine/translations.h"
#include "sim/ptyinstrument.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

namespace {

// Texts in the user's language: made once the translation is installed.
QString description() {
    return Cli::tr("Records, converts and summarises readings of the Orvane infrared thermometer\n"
                   "without a window.\n"
                   "\n"
                   "Commands:\n"
                   "  record   Record from a serial device (or the built-in simulated instrument)\n"
                   "           into a data file, its text export and, if asked, a CSV file.\n"
                   "  recover  Turn the recording a journal kept (after a crash or a power cut)\n"
                   "           into a data file and its text export.\n"
                   "  convert  Write a data file as its text export or as CSV.\n"
                   "  info     Show what a data file holds.\n"
                   "  stats    The statistics and alarm episodes of recordings over a period.\n"
                   "  ports    List the serial devices and their COM numbers.\n"
                   "\n"
                   "Type 'orvane-cli COMMAND --help' for the options of a command.");
}

QString dataFileHelp() {
    return Cli::tr("The data file (default: named after the time of saving, in the current "
                   "folder). A file is never replaced: where FILE.DovDat is taken, the next "
                   "free of FILE-2.DovDat, FILE-3.DovDat, ... is written.");
}

// Whether two names lead to one file: the same file where both exist (links
// followed), else the same path once made absolute and tidied.
bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::exists(a, error) && std::filesystem::exists(b, error))
        return std::filesystem::equivalent(a, b, error);
    return std::filesystem::weakly_canonical(std::filesystem::absolute(a, error), error) ==
           std::filesystem::weakly_canonical(std::filesystem::absolute(b, error), error);
}

// Parses the arguments of one command (the command's name first). Help ends
// the program; any other problem is a usage error.
// -h/--help alone: Qt's own --help-all says nothing about this program.
QCommandLineOption addHelp(CommandParser& parser) {
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  Cli::tr("Shows this help."));
    parser.addOption(help);
    return help;
}

// The one spelling of the output option, in every command.
QCommandLineOption outOption(const QString& description, const QString& valueName) {
    return QCommandLineOption(QStringList{QStringLiteral("o"), QStringLiteral("out")}, description,
                              valueName);
}

bool parseCommand(CommandParser& parser, const QStringList& args, const QString& command,
                  int& status) {
    const QCommandLineOption help = addHelp(parser);
    if (!parser.parse(args)) {
        status = usageError(parser.errorText().toStdString(), command.toStdString());
        return false;
    }
    if (parser.isSet(help))
        parser.showHelp(kExitOk);
    return true;
}

// A command that takes no file: parsed, and nothing after its name.
bool parseBareCommand(CommandParser& parser, const QStringList& args, const QString& command,
                      int& status) {
    if (!parseCommand(parser, args, command, status))
        return false;
    if (parser.positionalArguments().size() > 1) {
        status = usageError(
            Cli::tr("unexpected argument '%1'").arg(parser.positionalArguments()[1]).toStdString(),
            command.toStdString());
        return false;
    }
    return true;
}

std::optional<float> limitOption(const QCommandLineParser& parser, const QString& name, bool& ok) {
    if (!parser.isSet(name))
        return std::nullopt;
    bool number = false;
    const float value = parser.value(name).toFloat(&number);
    if (!number || !std::isfinite(value)) {
        usageError(
            Cli::tr("--%1 wants a number, not '%2'").arg(name, parser.value(name)).toStdString(),
            "info");
        ok = false;
        return std::nullopt;
    }
    return value;
}

// --time: how the CSV writes times.
QCommandLineOption csvTimeOption() {
    return QCommandLineOption(
        QStringLiteral("time"),
        Cli::tr("How the CSV writes times: local (the default), 2026-12-07 14:03:51 in "
                "local time with the UTC offset in a column of its own "
                "(number,time,utc_offset,value,unit,log), which spreadsheets read as "
                "a date and time; or iso, 2026-12-07T14:03:51+01:00 in one column "
                "(number,time,value,unit,log)."),
        QStringLiteral("FORMAT"), QStringLiteral("local"));
}

bool csvTimeValue(const QCommandLineParser& parser, const QString& command, CsvTime& time,
                  int& status) {
    const QString value = parser.value(QStringLiteral("time"));
    if (value == QLatin1String("local") || value == QLatin1String("iso")) {
        time = value == QLatin1String("iso") ? CsvTime::Iso : CsvTime::Local;
        return true;
    }
    status = usageError(Cli::tr("--time is local or iso, not '%1'").arg(value).toStdString(),
                        command.toStdString());
    return false;
}

// The one file a command works on.
bool oneFile(const QCommandLineParser& parser, const QString& command, std::string& file,
             int& status) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        status =
            usageError((files.isEmpty() ? Cli::tr("give the data file to read")
                                        : Cli::tr("give one data file, not %1").arg(files.size()))
                           .toStdString(),
                       command.toStdString());
        return false;
    }
    file = files.constFirst().toStdString();
    return true;
}

int convertCommand(const QStringList& args) {
    CommandParser parser;
    parser.setApplicationDescription(
        Cli::tr("Writes a data file as its text export (the default) or as CSV, onto\n"
                "the standard output or into OUT."));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 Cli::tr("CSV: number,time,utc_offset,value,unit,log. A "
                                         "data file does not keep the log mark: the log "
                                         "field is left empty."));
    const QCommandLineOption txt(QStringLiteral("txt"),
                                 Cli::tr("The text export, as Save writes it."));
    const QCommandLineOption out = outOption(Cli::tr("Write OUT (replaced whole) instead "
                                                     "of the standard output."),
                                             QStringLiteral("OUT"));
    parser.addOptions({csv, txt, out, csvTimeOption()});
    parser.addPositionalArgument(QStringLiteral("convert FILE.DovDat"),
                                 Cli::tr("The data file to convert (-: the standard "
                                         "input)."));
    int status = kExitOk;
    ConvertRequest request;
    if (!parseCommand(parser, args, QStringLiteral("convert"), status) ||
        !oneFile(parser, QStringLiteral("convert"), request.input, status) ||
        !csvTimeValue(parser, QStringLiteral("convert"), request.csvTime, status))
        return status;
    if (parser.isSet(csv) && parser.isSet(txt))
        return usageError(Cli::tr("give --csv or --txt, not both").toStdString(), "convert");
    request.csv = parser.isSet(csv);
    request.output = parser.value(out).toStdString();
    return runConvert(request);
}

int infoCommand(const QStringList& args) {
    CommandParser parser;
    parser.setApplicationDescription(
        Cli::tr("Shows how many samples a data file holds, the first and last time, the\n"
                "lowest and highest value, and how many samples lie above H or below L."));
    const QCommandLineOption high(QStringLiteral("high"), Cli::tr("Count the samples above H."),
                                  QStringLiteral("H"));
    const QCommandLineOption low(QStringLiteral("low"), Cli::tr("Count the samples below L."),
                                 QStringLiteral("L"));
    parser.addOptions({high, low});
    parser.addPositionalArgument(QStringLiteral("info FILE.DovDat"),
                                 Cli::tr("The data file to read (-: the standard input)."));
    int status = kExitOk;
    InfoRequest request;
    if (!parseCommand(parser, args, QStringLiteral("info"), status) ||
        !oneFile(parser, QStringLiteral("info"), request.input, status))
        return status;
    bool ok = true;
    request.high = limitOption(parser, QStringLiteral("high"), ok);
    request.low = limitOption(parser, QStringLiteral("low"), ok);
    return ok ? runInfo(request) : kExitUsage;
}

QCommandLineOption journalOption() {
    return QCommandLineOption(QStringLiteral("journal"),
                              Cli::tr("The recording journal (default: %1).")
                                  .arg(QString::fromStdString(defaultJournalPath().string())),
                              QStringLiteral("PATH"));
}

// The journal asked for, or the default one.
std::filesystem::path journalPath(const QCommandLineParser& parser,
                                  const QCommandLineOption& option) {
    return parser.isSet(option)
               ? std::filesystem::path(QFile::encodeName(parser.value(option)).toStdString())
               : defaultJournalPath();
}

int recoverCommand(const QStringList& args) {
    CommandParser parser;
    parser.setApplicationDescription(
        Cli::tr("Writes the recording the journal kept (after a crash, a kill or a power cut) as\n"
                "a data file and its text export, as Save does, then sets the journal aside under\n"
                "a dated name beside it. Every journal of the set (recording.journal,\n"
                "recording-2.journal, ... of runs at the same time) that keeps an unsaved\n"
                "recording is recovered, one after the other. Exits with 1 when there is nothing\n"
                "to recover or another process is recording with the journal."));
    const QCommandLineOption journal = journalOption();
    const QCommandLineOption out = outOption(dataFileHelp(), QStringLiteral("FILE.DovDat"));
    parser.addOptions({journal, out});
    parser.addPositionalArgument(QStringLiteral("recover"),
                                 Cli::tr("Recovers an unsaved recording."));
    int status = kExitOk;
    if (!parseBareCommand(parser, args, QStringLiteral("recover"), status))
        return status;
    if ((parser.isSet(out) && parser.value(out).isEmpty()) ||
        (parser.isSet(journal) && parser.value(journal).isEmpty()))
        return usageError(Cli::tr("--journal and -o want a file name").toStdString(), "recover");
    RecoverRequest request;
    request.journal = journalPath(parser, journal);
    if (request.journal.empty()) {
        printError(Cli::tr("no folder for the recording journal: set HOME or give --journal")
                       .toStdString());
        return kExitFailure;
    }
    request.dataFile = parser.value(out);
    return runRecoverAll(request);
}

// record's options; the limits' help names the window's current ones.
struct RecordOptions {
    const Configuration config;
    const QCommandLineOption device{QStringLiteral("device"),
                                    Cli::tr("The serial device (or pseudo-terminal) the "
                                            "instrument is on."),
                                    QStringLiteral("PATH")};
    const QCommandLineOption simulator{QStringLiteral("simulator"),
                                       Cli::tr("Record from a built-in simulated instrument.")};
    const QCommandLineOption interval{
        QStringLiteral("interval"),
        Cli::tr("auto (every reading, the default) or the latest reading once per "
                "interval: %1.")
            .arg(QString::fromStdString(sampleRateChoices())
                     .mid(5)
                     .replace(QLatin1Char('|'), QLatin1String(", "))),
        QStringLiteral("RATE")};
    const QCommandLineOption out = outOption(dataFileHelp(), QStringLiteral("FILE.DovDat"));
    const QCommandLineOption csv{QStringLiteral("csv"),
                                 Cli::tr("Also write every sample into FILE.csv as it "
                                         "comes."),
                                 QStringLiteral("FILE.csv")};
    const QCommandLineOption count{QStringLiteral("count"), Cli::tr("Stop after N samples."),
                                   QStringLiteral("N")};
    const QCommandLineOption duration{QStringLiteral("duration"),
                                      Cli::tr("Stop after this long, e.g. 90s, 2min, "
                                              "1h30m."),
                                      QStringLiteral("DURATION")};
    const QCommandLineOption split{
        QStringLiteral("split"),
        Cli::tr("At the data file's limit of 4000 samples, write it and go on into the "
                "next file: FILE.DovDat, FILE-2.DovDat, ... (or the time-stamped names); "
                "a name taken already is passed over.")};
    const QCommandLineOption quiet{
        QStringLiteral("quiet"),
        Cli::tr("No line per sample (nor a status line on a terminal); warnings, alarms "
                "and the end are still said on the standard error.")};
    const QCommandLineOption journal = journalOption();
    const QCommandLineOption high{QStringLiteral("high"),
                                  Cli::tr("The high alarm limit, in degrees of the "
                                          "readings (default: the window's, now %1).")
                                      .arg(config.alarmHigh()),
                                  QStringLiteral("H")};
    const QCommandLineOption low{QStringLiteral("low"),
                                 Cli::tr("The low alarm limit (default: the window's, "
                                         "now %1).")
                                     .arg(config.alarmLow()),
                                 QStringLiteral("L")};
    const QCommandLineOption deadband{
        QStringLiteral("deadband"),
        Cli::tr("How far back inside its limit a reading must be before an alarm ends, "
                "in degrees, so that a reading hovering at a limit does not chatter "
                "(default: the window's, now %1).")
            .arg(config.alarmDeadband()),
        QStringLiteral("D")};
    const QCommandLineOption onAlarm{
        QStringLiteral("on-alarm"),
        Cli::tr("Run CMD through /bin/sh on every change of the alarm state, with "
                "ORVANE_ALARM (high, low or normal), ORVANE_VALUE, ORVANE_UNIT, "
                "ORVANE_LIMIT, ORVANE_TIME and ORVANE_DEVICE set. Recording never "
                "waits for it. One command runs at a time: a change that comes while "
                "it runs waits for it, and a later change replaces the one waiting. "
                "At the end it has 5 s, then it and all it started are ended; of its "
                "output the last 4 KiB are shown when it fails."),
        QStringLiteral("CMD")};
    const QCommandLineOption mqtt{
        QStringLiteral("mqtt"),
        Cli::tr("Publish to this MQTT broker (QoS 1): mqtt://[USER@]HOST[:PORT]/TOPIC, "
                "mqtts:// for TLS (port 8883)."),
        QStringLiteral("URL")};
    const QCommandLineOption mqttUser{QStringLiteral("mqtt-user"),
                                      Cli::tr("The user name for the broker."),
                                      QStringLiteral("USER")};
    const QCommandLineOption mqttPassword{
        QStringLiteral("mqtt-password-file"),
        Cli::tr("Read the broker's password from the first line of FILE, a regular file "
                "only you can read (a password in the URL is seen by every user of this "
                "computer)."),
        QStringLiteral("FILE")};

    void addTo(CommandParser& parser) const {
        parser.setApplicationDescription(Cli::tr(
            "Records the instrument's readings until COUNT samples, the DURATION, the data\n"
            "file's limit of 4000 samples, Ctrl+C or SIGTERM, then writes the data file and\n"
            "its text export as Save does. Prints a line per sample (number, value, unit,\n"
            "time), or a status line on a terminal; neither with --quiet.\n"
            "With --split a full data file is written and the recording goes on into the\n"
            "next one. With --csv and neither --out nor --split only the CSV file is written,\n"
            "and the run goes on past 4000 samples.\n"
            "Exit status: 0 when it stopped as asked (COUNT, DURATION, Ctrl+C or SIGTERM),\n"
            "3 when it ended early (the limit without --split) or recorded nothing, 1 when a\n"
            "device or a file failed, 2 for a wrong command line.\n"
            "A file the disk does not take is kept in memory and written when there is room,\n"
            "tried every 10 s; a stopped run waits for it, and a second Ctrl+C ends it without.\n"
            "Prints an \"alarm:\" line (state, value, unit, limit, time) on the standard\n"
            "error whenever the readings go above the high limit, below the low limit, or\n"
            "back between them.\n"
            "With --mqtt every sample goes to the broker as JSON on TOPIC/reading, every\n"
            "change of the alarm state on TOPIC/alarm, and TOPIC/status says online,\n"
            "waiting (the line is lost) or offline; while the broker is away the readings\n"
            "wait (an hour of them and more) and follow in order when it is back. TOPIC/alarm\n"
            "is retained and holds the current state from the start. A broker that refuses\n"
            "the user name or password is not asked again; the exit status is then 1 when\n"
            "nothing was published."));
        parser.addOptions({device, simulator, interval, out, csv, csvTimeOption(), split, count,
                           duration, quiet, journal, high, low, deadband, onAlarm, mqtt, mqttUser,
                           mqttPassword});
        parser.addPositionalArgument(QStringLiteral("record"),
                                     Cli::tr("Records from the instrument."));
    }
};

// Each step of reading record's command line fills its part of the request and
// gives the exit status when the command ends there (a wrong command line).
using Ended = std::optional<int>;

Ended recordUsage(const QString& message) {
    return usageError(message.toStdString(), "record");
}

// Where the readings come from, how often, and for how long.
Ended readSource(const CommandParser& parser, const RecordOptions& o, RecordRequest& request) {
    if (parser.isSet(o.device) == parser.isSet(o.simulator))
        return recordUsage(Cli::tr("give --device PATH or --simulator"));
    if (parser.isSet(o.device) && parser.value(o.device).isEmpty())
        return recordUsage(Cli::tr("--device wants the path of a serial device"));
    request.device = parser.value(o.device);
    if (parser.isSet(o.interval)) {
        const auto rate = parseSampleRate(parser.value(o.interval).toStdString());
        if (!rate)
            return recordUsage(
                Cli::tr("--interval is one of %1, not '%2'")
                    .arg(QString::fromStdString(sampleRateChoices()), parser.value(o.interval)));
        request.sampleRate = *rate;
    }
    if (parser.isSet(o.count)) {
        const auto n = parsePositiveCount(parser.value(o.count).toStdString());
        if (!n)
            return recordUsage(Cli::tr("--count wants a whole number of at least 1, not '%1'")
                                   .arg(parser.value(o.count)));
        request.count = *n;
    }
    if (parser.isSet(o.duration)) {
        const auto seconds = parseDurationSeconds(parser.value(o.duration).toStdString());
        if (!seconds)
            return recordUsage(
                Cli::tr("--duration wants a time such as 90s, 2min or 1h30m, not '%1'")
                    .arg(parser.value(o.duration)));
        request.durationSeconds = *seconds;
    }
    return {};
}

// The files written: the data file, the CSV, the journal.
Ended readFiles(const CommandParser& parser, const RecordOptions& o, RecordRequest& request) {
    request.dataFile = parser.value(o.out);
    request.csvFile = parser.value(o.csv);
    if ((parser.isSet(o.out) && request.dataFile.isEmpty()) ||
        (parser.isSet(o.csv) && request.csvFile.isEmpty()))
        return recordUsage(Cli::tr("--out and --csv want a file name"));
    if (!request.csvFile.isEmpty() && !request.dataFile.isEmpty() &&
        sameFile(QFile::encodeName(request.csvFile).toStdString(),
                 QFile::encodeName(request.dataFile).toStdString()))
        return recordUsage(Cli::tr("--out and --csv name the same file"));
    request.split = parser.isSet(o.split);
    request.quiet = parser.isSet(o.quiet);
    request.writeDataFile = request.csvFile.isEmpty() || parser.isSet(o.out) || request.split;
    if (parser.isSet(o.journal) && parser.value(o.journal).isEmpty())
        return recordUsage(Cli::tr("--journal wants a file name"));
    request.journal = journalPath(parser, o.journal);
    request.journalNamed = parser.isSet(o.journal);
    return {};
}

// The alarm limits, their deadband and the command run on a change.
Ended readAlarms(const CommandParser& parser, const RecordOptions& o, RecordRequest& request) {
    request.alarmHigh = o.config.alarmHigh();
    request.alarmLow = o.config.alarmLow();
    for (const auto& [option, limit] :
         {std::pair{&o.high, &request.alarmHigh}, std::pair{&o.low, &request.alarmLow}}) {
        if (!parser.isSet(*option))
            continue;
        bool number = false;
        *limit = parser.value(*option).toInt(&number);
        if (!number)
            return recordUsage(Cli::tr("--%1 wants a whole number of degrees, not '%2'")
                                   .arg(option->names().constFirst(), parser.value(*option)));
    }
    if (request.alarmHigh < request.alarmLow)
        return recordUsage(Cli::tr("the high limit %1 is below the low limit %2 (--high and --low)")
                               .arg(request.alarmHigh)
                               .arg(request.alarmLow));
    request.alarmDeadband = o.config.alarmDeadband();
    if (parser.isSet(o.deadband)) {
        bool number = false;
        request.alarmDeadband = parser.value(o.deadband).toFloat(&number);
        if (!number || !std::isfinite(request.alarmDeadband) || request.alarmDeadband < 0.0f)
            return recordUsage(
                Cli::tr("--deadband wants a number of degrees of at least 0, not '%1'")
                    .arg(parser.value(o.deadband)));
    }
    request.onAlarm = parser.value(o.onAlarm);
    if (parser.isSet(o.onAlarm) && request.onAlarm.trimmed().isEmpty())
        return recordUsage(Cli::tr("--on-alarm wants a command"));
    return {};
}

// The broker to publish to, if any, with its password.
Ended readBroker(const CommandParser& parser, const RecordOptions& o,
                 std::optional<BrokerUrl>& broker) {
    if (!parser.isSet(o.mqtt) && (parser.isSet(o.mqttUser) || parser.isSet(o.mqttPassword)))
        return recordUsage(Cli::tr("--mqtt-user and --mqtt-password-file go with --mqtt"));
    if (!parser.isSet(o.mqtt))
        return {};
    if (const Result<BrokerUrl> url = parseBrokerUrl(parser.value(o.mqtt).toStdString()); !url)
        return recordUsage(QString::fromStdString(url.error()));
    std::optional<std::string> password;
    if (parser.isSet(o.mqttPassword)) {
        const QString path = parser.value(o.mqttPassword);
        const Result<PasswordFile> file = readPasswordFile(QFile::encodeName(path).constData());
        if (!file) {
            printError(file.error());
            return kExitFailure;
        }
        if (file->othersMayRead)
            printWarning(Cli::tr("other users of this computer may read the password file %1 "
                                 "(chmod 600 keeps it yours)")
                             .arg(path)
                             .toStdString());
        password = file->password;
    }
    Result<BrokerUrl> url =
        brokerFromOptions(parser.value(o.mqtt), parser.value(o.mqttUser), password);
    if (!url)
        return recordUsage(QString::fromStdString(url.error()));
    if (!url->password.empty() && !parser.isSet(o.mqttPassword))
        printWarning(Cli::tr("the password in the URL is seen by every user of this computer; "
                             "--mqtt-password-file keeps it out of sight")
                         .toStdString());
    broker = std::move(*url);
    return {};
}

// Records as asked until the session ends; its exit status.
int runRecording(RecordRequest request, std::optional<BrokerUrl> broker, bool simulated) {
    StopSignals stopSignals;
    if (!stopSignals.install()) {
        printError(Cli::tr("cannot catch Ctrl+C: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)))
                       .toStdString());
        return kExitFailure;
    }
    PtyInstrument instrument(PtyInstrument::builtInOptions());
    if (simulated) {
        if (const Result<void, QString> started = instrument.start(); !started) {
            printError(Cli::tr("the simulated instrument could not start: %1")
                           .arg(started.error())
                           .toStdString());
            return kExitFailure;
        }
        request.device = instrument.slavePath();
        request.deviceName = QStringLiteral("simulator");
    }
    RecordSession session(request);
    std::unique_ptr<RecordPublisher> publisher;
    if (broker)
        publisher = std::make_unique<RecordPublisher>(std::move(*broker), session);
    if (!session.start())
        return kExitFailure;
    if (publisher)
        publisher->start();
    QObject::connect(&stopSignals, &StopSignals::stopAsked, &session,
                     [&session] { session.stop(); });
    QObject::connect(&instrument, &PtyInstrument::failed, &session, [&session](const QString& why) {
        printError(why.toStdString());
        session.stop(true);
    });
    QObject::connect(&session, &RecordSession::finished, QCoreApplication::instance(),
                     &QCoreApplication::exit, Qt::QueuedConnection);
    const int exitStatus = QCoreApplication::exec();
    if (publisher && !publisher->stop() && exitStatus == kExitOk)
        return kExitFailure;
    return exitStatus;
}

int recordCommand(const QStringList& args) {
    CommandParser parser;
    const RecordOptions options;
    options.addTo(parser);
    int status = kExitOk;
    RecordRequest request;
    if (!parseBareCommand(parser, args, QStringLiteral("record"), status) ||
        !csvTimeValue(parser, QStringLiteral("record"), request.csvTime, status))
        return status;
    // One step after the other: the first wrong option ends the command.
    std::optional<BrokerUrl> broker;
    Ended ended = readSource(parser, options, request);
    if (!ended)
        ended = readFiles(parser, options, request);
    if (!ended)
        ended = readAlarms(parser, options, request);
    if (!ended)
        ended = readBroker(parser, options, broker);
    if (ended)
        return *ended;
    return runRecording(std::move(request), std::move(broker), parser.isSet(options.simulator));
}

int statsCommand(const QStringList& args) {
    CommandParser parser;
    const Configuration config;
    parser.setApplicationDescription(Cli::tr(
        "The statistics of recordings over a period: how many samples, the first and last\n"
        "time, the lowest and highest value with their times, the mean, the standard\n"
        "deviation, samples without a value, gaps, the time above the high limit and below\n"
        "the low one, and every alarm episode. The files of a chain, several runs, CSV\n"
        "files and folders are taken together, ordered by time. Each sample counts as\n"
        "holding until the next one, never across a gap (longer than 10 s and ten times\n"
        "the usual interval) or past a sample without a value; the last one of the\n"
        "period holds nothing. Times are ISO 8601 with the offset from UTC."));
    const QCommandLineOption from(QStringList{QStringLiteral("from")},
                                  Cli::tr("Only samples at or after TIME "
                                          "(2026-12-07T22:00, local time unless an "
                                          "offset follows)."),
                                  QStringLiteral("TIME"));
    const QCommandLineOption to(QStringLiteral("to"), Cli::tr("Only samples at or before TIME."),
                                QStringLiteral("TIME"));
    const QCommandLineOption high(
        QStringLiteral("high"),
        Cli::tr("The high limit (default: the window's, now %1).").arg(config.alarmHigh()),
        QStringLiteral("H"));
    const QCommandLineOption low(
        QStringLiteral("low"),
        Cli::tr("The low limit (default: the window's, now %1).").arg(config.alarmLow()),
        QStringLiteral("L"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  Cli::tr("JSON for scripts, with the keys samples, first, "
                                          "last, unit, min, min_time, max, max_time, mean, "
                                          "stddev, no_value, gaps, above_seconds, "
                                          "below_seconds and episodes (a list of start, "
                                          "end, limit and extreme)."));
    parser.addOptions({from, to, high, low, json});
    parser.addPositionalArgument(QStringLiteral("stats FILE..."),
                                 Cli::tr("Data files, CSV files or folders of them."));
    int status = kExitOk;
    if (!parseCommand(parser, args, QStringLiteral("stats"), status))
        return status;
    StatsRequest request;
    for (const QString& name : parser.positionalArguments())
        request.inputs.push_back(QFile::encodeName(name).toStdString());
    if (request.inputs.empty())
        return usageError(Cli::tr("give the recordings to read").toStdString(), "stats");
    for (const auto& [option, time] :
         {std::pair{&from, &request.fromMs}, std::pair{&to, &request.toMs}}) {
        if (!parser.isSet(*option))
            continue;
        *time = parseUserTime(parser.value(*option).toStdString());
        if (!*time)
            return usageError(Cli::tr("--%1 wants a time such as 2026-12-07T22:00, not '%2'")
                                  .arg(option->names().constFirst(), parser.value(*option))
                                  .toStdString(),
                              "stats");
    }
    bool ok = true;
    const std::optional<float> h = limitOption(parser, QStringLiteral("high"), ok);
    const std::optional<float> l = limitOption(parser, QStringLiteral("low"), ok);
    if (!ok)
        return kExitUsage;
    request.limits.high = h ? double(*h) : double(config.alarmHigh());
    request.limits.low = l ? double(*l) : double(config.alarmLow());
    if (*request.limits.high < *request.limits.low)
        return usageError(Cli::tr("the high limit is below the low limit").toStdString(), "stats");
    request.json = parser.isSet(json);
    return runStats(request);
}

int portsCommand(const QStringList& args) {
    CommandParser parser;
    parser.setApplicationDescription(
        Cli::tr("Lists the serial devices on this computer with the COM number the window's\n"
                "Select COM reaches each one by (the [COMDevices] section of its configuration\n"
                "file may give more). record takes the device's path with --device."));
    parser.addPositionalArgument(QStringLiteral("ports"), Cli::tr("Lists the serial devices."));
    int status = kExitOk;
    if (!parseBareCommand(parser, args, QStringLiteral("ports"), status))
        return status;
    const Configuration config;
    std::printf("%s\n", deviceListText(presentSerialDevices(config.profile())).c_str());
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    // A reader that goes away (| head) ends the printing, not the program: a
    // recording goes on into its files, and a failed write says so.
    std::signal(SIGPIPE, SIG_IGN);
    // Nothing here needs GLib's event loop; Qt's own does less on every wake-up.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    installTranslations(app);

    CommandParser parser;
    parser.setApplicationDescription(description());
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help = addHelp(parser);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 Cli::tr("record, recover, convert, info, stats or ports."),
                                 QStringLiteral("COMMAND [options]"));
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText().toStdString());
    if (parser.isSet(version))
        parser.showVersion();
    const QStringList rest = parser.positionalArguments();
    if (parser.isSet(help) || rest.isEmpty()) {
        if (parser.isSet(help))
            parser.showHelp(kExitOk);
        return usageError(Cli::tr("give a command: record, recover, convert, info, stats or ports")
                              .toStdString());
    }

    const QString command = rest.constFirst();
    if (command == QLatin1String("record"))
        return recordCommand(rest);
    if (command == QLatin1String("recover"))
        return recoverCommand(rest);
    if (command == QLatin1String("convert"))
        return convertCommand(rest);
    if (command == QLatin1String("info"))
        return infoCommand(rest);
    if (command == QLatin1String("ports"))
        return portsCommand(rest);
    if (command == QLatin1String("stats"))
        return statsCommand(rest);
    return usageError(
        Cli::tr("unknown command '%1' (record, recover, convert, info, stats or ports)")
            .arg(command)
            .toStdString());
}
