#include "core/files/savefilenames.h"
#include "core/files/textexport.h"
#include "core/store/samplestore.h"
#include "core/text/valuetext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

constexpr std::int64_t kReadTime = 1796549871; // 6 December 2026, 09:37:51 UTC

std::string sp(std::size_t n) {
    return std::string(n, ' ');
}

// Runs in a fixed time zone and restores the previous one afterwards.
class TextExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("TZ"))
            m_savedZone = old;
        m_hadZone = std::getenv("TZ") != nullptr;
        useZone("UTC");
    }
    void TearDown() override {
        if (m_hadZone)
            setenv("TZ", m_savedZone.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    static void useZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

private:
    std::string m_savedZone;
    bool m_hadZone = false;
};

TEST(ValueText, OneDecimalOrDashesForNoValue) {
    EXPECT_EQ(valueText(25.3f), "25.3");
    EXPECT_EQ(valueText(-58.0f), "-58.0");
    EXPECT_EQ(valueText(2999.9f), "2999.9");
    EXPECT_EQ(valueText(3000.0f), "----");
    EXPECT_EQ(valueText(1.0e30f), "----");
    EXPECT_EQ(valueText(-3.0e38f).size(), 42u); // all digits of a very negative value
}

TEST_F(TextExportTest, HeaderIs61CharactersWithTheTitlesInTheirColumns) {
    const std::string header = textExportHeader();
    ASSERT_EQ(header.size(), 63u);
    EXPECT_EQ(header.substr(59), "  \r\n");
    EXPECT_EQ(header.find("NO"), 6u);
    EXPECT_EQ(header.find("DATA"), 22u);
    EXPECT_EQ(header.find("UNIT"), 40u);
    EXPECT_EQ(header.find("TIME"), 55u);
}

TEST_F(TextExportTest, RowsAreAlignedInFixedColumns) {
    const std::string end = sp(11) + "12-06-26/09:37:51" + sp(2) + "\r\n";
    const struct {
        int number;
        float value;
        const char* unit;
        std::string line;
    } rows[] = {
        {1, 25.3f, "C", sp(6) + "1" + sp(15) + "25.3" + sp(17) + "C" + end},
        {2, 1922.0f, "F", sp(6) + "2" + sp(13) + "1922.0" + sp(17) + "F" + end},
        {3, -58.0f, "C", sp(6) + "3" + sp(14) + "-58.0" + sp(17) + "C" + end},
        {4, 3000.0f, "C", sp(6) + "4" + sp(15) + "----" + sp(17) + "C" + end},
        {4000, 0.0f, "F", sp(3) + "4000" + sp(16) + "0.0" + sp(17) + "F" + end},
    };
    for (const auto& row : rows)
        EXPECT_EQ(textExportLine(row.number, row.value, row.unit, kReadTime), row.line);
}

TEST_F(TextExportTest, WholeExportIsHeaderThenOneLinePerSample) {
    const std::vector<float> values = {25.3f, 3000.0f};
    const std::vector<std::string> units = {"C", "F"};
    const std::vector<std::int64_t> times = {kReadTime, kReadTime + 2};
    EXPECT_EQ(*textExport(values, units, times),
              textExportHeader() + textExportLine(1, 25.3f, "C", kReadTime) +
                  textExportLine(2, 3000.0f, "F", kReadTime + 2));
    EXPECT_EQ(*textExport({}, {}, {}), textExportHeader());
    EXPECT_FALSE(textExport(values, units, std::span(times).first(1)));
}

TEST_F(TextExportTest, TimesAndSaveNamesUseLocalTime) {
    EXPECT_EQ(formatTimeText(4102444800), "01-01-00/00:00:00"); // 2100, past 32-bit time
    const SaveFileNames names = saveFileNames(kReadTime + 300);
    EXPECT_EQ(names.dataFile, "26-12-06 09.42.51.DovDat");
    EXPECT_EQ(names.textFile, "26-12-06 09.42.51 .txt");
    useZone("XYZ-2"); // two hours east of UTC
    EXPECT_EQ(formatTimeText(kReadTime), "12-06-26/11:37:51");
    EXPECT_EQ(saveFileNames(kReadTime).dataFile, "26-12-06 11.37.51.DovDat");
}

} // namespace
