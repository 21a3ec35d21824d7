#pragma once

#include "core/files/dovdatcontents.h"
#include "core/result.h"
#include "core/store/samplestore.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The .DovDat data file: a little-endian signed 32-bit count N, then N floats,
// then N unit letters, then N time texts. Each text is stored as a length prefix
// (1 byte for 0..254; 0xFF and 2 bytes for 255..65533; 0xFF, 0xFFFF and 4 bytes
// beyond) followed by its 8-bit characters, so a file of N samples written by the
// logger is 4 + 24 N bytes long.
inline constexpr int kDovDatMaxCount = MAX_DATA;
// The longest unit letter or time text a file may hold; the logger writes 1 and 17.
inline constexpr std::size_t kDovDatMaxText = 64;

// Writes a series. The three spans must have the same length, at most
// kDovDatMaxCount, and no text may be longer than 2^32 - 1 characters; otherwise
// nothing is written and the message says which rule was broken.
Result<std::vector<std::uint8_t>> encodeDovDat(std::span<const float> values,
                                               std::span<const std::string> units,
                                               std::span<const std::string> times);
Result<std::vector<std::uint8_t>> encodeDovDat(const DovDatContents& contents);

// Reads a whole file: the contents, or, when the bytes are not a data file the
// logger can show, why not (a lower-case phrase without a final full stop, such
// as "the sample count -1 is outside 0..4000"). The bytes are checked completely before anything is
// returned: the count within 0..kDovDatMaxCount, every value a finite number,
// every text within kDovDatMaxText characters and inside the file, and no bytes
// after the last time text. Never reads outside `bytes`, and allocates only for
// lengths already checked against those limits.
Result<DovDatContents> decodeDovDat(std::span<const std::uint8_t> bytes);
