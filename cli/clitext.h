#pragma once

#include <QCoreApplication>

// orvane-cli's texts in the user's language, as Cli::tr("..."), which lupdate
// finds. The lines that programs read (a sample, "alarm:", the "warning:" and
// "orvane-cli:" prefixes) are never translated.
struct Cli {
    Q_DECLARE_TR_FUNCTIONS(Cli)
};
