#include "core/store/recordingsnapshot.h"

#include "core/text/valuetext.h"

std::string listValueText(float value, LogMark mark) {
    if (mark == LogMark::WithoutValue)
        return "----log";
    const std::string shown = fixedText(value, 1);
    return mark == LogMark::WithValue ? shown + "log" : shown;
}
