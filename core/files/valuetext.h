#pragma once

#include <string>

// The text of a sample value in every text output (data list after Open, text
// export, report): one decimal, or "----" for the no-value mark (3000.0 or more).
std::string valueText(float value);
