#include "core/store/samplerate.h"

int sampleRateMs(int index) {
    static constexpr std::array<int, kSampleRateCount> ms = {
        0, 2000, 5000, 10000, 30000, 60000, 120000, 300000, 600000, 1800000, 2700000, 3600000};
    return isIntervalRate(index) ? ms[index] : 0;
}
