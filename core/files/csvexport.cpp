#include "core/files/csvexport.h"

#include "core/files/valuetext.h"
#include "core/store/samplestore.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

std::string csvHeader() {
    return "number,time,value,unit,log\r\n";
}

std::string csvTextField(std::string_view text) {
    std::string field;
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        field += '\'';
    field += text;
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string isoLocalTime(std::int64_t time) {
    const auto t = static_cast<std::time_t>(time);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        return {};
    char stamp[64];
    const std::size_t n = std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    if (n == 0)
        return {};
    // %z gives +0100; the extended format wants +01:00.
    const long offset = local.tm_gmtoff;
    const int minutes = static_cast<int>(std::labs(offset) / 60 % (100 * 60));
    char zone[32];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return std::string(stamp, n) + zone;
}

std::string csvLine(const CsvSample& sample) {
    std::string line = std::to_string(sample.number);
    line += ',';
    line += sample.time ? isoLocalTime(*sample.time) : csvTextField(sample.timeText);
    line += ',';
    if (!isNoValue(sample.value))
        line += valueText(sample.value);
    line += ',';
    line += csvTextField(sample.unit);
    line += sample.log ? ",1\r\n" : ",0\r\n";
    return line;
}
