#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The short texts of a series of samples (time texts, units), written from
// the first slot on: one buffer of characters and where each slot's text
// begins, rather than a string a slot. Writing a slot drops the slots after
// it, as a series is written front to back (a new current slot, a series
// emptied and written again); a slot not written reads as empty.
class TextSlots {
public:
    explicit TextSlots(std::size_t slots = 0, std::size_t bytesPerSlot = 0);

    // Writes slot `i`; slots between the last one written and `i` stay empty.
    void set(std::size_t i, std::string_view text);
    std::string_view operator[](std::size_t i) const;
    // The slots written.
    std::size_t size() const { return m_ends.size(); }

    // The texts of slots [first, last) as strings.
    std::vector<std::string> strings(std::size_t first, std::size_t last) const;

private:
    std::string m_chars;
    std::vector<std::uint32_t> m_ends; // where each slot's text ends in m_chars
};
