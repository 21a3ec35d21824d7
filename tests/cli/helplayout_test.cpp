#include "cli/helplayout.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpLayout, WrapsAtSpacesAndKeepsNamesWhole) {
    // An argument wider than every option keeps its name whole and widens the
    // column; descriptions wrap at spaces.
    const std::string help =
        helpText("Usage: orvane-cli [options] convert FILE.DovDat", "Writes a data file.",
                 {{"Options:", {{"--low <L>", "Count the samples below L."}}},
                  {"Arguments:",
                   {{"convert FILE.DovDat", "Die Datei, aus der gelesen wird (-: die "
                                            "Standardeingabe), über mehrere Zeilen."}}}},
                 60);
    EXPECT_EQ(help, "Usage: orvane-cli [options] convert FILE.DovDat\n"
                    "Writes a data file.\n"
                    "\n"
                    "Options:\n"
                    "  --low <L>            Count the samples below L.\n"
                    "\n"
                    "Arguments:\n"
                    "  convert FILE.DovDat  Die Datei, aus der gelesen wird (-:\n"
                    "                       die Standardeingabe), über mehrere\n"
                    "                       Zeilen.\n");
    // A name past the widest column puts its description below; a word wider
    // than the line stands alone, unbroken; lines that fit keep their layout;
    // columns count characters, not bytes.
    EXPECT_EQ(helpText("Usage: p", "", {{"Options:", {{std::string(40, 'n'), "d"}}}}, 60),
              "Usage: p\n\nOptions:\n  " + std::string(40, 'n') + "\n" + std::string(32, ' ') +
                  "d\n");
    EXPECT_EQ(wrapWords("  a  b\nshort " + std::string(12, 'x') + " y\näöü äöü", 10),
              "  a  b\nshort\n" + std::string(12, 'x') + "\ny\näöü äöü\n");
}

} // namespace
