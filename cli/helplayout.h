#pragma once

#include <string>
#include <string_view>
#include <vector>

// The layout of a program's --help, without Qt: texts wrapped at spaces, never
// inside a word, so that option names, file names and commands stay whole.

// One named entry of a help section: an option with its value, or an argument.
struct HelpEntry {
    std::string name;
    std::string description;
};

struct HelpSection {
    std::string title; // "Options:"
    std::vector<HelpEntry> entries;
};

// `text` wrapped to lines of at most `width` columns (a word longer than that
// stands alone on its line), each line indented by `indent` spaces; the
// line breaks of `text` are kept. Columns count characters, not UTF-8 bytes.
std::string wrapWords(std::string_view text, std::size_t width, std::size_t indent = 0);

// The usage line, the description, then each section: its title, and its
// entries with the names in a column of their own and the descriptions wrapped
// beside them. A name too long for the column puts its description on the
// lines below. Every line ends with a line feed.
std::string helpText(std::string_view usage, std::string_view description,
                     const std::vector<HelpSection>& sections, std::size_t width = 80);
