#pragma once

#include <QByteArray>

#include <cstdint>
#include <initializer_list>

// A 14-byte frame from its ten meaningful bytes, padded with position-tagged bytes.
inline QByteArray frameBytes(std::initializer_list<std::uint8_t> ten) {
    QByteArray b;
    for (std::uint8_t v : ten)
        b.append(static_cast<char>(v));
    for (std::uint8_t tag = 0xB0; b.size() < 14; tag += 0x10)
        b.append(static_cast<char>(tag));
    return b;
}

// A Celsius EMS frame carrying `count` tenths of a degree and flag byte `flags`.
inline QByteArray celsiusFrame(int count, std::uint8_t flags = 0x04) {
    const auto n = [](int v) { return static_cast<std::uint8_t>(v & 0xF); };
    return frameBytes({0x10, 0x20, 0x35, 0x4F, static_cast<std::uint8_t>(0x50 + n(count >> 4)),
                       static_cast<std::uint8_t>(0x60 + n(count)),
                       static_cast<std::uint8_t>(0x70 + n(count >> 12)),
                       static_cast<std::uint8_t>(0x80 + n(count >> 8)),
                       static_cast<std::uint8_t>(0x90 + (flags >> 4)),
                       static_cast<std::uint8_t>(0xA0 + (flags & 0xF))});
}
