#include "core/files/dovdatcodec.h"
#include "core/text/valuetext.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// The three-sample recording laid out by hand: count, three floats (25.3, -58.0,
// 3000.0), three unit letters and three time texts, each after its length byte.
Bytes threeSampleFile() {
    return cat({0x03, 0x00, 0x00, 0x00, 0x66, 0x66, 0xCA, 0x41, 0x00, 0x00, 0x68,
                0xC2, 0x00, 0x80, 0x3B, 0x45, 0x01, 'C',  0x01, 'F',  0x01, 'C'},
               text("\x11"
                    "12-06-26/09:37:51\x11"
                    "12-06-26/09:37:53\x11"
                    "12-06-26/09:37:55"));
}

DovDatContents threeSamples() {
    return {{25.3f, -58.0f, 3000.0f},
            {"C", "F", "C"},
            {"12-06-26/09:37:51", "12-06-26/09:37:53", "12-06-26/09:37:55"}};
}

DovDatContents series(int n) {
    DovDatContents c;
    for (int i = 0; i < n; ++i) {
        c.values.push_back(i % 7 == 0 ? 3000.0f : -60.0f + 0.1f * static_cast<float>(i));
        c.units.push_back(i % 2 ? "F" : "C");
        c.times.push_back("01-02-27/03:04:" + std::to_string(10 + i % 50));
    }
    return c;
}

void expectSame(const DovDatContents& got, const DovDatContents& want) {
    ASSERT_EQ(got.values.size(), want.values.size());
    for (std::size_t i = 0; i < want.values.size(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint32_t>(got.values[i]),
                  std::bit_cast<std::uint32_t>(want.values[i]));
    EXPECT_EQ(got.units, want.units);
    EXPECT_EQ(got.times, want.times);
}

TEST(DovDatCodec, ThreeSamplesAreThe76BytesOfTheLayout) {
    EXPECT_EQ(*encodeDovDat(threeSamples()), threeSampleFile());
    const Result<DovDatContents> decoded = decodeDovDat(threeSampleFile());
    ASSERT_TRUE(decoded) << decoded.error();
    expectSame(*decoded, threeSamples());
    EXPECT_EQ(valueText(decoded->values[2]), "----");
}

TEST(DovDatCodec, SeriesRoundTripUnchanged) {
    const DovDatContents extremes = {
        {-0.0f, std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest()},
        {"", "F", std::string(kDovDatMaxText, 'u')},
        {"x", "", "12-31-99/23:59:59"}};
    for (const DovDatContents& want : {DovDatContents{}, extremes, series(4000)}) {
        const Result<DovDatContents> decoded = decodeDovDat(*encodeDovDat(want));
        ASSERT_TRUE(decoded) << decoded.error();
        expectSame(*decoded, want);
    }
    EXPECT_EQ(*encodeDovDat(DovDatContents{}), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(encodeDovDat(series(4000))->size(), 4u + 24u * 4000u);
}

TEST(DovDatCodec, TruncatedFilesAreRefusedAtEveryLength) {
    const Bytes whole = threeSampleFile();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const Result<DovDatContents> decoded = decodeDovDat(std::span(whole).first(size));
        EXPECT_FALSE(decoded) << size;
        // Layout: count 0..3, values 4..15, unit letters 16..21, time texts 22..75.
        const std::string where =
            size < 4    ? "the sample count"
            : size < 16 ? "value " + std::to_string((size - 4) / 4 + 1) + " of 3"
            : size < 22 ? "unit letter " + std::to_string((size - 16) / 2 + 1) + " of 3"
                        : "time text " + std::to_string((size - 22) / 18 + 1) + " of 3";
        EXPECT_EQ(decoded.error(), "the file ends after " + std::to_string(size) +
                                       (size == 1 ? " byte, in " : " bytes, in ") + where);
    }
}

TEST(DovDatCodec, DamagedFilesAreRefusedWithTheReason) {
    // One sample: count 1, the value 25.3, then the unit and time fields of the row.
    const auto oneSample = [](const Bytes& value, const Bytes& unit, const Bytes& time) {
        return cat(cat(cat({0x01, 0x00, 0x00, 0x00}, value), unit), time);
    };
    const Bytes v = {0x66, 0x66, 0xCA, 0x41};
    const Bytes c = {0x01, 'C'};
    const struct {
        Bytes bytes;
        std::string error;
    } rows[] = {
        {{0xFF, 0xFF, 0xFF, 0xFF}, "the sample count -1 is outside 0..4000"},
        {cat({0xA1, 0x0F, 0x00, 0x00}, Bytes(24 * 4001, 0)),
         "the sample count 4001 is outside 0..4000"},
        {oneSample(v, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, c),
         "unit letter 1 of 1 is 4294967295 characters long (at most 64 are allowed)"},
        {oneSample(v, c, cat({0xFF, 0xFD, 0xFF}, Bytes(10, 'x'))),
         "time text 1 of 1 is 65533 characters long (at most 64 are allowed)"},
        {oneSample(v, c, cat({65}, Bytes(65, 'x'))),
         "time text 1 of 1 is 65 characters long (at most 64 are allowed)"},
        {oneSample(v, {0xFF, 0xFE, 0xFF, 0x01, 0x00, 'C'}, c),
         "unit letter 1 of 1 has an invalid length prefix"},
        {oneSample({0x00, 0x00, 0xC0, 0x7F}, c, c), "value 1 of 1 is not a finite number"},
        {cat(threeSampleFile(), {0x00}), "the file has 1 byte after the last time text"},
        {cat(threeSampleFile(), {0x00, 0x00}), "the file has 2 bytes after the last time text"},
    };
    for (const auto& row : rows) {
        const Result<DovDatContents> decoded = decodeDovDat(row.bytes);
        EXPECT_FALSE(decoded) << row.error;
        EXPECT_EQ(decoded.error(), row.error);
    }
    // Short texts in the longer prefix forms are still read.
    const Result<DovDatContents> longForms = decodeDovDat(
        oneSample(v, {0xFF, 0x01, 0x00, 'F'}, cat({0xFF, 0xFF, 0xFF, 0x02, 0, 0, 0}, text("ab"))));
    ASSERT_TRUE(longForms) << longForms.error();
    EXPECT_EQ(longForms->units[0], "F");
    EXPECT_EQ(longForms->times[0], "ab");
}

TEST(DovDatCodec, LongTextsGetTheLongerPrefixes) {
    const struct {
        std::size_t length;
        Bytes prefix;
    } rows[] = {
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const auto& row : rows) {
        const DovDatContents c = {{1.0f}, {std::string(row.length, 'u')}, {"t"}};
        const Bytes bytes = *encodeDovDat(c);
        ASSERT_EQ(bytes.size(), 8 + row.prefix.size() + row.length + 2);
        EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 8 + std::ssize(row.prefix)), row.prefix);
    }
    DovDatContents uneven = threeSamples();
    uneven.units.pop_back();
    EXPECT_EQ(encodeDovDat(uneven).error(), "values, units and times differ in length");
    EXPECT_EQ(encodeDovDat(series(4001)).error(), "more samples than the store holds");
}

} // namespace
