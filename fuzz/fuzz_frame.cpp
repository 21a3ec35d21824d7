// Received bytes through the road the window gives them: the line's own reading
// (engine/linereading.h) over a port that buffers what arrives and raises its
// event once the recorder's threshold is reached, and a full store closes the
// port until On/Off. The list is kept as the data list would be, from the
// recorder's signals.
//
// Byte 0 of the input sets up the run, the rest is the line:
//   bits 0..3  sample rate: 0..11 chosen by the user, 12 nothing chosen,
//              13..15 start-up rate 1..3 taken by On/Off
//   bits 4..5  how the line delivers: all at once, byte by byte, 13 bytes at a
//              time, or pieces of 1..32 bytes
//   bit 6      a store of 7 samples, so that the full store is reached
//   bit 7      a commit-timer tick after every piece
#include "core/link/frame.h"
#include "core/store/samplestore.h"
#include "engine/linereading.h"
#include "engine/recorder.h"
#include "tests/support/storetestaccess.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// One recorder for every input, made as good as new for each.
Recorder& freshRecorder() {
    static Recorder recorder;
    StoreTestAccess::renew(recorder);
    return recorder;
}

// The serial component as the line uses it, over a buffer.
struct BufferedPort {
    QByteArray waiting;
    short threshold = 0;
    bool open = true;

    QByteArray input() { return std::exchange(waiting, QByteArray()); }
    qint64 inBufferCount() const { return waiting.size(); }
    short rThreshold() const { return threshold; }
    void setRThreshold(short n) { threshold = n; }
    void setInBufferCount(short) { waiting.clear(); }
    bool portOpen() const { return open; }
};

class Line {
public:
    explicit Line(std::uint8_t setup) : m_rec(freshRecorder()) {
        m_rec.setClock([this] { return m_tNow; });
        const int rate = setup & 0x0F;
        if (rate < 12) {
            m_rec.selectSampleRate(rate);
        } else if (rate == 12) {
            m_rec.selectSampleRate(-1);
        } else {
            m_rec.setStartupSampleRate(rate - 12);
            m_rec.prepareOnOff();
        }
        if (setup & 0x40)
            m_rec.setCapacity(7);
        m_bTick = setup & 0x80;
        startReading(m_port, m_rec);

        // The connections go with this line (their context object).
        QObject::connect(&m_rec, &Recorder::rowAppended, &m_context,
                         [this](const ListRow& row) { list(row); });
        QObject::connect(&m_rec, &Recorder::listCleared, &m_context, [this] { m_rows.clear(); });
        QObject::connect(&m_rec, &Recorder::storeFull, &m_context, [this] {
            check(m_rec.store().isFull(), "store-full report for a store with room");
            // The port closes; what was buffered goes with it.
            m_port.open = false;
            m_port.waiting.clear();
        });
    }

    // A piece of the line arrives.
    void receive(const std::uint8_t* bytes, std::size_t size) {
        if (!m_port.open)
            onOff();
        m_port.waiting.append(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
        // The port raises its event at the threshold.
        if (m_port.threshold > 0 && m_port.inBufferCount() >= m_port.threshold) {
            readWaiting(m_port, m_rec, [] {});
            const int wanted = m_rec.bytesWanted();
            check(wanted >= 1 && wanted <= static_cast<int>(kFrameSize), "threshold out of 1..14");
            check(m_port.threshold == wanted, "the port waits for what the recorder wants");
            if (m_rec.acquisition().store().recCount() > 0)
                check(m_rec.acquisition().runMax() >= m_rec.acquisition().runMin(),
                      "running extremes crossed after a reading");
        }
        if (m_bTick)
            m_rec.commitPending();
        checkCounts();
        ++m_tNow;
    }

private:
    // On/Off after the store-full message: the store is offered for saving
    // (declined) and emptied, and the port opens afresh.
    void onOff() {
        const OnOffPlan plan = m_rec.prepareOnOff();
        if (plan.askToSave)
            m_rec.resetStore();
        m_port.open = true;
        startReading(m_port, m_rec);
    }

    void list(const ListRow& row) {
        const SampleStore& s = m_rec.store();
        check(row.index < s.recCount(), "listed row is not a committed sample");
        check(row.index >= 0 && static_cast<std::size_t>(row.index) <= m_rows.size(),
              "listed row leaves a gap");
        check(row.number == std::to_string(row.index + 1), "row number text");
        check(row.time == s.recTimeText()[static_cast<std::size_t>(row.index)], "row time text");
        check(row.time.size() == 17, "time text length");
        check(row.unit == "C" || row.unit == "F", "unit letter");
        if (static_cast<std::size_t>(row.index) == m_rows.size())
            m_rows.push_back(row.value);
        else
            m_rows[static_cast<std::size_t>(row.index)] = row.value;
    }

    void checkCounts() const {
        const SampleStore& s = m_rec.store();
        check(s.recCount() >= 0 && s.recCount() <= s.maxData() && s.maxData() <= MAX_DATA,
              "recorded count outside 0..4000");
        check(s.graphCount() >= 0 && s.graphCount() <= MAX_DATA, "graph count outside 0..4000");
        check(s.graphCount() == s.recCount(), "live readings keep both series together");
        check(m_rows.size() == static_cast<std::size_t>(s.recCount()),
              "list rows and recorded samples differ");
    }

    QObject m_context;
    Recorder& m_rec;
    BufferedPort m_port;
    std::vector<std::string> m_rows;
    std::int64_t m_tNow = 1'700'000'000;
    bool m_bTick = false;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The recorder's commit timer wants an event dispatcher.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

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
