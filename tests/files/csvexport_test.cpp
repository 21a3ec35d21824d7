#include "core/files/csvexport.h"
#include "core/files/dovdatcontents.h"
#include "core/files/seriessummary.h"
#include "support/zoneguard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

constexpr std::int64_t kWinter = 1796648631; // 7 December 2026, 13:03:51 UTC
constexpr std::int64_t kSummer = 1783429200; // 7 July 2026, 13:00:00 UTC

TEST(CsvExport, LocalTimeCarriesItsOffsetFromUtc) {
    const struct {
        const char* zone;
        std::int64_t time;
        const char* iso;
        const char* local;
        const char* offset;
    } rows[] = {
        {"UTC", kWinter, "2026-12-07T13:03:51+00:00", "2026-12-07 13:03:51", "+00:00"},
        {"Europe/Berlin", kWinter, "2026-12-07T14:03:51+01:00", "2026-12-07 14:03:51", "+01:00"},
        {"Europe/Berlin", kSummer, "2026-07-07T15:00:00+02:00", "2026-07-07 15:00:00", "+02:00"},
        {"America/New_York", kWinter, "2026-12-07T08:03:51-05:00", "2026-12-07 08:03:51", "-05:00"},
        {"Asia/Kolkata", kWinter, "2026-12-07T18:33:51+05:30", "2026-12-07 18:33:51", "+05:30"},
        {"America/St_Johns", kWinter, "2026-12-07T09:33:51-03:30", "2026-12-07 09:33:51", "-03:30"},
    };
    for (const auto& row : rows) {
        const ZoneGuard zone(row.zone);
        EXPECT_EQ(isoLocalTime(row.time), row.iso) << row.zone;
        EXPECT_EQ(localDateTime(row.time), row.local) << row.zone;
        EXPECT_EQ(utcOffsetText(row.time), row.offset) << row.zone;
    }
}

TEST(CsvExport, TextFieldsAreQuotedOnlyWhereNeededAndNeverReadAsFormulas) {
    constexpr CsvSeparator kComma = CsvSeparator::Comma;
    constexpr CsvSeparator kSemicolon = CsvSeparator::Semicolon;
    const struct {
        const char* text;
        CsvSeparator separator;
        const char* expected;
    } rows[] = {
        {"C", kComma, "C"},
        {"", kComma, ""},
        {"a,b", kComma, "\"a,b\""},
        {"a,b", kSemicolon, "a,b"},
        {"a;b", kComma, "a;b"},
        {"a;b", kSemicolon, "\"a;b\""},
        {"say \"hi\"", kSemicolon, "\"say \"\"hi\"\"\""},
        {"two\r\nlines", kComma, "\"two\r\nlines\""},
        {"=1+2", kComma, "'=1+2"},
        {"+x", kSemicolon, "'+x"},
        {"-x", kComma, "'-x"},
        {"@SUM(A1)", kComma, "'@SUM(A1)"},
        {"=a,b", kComma, "\"'=a,b\""},
        {"\tx", kComma, "'\tx"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(csvTextField(row.text, row.separator), row.expected) << row.text;
}

TEST(CsvExport, RecordsInEveryStyle) {
    const ZoneGuard zone("Europe/Berlin");
    constexpr CsvStyle kComma{};
    constexpr CsvStyle kSemicolon{CsvSeparator::Semicolon, CsvTime::Local};
    constexpr CsvStyle kIso{CsvSeparator::Comma, CsvTime::Iso};
    EXPECT_EQ(csvHeader(), "number,time,utc_offset,value,unit,log\r\n");
    EXPECT_EQ(csvHeader(kSemicolon), "number;time;utc_offset;value;unit;log\r\n");
    EXPECT_EQ(csvHeader(kIso), "number,time,value,unit,log\r\n");
    const struct {
        CsvSample sample;
        CsvStyle style;
        const char* expected;
    } rows[] = {
        {{1, kWinter, "", 25.3f, "C", false}, kComma, "1,2026-12-07 14:03:51,+01:00,25.3,C,0\r\n"},
        {{1, kWinter, "", 25.3f, "C", false},
         kSemicolon,
         "1;2026-12-07 14:03:51;+01:00;25,3;C;0\r\n"},
        {{1, kWinter, "", 25.3f, "C", false}, kIso, "1,2026-12-07T14:03:51+01:00,25.3,C,0\r\n"},
        // Milliseconds where the time has them.
        {{1, kWinter, "", 25.3f, "C", false, 250},
         kComma,
         "1,2026-12-07 14:03:51.250,+01:00,25.3,C,0\r\n"},
        {{1, kWinter, "", 25.3f, "C", false, 7},
         kIso,
         "1,2026-12-07T14:03:51.007+01:00,25.3,C,0\r\n"},
        {{2, kWinter, "", -58.0f, "F", true},
         kSemicolon,
         "2;2026-12-07 14:03:51;+01:00;-58,0;F;1\r\n"},
        {{3, kWinter, "", 2999.9f, "C", false},
         kComma,
         "3,2026-12-07 14:03:51,+01:00,2999.9,C,0\r\n"},
        // No value: an empty field in every style.
        {{4, kWinter, "", 3000.0f, "C", true}, kComma, "4,2026-12-07 14:03:51,+01:00,,C,1\r\n"},
        {{4, kWinter, "", 3000.0f, "C", true}, kSemicolon, "4;2026-12-07 14:03:51;+01:00;;C;1\r\n"},
        {{5, kWinter, "", 1.0e30f, "C", false}, kIso, "5,2026-12-07T14:03:51+01:00,,C,0\r\n"},
        {{4000, kWinter, "", 0.04f, "C", false},
         kComma,
         "4000,2026-12-07 14:03:51,+01:00,0.0,C,0\r\n"},
        // A time text that is no calendar time stays as it was written, with
        // no offset.
        {{6, std::nullopt, "soon, maybe", 1.0f, "C", false},
         kComma,
         "6,\"soon, maybe\",,1.0,C,0\r\n"},
        {{6, std::nullopt, "soon, maybe", 1.0f, "C", false},
         kSemicolon,
         "6;soon, maybe;;1,0;C;0\r\n"},
        {{6, std::nullopt, "soon; maybe", 1.0f, "C", false}, kIso, "6,soon; maybe,1.0,C,0\r\n"},
        {{7, std::nullopt, "", 1.0f, "=C", false}, kComma, "7,,,1.0,'=C,0\r\n"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(csvLine(row.sample, row.style), row.expected) << row.sample.number;
    EXPECT_EQ(csvSeparatorFor(','), CsvSeparator::Semicolon);
    EXPECT_EQ(csvSeparatorFor('.'), CsvSeparator::Comma);
}

TEST(SeriesSummary, CountsExtremesAndSamplesBeyondTheLimits) {
    const DovDatContents series{
        {20.0f, 3000.0f, 35.5f, 12.0f, 35.5f, 12.0f, 25.0f},
        {"C", "C", "C", "F", "C", "C", "C"},
        {"12-07-26/14:00:00", "b", "c", "d", "e", "f", "12-07-26/14:00:06"}};
    const SeriesSummary s = summarizeSeries(series, 25.0f, 12.0f);
    EXPECT_EQ(s.count, 7);
    EXPECT_EQ(s.noValueCount, 1);
    EXPECT_EQ(s.firstTime, "12-07-26/14:00:00");
    EXPECT_EQ(s.lastTime, "12-07-26/14:00:06");
    EXPECT_EQ(s.units, (std::vector<std::string>{"C", "F"}));
    ASSERT_TRUE(s.minimum && s.maximum);
    // The first of equal extremes; the no-value mark is no maximum.
    EXPECT_EQ(s.minimum->index, 3);
    EXPECT_EQ(s.maximum->index, 2);
    EXPECT_FLOAT_EQ(s.maximum->value, 35.5f);
    // Strictly beyond: 25.0 and 12.0 lie on the limits.
    EXPECT_EQ(s.aboveHigh, 2);
    EXPECT_EQ(s.belowLow, 0);

    const SeriesSummary noLimits = summarizeSeries(series, std::nullopt, std::nullopt);
    EXPECT_EQ(noLimits.aboveHigh, 0);
    EXPECT_EQ(noLimits.belowLow, 0);

    const SeriesSummary empty = summarizeSeries({}, 1.0f, 0.0f);
    EXPECT_EQ(empty.count, 0);
    EXPECT_FALSE(empty.minimum || empty.maximum);
    EXPECT_TRUE(empty.firstTime.empty());

    const SeriesSummary allMissing = summarizeSeries({{3000.0f}, {"C"}, {"t"}}, 0.0f, 0.0f);
    EXPECT_EQ(allMissing.noValueCount, 1);
    EXPECT_FALSE(allMissing.minimum || allMissing.maximum);
}

} // namespace
