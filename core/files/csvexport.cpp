#include "core/files/csvexport.h"

#include "core/store/samplestore.h"
#include "core/text/calendartext.h"
#include "core/text/valuetext.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

namespace {

char separatorChar(CsvSeparator separator) {
    return separator == CsvSeparator::Semicolon ? ';' : ',';
}

std::string offsetText(const std::tm& local) {
    // %z gives +0100; the extended format wants +01:00.
    const long offset = local.tm_gmtoff;
    const int minutes = static_cast<int>(std::labs(offset) / 60 % (100 * 60));
    const int hours = minutes / 60;
    return {offset < 0 ? '-' : '+',
            static_cast<char>('0' + hours / 10),
            static_cast<char>('0' + hours % 10),
            ':',
            static_cast<char>('0' + minutes % 60 / 10),
            static_cast<char>('0' + minutes % 10)};
}

// ".250" for a millisecond 0..999, nothing otherwise.
std::string fractionText(int millisecond) {
    if (millisecond < 0 || millisecond > 999)
        return {};
    return {'.', static_cast<char>('0' + millisecond / 100),
            static_cast<char>('0' + millisecond / 10 % 10),
            static_cast<char>('0' + millisecond % 10)};
}

} // namespace

std::string csvHeader(CsvStyle style) {
    std::string header = style.time == CsvTime::Iso ? "number,time,value,unit,log"
                                                    : "number,time,utc_offset,value,unit,log";
    std::replace(header.begin(), header.end(), ',', separatorChar(style.separator));
    return header + "\r\n";
}

CsvSeparator csvSeparatorFor(char decimalPoint) {
    return decimalPoint == ',' ? CsvSeparator::Semicolon : CsvSeparator::Comma;
}

std::string csvTextField(std::string_view text, CsvSeparator separator) {
    std::string field;
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
        field += '\'';
    field += text;
    const char special[] = {separatorChar(separator), '"', '\r', '\n', '\0'};
    if (field.find_first_of(special) == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string isoLocalTime(std::int64_t time, int millisecond) {
    const std::optional<std::tm> local = localCalendarTime(time);
    if (!local)
        return {};
    const std::string stamp = calendarText(*local, "%Y-%m-%dT%H:%M:%S");
    return stamp.empty() ? stamp : stamp + fractionText(millisecond) + offsetText(*local);
}

std::string localDateTime(std::int64_t time, int millisecond) {
    const std::optional<std::tm> local = localCalendarTime(time);
    const std::string stamp = local ? calendarText(*local, "%Y-%m-%d %H:%M:%S") : std::string();
    return stamp.empty() ? stamp : stamp + fractionText(millisecond);
}

std::string utcOffsetText(std::int64_t time) {
    const std::optional<std::tm> local = localCalendarTime(time);
    return local ? offsetText(*local) : std::string();
}

std::string csvLine(const CsvSample& sample, CsvStyle style) {
    const char separator = separatorChar(style.separator);
    const bool iso = style.time == CsvTime::Iso;
    // The time is broken down once for the time and the offset fields.
    const std::optional<std::tm> local =
        sample.time ? localCalendarTime(*sample.time) : std::optional<std::tm>();
    std::string line = std::to_string(sample.number);
    line += separator;
    if (!sample.time) {
        line += csvTextField(sample.timeText, style.separator);
    } else if (local) {
        const std::string stamp =
            calendarText(*local, iso ? "%Y-%m-%dT%H:%M:%S" : "%Y-%m-%d %H:%M:%S");
        if (!stamp.empty()) {
            line += stamp;
            line += fractionText(sample.millisecond);
            if (iso)
                line += offsetText(*local);
        }
    }
    if (!iso) {
        line += separator;
        if (local)
            line += offsetText(*local);
    }
    line += separator;
    if (!isNoValue(sample.value)) {
        std::string value = valueText(sample.value);
        if (style.separator == CsvSeparator::Semicolon)
            std::replace(value.begin(), value.end(), '.', ',');
        line += value;
    }
    line += separator;
    line += csvTextField(sample.unit, style.separator);
    line += separator;
    if (sample.log)
        line += *sample.log ? "1" : "0";
    line += "\r\n";
    return line;
}
