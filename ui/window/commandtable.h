#pragma once

#include <QString>

#include <span>

// Every command the user can reach: its label in the menus, its status-bar
// prompt and its tool tip, in English; commandText() gives them in the user's
// language.
struct CommandInfo {
    int id;
    const char* label;  // menu text with its mnemonic
    const char* prompt; // status-bar prompt (may be empty)
    const char* tip;    // tool tip (may be empty)
};

// One entry of a popup: a command, or a separator line (id 0).
struct MenuEntry {
    int id;
};

struct MenuPopup {
    const char* title;
    std::span<const MenuEntry> entries;
};

const CommandInfo* findCommand(int id);
// A label, prompt, tip or menu title of the tables in the user's language.
QString commandText(const char* text);
// The keys that run command `id` ("Ctrl+S"), empty for none.
const char* commandShortcut(int id);
std::span<const MenuPopup> menuBarLayout();
// The toolbar's buttons, left to right; each is followed by a separator.
std::span<const int> toolbarLayout();
