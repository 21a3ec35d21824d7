// Data files as Open reads them. A file that is refused must say why; a file
// that is accepted holds at most 4000 finite values with short texts, writes
// back to the same bytes (a long-form length prefix of a short text comes back
// in its short form, so such a file only shrinks) and reads back to the same
// contents, and loads into the graph series.
#include "core/files/dovdatcodec.h"
#include "core/store/samplestore.h"
#include "core/text/valuetext.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_dovdat: %s\n", what);
        std::abort();
    }
}

bool sameContents(const DovDatContents& a, const DovDatContents& b) {
    if (a.values.size() != b.values.size() || a.units != b.units || a.times != b.times)
        return false;
    // Bit for bit: -0.0 must stay -0.0.
    return a.values.empty() ||
           std::memcmp(a.values.data(), b.values.data(), a.values.size() * sizeof(float)) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    const Result<DovDatContents> decoded = decodeDovDat(input);
    if (!decoded) {
        check(!decoded.error().empty(), "a refused file without a reason");
        return 0;
    }
    const DovDatContents& c = *decoded;
    check(c.units.size() == c.values.size() && c.times.size() == c.values.size(),
          "series of different lengths");
    check(c.count() <= kDovDatMaxCount, "more samples than the store holds");
    for (std::size_t i = 0; i < c.values.size(); ++i) {
        check(std::isfinite(c.values[i]), "a value that is not finite");
        check(c.units[i].size() <= kDovDatMaxText && c.times[i].size() <= kDovDatMaxText,
              "a text over the length limit");
        const std::string text = valueText(c.values[i]);
        check(!text.empty() && (text == "----") == isNoValue(c.values[i]), "value text");
    }

    const std::vector<std::uint8_t> again = *encodeDovDat(c);
    const bool identical = again.size() == size && std::memcmp(again.data(), data, size) == 0;
    check(identical || again.size() < size, "re-encoding differs from the file");
    const Result<DovDatContents> reread = decodeDovDat(again);
    check(reread.ok(), "the re-encoded file is refused");
    check(sameContents(*reread, c), "the re-encoded file reads differently");
    check(*encodeDovDat(*reread) == again, "encoding is not stable");

    SampleStore store;
    store.loadGraph(c.values, c.units, c.times);
    check(store.graphCount() == c.count(), "graph count after loading");
    check(store.recCount() == 0, "loading touched the recorded series");
    return 0;
}
