// orvane-cli: records, converts and summarises thermometer readings without a
// window.

#include "cli/exitstatus.h"
#include "cli/filecommands.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cmath>

namespace {

const QString kDescription =
    QStringLiteral("Records, converts and summarises readings of the Orvane infrared thermometer\n"
                   "without a window.\n"
                   "\n"
                   "Commands:\n"
                   "  record   Record from a serial device (or the built-in simulated instrument)\n"
                   "           into a data file, its text export and, if asked, a CSV file.\n"
                   "  convert  Write a data file as its text export or as CSV.\n"
                   "  info     Show what a data file holds.\n"
                   "\n"
                   "Type 'orvane-cli COMMAND --help' for the options of a command.");

// Parses the arguments of one command (the command's name first). Help ends
// the program; any other problem is a usage error.
bool parseCommand(QCommandLineParser& parser, const QStringList& args, const QString& command,
                  int& status) {
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(args)) {
        status = usageError(parser.errorText().toStdString(), command.toStdString());
        return false;
    }
    if (parser.isSet(help))
        parser.showHelp(kExitOk);
    return true;
}

std::optional<float> limitOption(const QCommandLineParser& parser, const QString& name, bool& ok) {
    if (!parser.isSet(name))
        return std::nullopt;
    bool number = false;
    const float value = parser.value(name).toFloat(&number);
    if (!number || !std::isfinite(value)) {
        usageError(QStringLiteral("--%1 wants a number, not '%2'")
                       .arg(name, parser.value(name))
                       .toStdString(),
                   "info");
        ok = false;
        return std::nullopt;
    }
    return value;
}

// The one file a command works on.
bool oneFile(const QCommandLineParser& parser, const QString& command, std::string& file,
             int& status) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        status =
            usageError(files.isEmpty() ? "give the data file to read"
                                       : "give one data file, not " + std::to_string(files.size()),
                       command.toStdString());
        return false;
    }
    file = files.constFirst().toStdString();
    return true;
}

int convertCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a data file as its text export (the default) or as CSV, onto\n"
                       "the standard output or into OUT."));
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("CSV: number,time,value,unit,log."));
    const QCommandLineOption txt(QStringLiteral("txt"),
                                 QStringLiteral("The text export, as Save writes it."));
    const QCommandLineOption out(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                 QStringLiteral("Write OUT (replaced whole) instead of the "
                                                "standard output."),
                                 QStringLiteral("OUT"));
    parser.addOptions({csv, txt, out});
    parser.addPositionalArgument(QStringLiteral("convert FILE.DovDat"),
                                 QStringLiteral("The data file to convert."));
    int status = kExitOk;
    ConvertRequest request;
    if (!parseCommand(parser, args, QStringLiteral("convert"), status) ||
        !oneFile(parser, QStringLiteral("convert"), request.input, status))
        return status;
    if (parser.isSet(csv) && parser.isSet(txt))
        return usageError("give --csv or --txt, not both", "convert");
    request.csv = parser.isSet(csv);
    request.output = parser.value(out).toStdString();
    return runConvert(request);
}

int infoCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows how many samples a data file holds, the first and last time, the\n"
                       "lowest and highest value, and how many samples lie above H or below L."));
    const QCommandLineOption high(
        QStringLiteral("high"), QStringLiteral("Count the samples above H."), QStringLiteral("H"));
    const QCommandLineOption low(QStringLiteral("low"),
                                 QStringLiteral("Count the samples below L."), QStringLiteral("L"));
    parser.addOptions({high, low});
    parser.addPositionalArgument(QStringLiteral("info FILE.DovDat"),
                                 QStringLiteral("The data file to read."));
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

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("record, convert or info."),
                                 QStringLiteral("COMMAND [options]"));
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText().toStdString());
    if (parser.isSet(version))
        parser.showVersion();
    const QStringList rest = parser.positionalArguments();
    if (parser.isSet(help) || rest.isEmpty()) {
        if (parser.isSet(help))
            parser.showHelp(kExitOk);
        return usageError("give a command: record, convert or info");
    }

    const QString command = rest.constFirst();
    if (command == QLatin1String("convert"))
        return convertCommand(rest);
    if (command == QLatin1String("info"))
        return infoCommand(rest);
    return usageError("unknown command '" + command.toStdString() + "' (record, convert or info)");
}
