#include "core/files/savefilenames.h"

#include <ctime>

SaveFileNames saveFileNames(std::int64_t time) {
    const auto t = static_cast<std::time_t>(time);
    std::tm local{};
    char stamp[32] = {};
    std::size_t n = 0;
    if (localtime_r(&t, &local) != nullptr)
        n = std::strftime(stamp, sizeof stamp, "%y-%m-%d %H.%M.%S", &local);
    const std::string prefix(stamp, n);
    return {prefix + ".DovDat", prefix + " .txt", prefix + ".csv"};
}
