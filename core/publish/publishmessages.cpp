#include "core/publish/publishmessages.h"

#include "core/files/csvexport.h"
#include "core/store/samplestore.h"
#include "core/text/valuetext.h"

#include <cstdio>

namespace {

// A JSON string: quotes, backslashes and control bytes escaped.
std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20) {
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonValue(float value) {
    return isNoValue(value) ? "null" : valueText(value);
}

} // namespace

std::string readingJson(const PublishedReading& reading) {
    return "{\"n\":" + std::to_string(reading.n) +
           ",\"time\":" + jsonString(isoLocalTime(reading.time, reading.millisecond)) +
           ",\"value\":" + jsonValue(reading.value) + ",\"unit\":" + jsonString(reading.unit) +
           ",\"log\":" + (reading.log ? "true" : "false") + "}";
}

std::string alarmJson(const AlarmChange& change, std::int64_t n) {
    return "{\"n\":" + std::to_string(n) + ",\"state\":" + jsonString(alarmName(change.level)) +
           ",\"time\":" + jsonString(isoLocalTime(change.time)) +
           ",\"value\":" + jsonValue(change.value) + ",\"unit\":" + jsonString(change.unit) +
           ",\"limit\":" + std::to_string(change.limit) + "}";
}

std::string startAlarmJson(std::int64_t time) {
    return "{\"n\":0,\"state\":\"normal\",\"time\":" + jsonString(isoLocalTime(time)) +
           ",\"value\":null,\"unit\":null,\"limit\":null}";
}
