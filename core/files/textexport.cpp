#include "core/files/textexport.h"

#include "core/store/samplestore.h"
#include "core/text/valuetext.h"

#include <cstdio>

std::string textExportHeader() {
    return "      NO              DATA              UNIT           TIME  \r\n";
}

std::string textExportLine(int number, float value, std::string_view unit, std::int64_t time) {
    const std::string no = std::to_string(number);
    const std::string data = valueText(value);
    const std::string unitText(unit);
    const std::string timeText = formatTimeText(time);
    static constexpr const char* format = "  %5s          %9s           %7s           %8s  \r\n";
    // A unit or time text longer than its column widens the line, so measure first.
    const int length = std::snprintf(nullptr, 0, format, no.c_str(), data.c_str(), unitText.c_str(),
                                     timeText.c_str());
    if (length <= 0)
        return {};
    std::string line(static_cast<std::size_t>(length), '\0');
    std::snprintf(line.data(), line.size() + 1, format, no.c_str(), data.c_str(), unitText.c_str(),
                  timeText.c_str());
    return line;
}

Result<std::string> textExport(std::span<const float> values, std::span<const std::string> units,
                               std::span<const std::int64_t> times) {
    if (units.size() != values.size() || times.size() != values.size())
        return Failure{"values, units and times differ in length"};
    std::string out = textExportHeader();
    out.reserve(out.size() + 76 * values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        out += textExportLine(static_cast<int>(i) + 1, values[i], units[i], times[i]);
    return out;
}
