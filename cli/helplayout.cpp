#include "cli/helplayout.h"

#include <algorithm>

namespace {

// Characters, not bytes: a UTF-8 continuation byte adds nothing.
std::size_t columns(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The widest name column: past it a name takes a line of its own.
constexpr std::size_t kWidestNameColumn = 32;

// One line of text: kept as laid out when it fits, else wrapped at spaces
// with the lines below indented as it is.
std::string wrapLine(std::string_view line, std::size_t room, const std::string& margin) {
    if (line.empty())
        return "\n";
    if (columns(line) <= room)
        return margin + std::string(line) + '\n';
    const std::size_t lead = std::min(line.find_first_not_of(' '), line.size());
    std::string out;
    std::string current(lead, ' ');
    std::size_t used = lead;
    for (std::size_t at = lead; at < line.size();) {
        const std::size_t wordStart = line.find_first_not_of(' ', at);
        if (wordStart == std::string_view::npos)
            break;
        const std::size_t wordEnd = std::min(line.find(' ', wordStart), line.size());
        const std::string_view word = line.substr(wordStart, wordEnd - wordStart);
        if (used > lead && used + 1 + columns(word) > room) {
            out += margin + current + '\n';
            current.assign(lead, ' ');
            used = lead;
        }
        if (used > lead) {
            current += ' ';
            ++used;
        }
        current += word;
        used += columns(word);
        at = wordEnd;
    }
    return out + margin + current + '\n';
}

} // namespace

std::string wrapWords(std::string_view text, std::size_t width, std::size_t indent) {
    const std::string margin(indent, ' ');
    const std::size_t room = width > indent ? width - indent : 1;
    std::string out;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        out += wrapLine(text.substr(start, end - start), room, margin);
        if (end == text.size())
            return out;
        start = end + 1;
    }
}

std::string helpText(std::string_view usage, std::string_view description,
                     const std::vector<HelpSection>& sections, std::size_t width) {
    std::string out = wrapWords(usage, width);
    if (!description.empty())
        out += wrapWords(description, width);
    std::size_t widest = 0;
    for (const HelpSection& section : sections)
        for (const HelpEntry& entry : section.entries)
            widest = std::max(widest, columns(entry.name));
    // Two spaces before a name and at least two after it.
    const std::size_t column = std::min(widest + 4, kWidestNameColumn);
    for (const HelpSection& section : sections) {
        if (section.entries.empty())
            continue;
        out += '\n' + section.title + '\n';
        for (const HelpEntry& entry : section.entries) {
            std::string text = wrapWords(entry.description, width, column);
            const std::size_t nameColumns = columns(entry.name) + 2;
            if (entry.description.empty())
                text = "  " + entry.name + '\n';
            else if (nameColumns + 2 <= column)
                text.replace(0, nameColumns, "  " + entry.name);
            else
                text = "  " + entry.name + '\n' + text;
            out += text;
        }
    }
    return out;
}
