#include "core/store/textslots.h"

TextSlots::TextSlots(std::size_t slots, std::size_t bytesPerSlot) {
    m_ends.reserve(slots);
    m_chars.reserve(slots * bytesPerSlot);
}

void TextSlots::set(std::size_t i, std::string_view text) {
    if (i < m_ends.size()) {
        m_chars.resize(i == 0 ? 0 : m_ends[i - 1]);
        m_ends.resize(i);
    }
    while (m_ends.size() < i)
        m_ends.push_back(static_cast<std::uint32_t>(m_chars.size()));
    m_chars += text;
    m_ends.push_back(static_cast<std::uint32_t>(m_chars.size()));
}

std::string_view TextSlots::operator[](std::size_t i) const {
    if (i >= m_ends.size())
        return {};
    const std::uint32_t begin = i == 0 ? 0 : m_ends[i - 1];
    return std::string_view(m_chars).substr(begin, m_ends[i] - begin);
}

std::vector<std::string> TextSlots::strings(std::size_t first, std::size_t last) const {
    std::vector<std::string> out;
    out.reserve(last > first ? last - first : 0);
    for (std::size_t i = first; i < last; ++i)
        out.emplace_back((*this)[i]);
    return out;
}
