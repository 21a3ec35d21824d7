#pragma once

#include <string>
#include <string_view>

// 3000.0 or more means "no value" (a log frame without a reading).
inline constexpr float kNoValue = 3000.0f;
inline bool isNoValue(float v) {
    return v >= kNoValue;
}

// The text of a sample value in every text output (data list after Open, text
// export, report): one decimal, or "----" for the no-value mark (3000.0 or more).
std::string valueText(float value);

// `value` with `decimals` digits after the point, as "%.*f" writes it in the C
// locale ("12.5", "-0.3", "1.00"), without the cost of printf.
std::string fixedText(double value, int decimals);

// A count of tenths of a degree with its sign, as fixedText(±tenths * 0.1, 1)
// writes it ("21.5", "-0.0"), from the integers alone.
std::string tenthsText(int tenths, bool negative);

// A text read from a file as it may be shown on a terminal: control bytes
// (0x00 to 0x1F and 0x7F) written as \xNN, so that none of them moves the
// cursor, changes colours or sends the terminal commands.
std::string printableText(std::string_view text);
