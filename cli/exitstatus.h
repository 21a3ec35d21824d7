#pragma once

#include "cli/clitext.h"

#include <cstdio>
#include <string>

// What orvane-cli's exit status says.
enum ExitStatus : int {
    kExitOk = 0,
    kExitFailure = 1, // a device or a file failed
    kExitUsage = 2,   // the command line was wrong
    // A recording ended before it was asked to (a full store without
    // --split) or recorded nothing.
    kExitEndedEarly = 3,
};

// An error on the standard error, as "orvane-cli: <message>".
inline void printError(const std::string& message) {
    std::fprintf(stderr, "orvane-cli: %s\n", message.c_str());
}

// Something the user should know that does not stop the run, as
// "warning: <message>".
inline void printWarning(const std::string& message) {
    std::fprintf(stderr, "warning: %s\n", message.c_str());
}

// A wrong command line: says what is wrong and where help is; the exit status.
inline int usageError(const std::string& message, const std::string& command = {}) {
    printError(message);
    std::fprintf(
        stderr, "%s\n",
        qPrintable(Cli::tr("Try '%1'.")
                       .arg(QString::fromStdString(
                           "orvane-cli " + (command.empty() ? "" : command + " ") + "--help"))));
    return kExitUsage;
}
