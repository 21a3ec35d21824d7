#pragma once

#include "core/store/acquisition.h"
#include "core/store/samplestore.h"
#include "engine/recorder.h"

#include <cstdint>
#include <string>
#include <vector>

// States the road of a reading cannot reach quickly or at all (a graph series
// of exact values without frames, the new-data flag on its own), set directly
// for tests and benchmarks of the views that draw them.
struct StoreTestAccess {
    static Acquisition& acq(Recorder& r) { return r.m_acq; }
    static SampleStore& store(Recorder& r) { return r.m_acq.m_store; }
    static float& recValue(Recorder& r, std::size_t i) { return r.m_acq.m_store.m_fRecData[i]; }
    static float& graphValue(Recorder& r, std::size_t i) { return r.m_acq.m_store.m_fGraphData[i]; }

    // The graph series holds `values` (times one second apart from `t0`);
    // fitMode: as after a load, otherwise as live readings.
    static void setGraphSeries(Acquisition& a, const std::vector<float>& values, bool fitMode,
                               std::int64_t t0 = 1'700'000'000) {
        SampleStore& s = a.m_store;
        const std::string unit(1, 'C'); // not "C": GCC 12 warns falsely on that assignment
        for (std::size_t i = 0; i < values.size(); ++i) {
            s.m_fGraphData[i] = values[i];
            s.m_strGraphUnit.set(i, unit);
            s.m_strGraphTime.set(i, formatTimeText(t0 + static_cast<std::int64_t>(i)));
        }
        s.m_nGraphCount = static_cast<int>(values.size());
        a.m_showing = fitMode ? Showing::LoadedFile : Showing::Recording;
    }
    static void setNewData(Acquisition& a, bool newData) { a.m_bNewData = newData; }
    static DisplayTexts& panel(Acquisition& a) { return a.m_panel; }
    static std::string& unit(Acquisition& a) { return a.m_strUnit; }
    static bool& locked(Acquisition& a) { return a.m_bLocked; }

    // Makes `r` as good as new without building a new store (4005 slots per
    // series take far longer to build than a fuzz input takes to run): every
    // member but the slots is reset, and nothing reads a slot beyond the
    // counts before a reading was written there. No journal, no timers.
    static void renew(Recorder& r) {
        static const Acquisition blank = [] {
            Acquisition a;
            const SampleStore slots = std::move(a.m_store);
            return a;
        }();
        static const SampleStore pristine;
        SampleStore slots = std::move(r.m_acq.m_store);
        r.m_acq = blank;
        r.m_acq.m_store = std::move(slots);
        SampleStore& s = r.m_acq.m_store;
        s.m_nGraphCount = pristine.m_nGraphCount;
        s.m_nRecCount = pristine.m_nRecCount;
        s.m_nMaxData = pristine.m_nMaxData;
        s.m_nGraphEmptied = pristine.m_nGraphEmptied;
        s.m_fGraphData[0] = pristine.m_fGraphData[0];
        r.m_buffer.clear();
        r.m_commitTimer.stop();
        r.m_nCommitTimerMs = 0;
        r.m_syncTimer.stop();
        r.m_journal.reset();
    }
};
