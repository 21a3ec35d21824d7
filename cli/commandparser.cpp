#include "cli/commandparser.h"

#include "cli/clitext.h"
#include "cli/helplayout.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

QString CommandParser::helpText() const {
    HelpSection options{Cli::tr("Options:").toStdString(), {}};
    for (const QCommandLineOption& option : m_options) {
        if (option.flags() & QCommandLineOption::HiddenFromHelp)
            continue;
        QStringList names;
        for (const QString& name : option.names())
            names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
        QString text = names.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            text += QStringLiteral(" <%1>").arg(option.valueName());
        options.entries.push_back({text.toStdString(), option.description().toStdString()});
    }
    HelpSection arguments{Cli::tr("Arguments:").toStdString(), {}};
    for (const auto& [name, description] : m_arguments)
        arguments.entries.push_back({name.toStdString(), description.toStdString()});
    const QString usage =
        Cli::tr("Usage: %1 [options] %2")
            .arg(QCoreApplication::applicationName(), m_syntax.join(QLatin1Char(' ')));
    return QString::fromStdString(
        ::helpText(usage.toStdString(), m_description.toStdString(), {options, arguments}));
}

void CommandParser::showHelp(int status) const {
    std::fputs(helpText().toUtf8().constData(), stdout);
    std::fflush(stdout);
    std::exit(status);
}
