#pragma once

#include <QCommandLineParser>
#include <QList>
#include <QString>

#include <utility>

// QCommandLineParser that keeps the options and arguments it is given, for a
// help laid out at word boundaries: Qt's own breaks an argument's name that is
// wider than the option names ("FILE.Dov" / "Dat").
class CommandParser : public QCommandLineParser {
public:
    void setApplicationDescription(const QString& description) {
        m_description = description;
        QCommandLineParser::setApplicationDescription(description);
    }
    bool addOption(const QCommandLineOption& option) {
        m_options.append(option);
        return QCommandLineParser::addOption(option);
    }
    bool addOptions(const QList<QCommandLineOption>& options) {
        m_options.append(options);
        return QCommandLineParser::addOptions(options);
    }
    QCommandLineOption addVersionOption() {
        const QCommandLineOption version = QCommandLineParser::addVersionOption();
        m_options.append(version);
        return version;
    }
    void addPositionalArgument(const QString& name, const QString& description,
                               const QString& syntax = QString()) {
        m_arguments.append({name, description});
        m_syntax.append(syntax.isEmpty() ? name : syntax);
        QCommandLineParser::addPositionalArgument(name, description, syntax);
    }

    // The help of this command: "Usage: orvane-cli [options] ARGUMENTS", the
    // description, the options and the arguments.
    QString helpText() const;
    // Prints the help and ends the program with `status`.
    [[noreturn]] void showHelp(int status = 0) const;

private:
    QString m_description;
    QList<QCommandLineOption> m_options;
    QList<std::pair<QString, QString>> m_arguments;
    QStringList m_syntax;
};
