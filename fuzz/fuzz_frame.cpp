// Received bytes through the road the main window gives them: the serial
// component buffers them and raises its event once 14 or more are waiting, the
// handler hands the whole buffer to Acquisition::onReceived and puts back what
// it did not use (the start of a frame still arriving); a full store closes
// the port until On/Off. The list is kept as the data list would be.
//
// Byte 0 of the input sets up the run, the rest is the line:
//   bits 0..3  sample rate: 0..11 chosen by the user, 12 nothing chosen,
//              13..15 start-up rate 1..3 taken by On/Off
//   bits 4..5  how the line delivers: all at once, byte by byte, 13 bytes at a
//              time, or pieces of 1..32 bytes
//   bit 6      a store of 7 samples, so that the full store is reached
//   bit 7      a commit-timer tick after every piece
#include "link/frame.h"
#include "store/acquisition.h"
#include "store/samplestore.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_frame: %s\n", what);
        std::abort();
    }
}

// A store of 4005 slots per series takes far longer to build than an input
// takes to run, so one Acquisition is kept and handed from run to run with
// every member but the store's slots as new. Nothing reads a slot beyond the
// counts before a reading was written there, so emptied counts make the store
// as good as new too.
Acquisition& freshAcquisition() {
    static const Acquisition blank = [] {
        Acquisition a;
        const SampleStore slots = std::move(a.m_store);
        return a;
    }();
    static const SampleStore pristine;
    static Acquisition acq;
    SampleStore slots = std::move(acq.m_store);
    acq = blank;
    acq.m_store = std::move(slots);
    acq.m_store.m_nGraphCount = pristine.m_nGraphCount;
    acq.m_store.m_nRecCount = pristine.m_nRecCount;
    acq.m_store.m_nMaxData = pristine.m_nMaxData;
    acq.m_store.m_fGraphData[0] = pristine.m_fGraphData[0];
    return acq;
}

class Line {
public:
    explicit Line(std::uint8_t setup) : m_acq(freshAcquisition()) {
        const int rate = setup & 0x0F;
        if (rate < 12) {
            m_acq.selectSampleRate(rate);
        } else if (rate == 12) {
            m_acq.selectSampleRate(-1);
        } else {
            m_acq.setStartupSampleRate(rate - 12);
            m_acq.prepareOnOff();
        }
        if (setup & 0x40)
            m_acq.m_store.m_nMaxData = 7;
        m_bTick = setup & 0x80;
    }

    // A piece of the line arrives.
    void receive(const std::uint8_t* bytes, std::size_t size) {
        if (!m_bOpen)
            onOff();
        m_buffer.insert(m_buffer.end(), bytes, bytes + size);
        while (m_bOpen && m_buffer.size() >= kFrameSize)
            onComm();
        if (m_bTick) {
            const std::optional<ListRow> row = m_acq.onCommitTimer();
            if (row)
                list(*row);
        }
        checkCounts();
        ++m_tNow;
    }

private:
    void onComm() {
        std::vector<std::uint8_t> block;
        block.swap(m_buffer);
        BlockOutcome out;
        const std::size_t used = m_acq.onReceived(block, m_tNow, out);
        check(used <= block.size(), "used more than was buffered");
        const std::vector<std::uint8_t> rest(block.begin() + static_cast<std::ptrdiff_t>(used),
                                             block.end());
        if (!out.storeFull) {
            check(rest.size() < kFrameSize, "a whole frame's worth was left over");
            check(rest.empty() || rest[0] == kFrameStart, "left over does not start a frame");
        }
        m_buffer = rest;
        const bool framed = out.decoded;
        const SampleStore& s = m_acq.m_store;
        if (!framed)
            check(out.rows.empty() && !out.clearList && out.regions == 0 && !out.updateViews,
                  "a block without a frame changed something");
        if (framed)
            check(m_acq.g_fRunMax >= m_acq.g_fRunMin, "running extremes crossed after a reading");
        if (out.clearList)
            m_rows.clear();
        for (const ListRow& row : out.rows)
            list(row);
        checkCounts();
        if (out.storeFull) {
            check(s.isFull(), "store-full outcome for a store with room");
            // The port closes; what was buffered goes with it.
            m_bOpen = false;
            m_buffer.clear();
        }
    }

    // On/Off after the store-full message: the store is offered for saving
    // (declined) and emptied, and the port opens with an empty buffer.
    void onOff() {
        const OnOffPlan plan = m_acq.prepareOnOff();
        if (plan.askToSave) {
            m_acq.resetStore();
            m_rows.clear();
        }
        m_buffer.clear();
        m_bOpen = true;
    }

    void list(const ListRow& row) {
        const SampleStore& s = m_acq.m_store;
        check(row.index == s.m_nRecCount - 1, "listed row is not the last committed sample");
        check(row.index >= 0 && static_cast<std::size_t>(row.index) <= m_rows.size(),
              "listed row leaves a gap");
        check(row.number == std::to_string(row.index + 1), "row number text");
        check(row.time == s.m_strRecTime[static_cast<std::size_t>(row.index)], "row time text");
        check(row.time.size() == 17, "time text length");
        check(row.unit == "C" || row.unit == "F", "unit letter");
        if (static_cast<std::size_t>(row.index) == m_rows.size())
            m_rows.push_back(row.value);
        else
            m_rows[static_cast<std::size_t>(row.index)] = row.value;
    }

    void checkCounts() const {
        const SampleStore& s = m_acq.m_store;
        check(s.m_nRecCount >= 0 && s.m_nRecCount <= s.m_nMaxData && s.m_nMaxData <= MAX_DATA,
              "recorded count outside 0..4000");
        check(s.m_nGraphCount >= 0 && s.m_nGraphCount <= MAX_DATA, "graph count outside 0..4000");
        check(s.m_nGraphCount == s.m_nRecCount, "live readings keep both series together");
        check(m_rows.size() == static_cast<std::size_t>(s.m_nRecCount),
              "list rows and recorded samples differ");
    }

    Acquisition& m_acq;
    std::vector<std::uint8_t> m_buffer;
    std::vector<std::string> m_rows;
    std::int64_t m_tNow = 1'700'000'000;
    bool m_bOpen = true;
    bool m_bTick = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t setup = data[0];
    Line line(setup);
    const std::uint8_t* wire = data + 1;
    std::size_t left = size - 1;
    std::uint32_t lcg = 0x2545F491u ^ static_cast<std::uint32_t>(size);
    while (left > 0) {
        std::size_t piece = left;
        switch ((setup >> 4) & 3) {
        case 0:
            piece = left;
            break;
        case 1:
            piece = 1;
            break;
        case 2:
            piece = 13;
            break;
        default:
            lcg = lcg * 1664525u + 1013904223u;
            piece = 1 + (lcg >> 27);
            break;
        }
        if (piece > left)
            piece = left;
        line.receive(wire, piece);
        wire += piece;
        left -= piece;
    }
    return 0;
}
