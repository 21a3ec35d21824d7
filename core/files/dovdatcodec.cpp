#include "core/files/dovdatcodec.h"

#include <bit>
#include <cmath>
#include <limits>
#include <string_view>

namespace {

void putU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

// Writes nothing for a text longer than 2^32 - 1 characters, and sets
// `tooLong`.
void putText(std::vector<std::uint8_t>& out, const std::string& text, bool& tooLong) {
    const std::size_t length = text.size();
    if (length < 0xFF) {
        out.push_back(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        out.push_back(0xFF);
        putU16(out, static_cast<std::uint16_t>(length));
    } else {
        if (length > std::numeric_limits<std::uint32_t>::max()) [[unlikely]] {
            tooLong = true;
            return;
        }
        out.push_back(0xFF);
        putU16(out, 0xFFFF);
        putU32(out, static_cast<std::uint32_t>(length));
    }
    out.insert(out.end(), text.begin(), text.end());
}

std::string sampleName(const char* what, int index, int count) {
    return std::string(what) + " " + std::to_string(index + 1) + " of " + std::to_string(count);
}

// Reads the file front to back; every read checks the bytes that are left first.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t size() const { return m_bytes.size(); }
    std::size_t left() const { return m_bytes.size() - m_pos; }

    bool u8(std::uint8_t& v) {
        if (left() < 1)
            return false;
        v = m_bytes[m_pos++];
        return true;
    }
    bool u16(std::uint16_t& v) {
        if (left() < 2)
            return false;
        v = static_cast<std::uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool u32(std::uint32_t& v) {
        if (left() < 4)
            return false;
        v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | m_bytes[m_pos + static_cast<std::size_t>(i)];
        m_pos += 4;
        return true;
    }
    // Only after the caller has checked `length` against left().
    std::string_view text(std::size_t length) {
        const auto* first = reinterpret_cast<const char*>(m_bytes.data() + m_pos);
        m_pos += length;
        return std::string_view(first, length);
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

// "1 byte", "2 bytes".
std::string byteCount(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " byte" : " bytes");
}

std::string endsIn(const Reader& in, const std::string& what) {
    return "the file ends after " + byteCount(in.size()) + ", in " + what;
}

// Reads one length-prefixed text (a view into the bytes), or says why it cannot. `what`, `index`
// and `count` name the text in that message.
Result<std::string_view> readText(Reader& in, const char* what, int index, int count) {
    const auto ends = [&] { return Failure{endsIn(in, sampleName(what, index, count))}; };
    std::uint8_t shortLength = 0;
    if (!in.u8(shortLength))
        return ends();
    std::uint32_t length = shortLength;
    if (shortLength == 0xFF) {
        std::uint16_t mediumLength = 0;
        if (!in.u16(mediumLength))
            return ends();
        length = mediumLength;
        if (mediumLength == 0xFFFE)
            return Failure{sampleName(what, index, count) + " has an invalid length prefix"};
        if (mediumLength == 0xFFFF && !in.u32(length))
            return ends();
    }
    if (length > kDovDatMaxText)
        return Failure{sampleName(what, index, count) + " is " + std::to_string(length) +
                       " characters long (at most " + std::to_string(kDovDatMaxText) +
                       " are allowed)"};
    if (length > in.left())
        return ends();
    return in.text(length);
}

} // namespace

Result<std::vector<std::uint8_t>> encodeDovDat(std::span<const float> values,
                                               std::span<const std::string> units,
                                               std::span<const std::string> times) {
    const std::size_t n = values.size();
    if (units.size() != n || times.size() != n)
        return Failure{"values, units and times differ in length"};
    if (n > static_cast<std::size_t>(kDovDatMaxCount))
        return Failure{"more samples than the store holds"};

    std::vector<std::uint8_t> out;
    out.reserve(4 + 24 * n);
    putU32(out, static_cast<std::uint32_t>(n));
    for (const float v : values)
        putU32(out, std::bit_cast<std::uint32_t>(v));
    bool tooLong = false;
    for (const std::string& unit : units)
        putText(out, unit, tooLong);
    for (const std::string& time : times)
        putText(out, time, tooLong);
    if (tooLong)
        return Failure{"a text is too long"};
    return out;
}

Result<std::vector<std::uint8_t>> encodeDovDat(const DovDatContents& contents) {
    return encodeDovDat(contents.values, contents.units, contents.times);
}

Result<DovDatContents> decodeDovDat(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    std::uint32_t rawCount = 0;
    if (!in.u32(rawCount))
        return Failure{endsIn(in, "the sample count")};
    const auto count = static_cast<std::int32_t>(rawCount);
    if (count < 0 || count > kDovDatMaxCount)
        return Failure{"the sample count " + std::to_string(count) + " is outside 0.." +
                       std::to_string(kDovDatMaxCount)};
    const auto n = static_cast<std::size_t>(count);

    // The count is checked, so reserving for it is bounded.
    DovDatContents contents;
    contents.values.reserve(n);
    for (int i = 0; i < count; ++i) {
        std::uint32_t raw = 0;
        if (!in.u32(raw))
            return Failure{endsIn(in, sampleName("value", i, count))};
        const float value = std::bit_cast<float>(raw);
        if (!std::isfinite(value))
            return Failure{sampleName("value", i, count) + " is not a finite number"};
        contents.values.push_back(value);
    }

    const auto readBlock = [&](const char* what, std::vector<std::string>& texts) -> Result<> {
        texts.reserve(n);
        for (int i = 0; i < count; ++i) {
            const Result<std::string_view> text = readText(in, what, i, count);
            if (!text)
                return Failure{text.error()};
            texts.emplace_back(*text);
        }
        return {};
    };
    if (const Result<> units = readBlock("unit letter", contents.units); !units)
        return Failure{units.error()};
    if (const Result<> times = readBlock("time text", contents.times); !times)
        return Failure{times.error()};

    if (in.left() != 0)
        return Failure{"the file has " + byteCount(in.left()) + " after the last time text"};
    return contents;
}
