#pragma once

#include <QCoreApplication>
#include <QString>

#include <string>

// orvane-cli's texts in the user's language, as Cli::tr("..."), which lupdate
// finds. The lines that programs read (a sample, "alarm:", the "warning:" and
// "orvane-cli:" prefixes) are never translated.
struct Cli {
    Q_DECLARE_TR_FUNCTIONS(Cli)
};

// "cannot write FILE: why", the most common of the errors.
inline std::string cannotWrite(const std::string& what, const std::string& why) {
    return Cli::tr("cannot write %1: %2")
        .arg(QString::fromStdString(what), QString::fromStdString(why))
        .toStdString();
}
