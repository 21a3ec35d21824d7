#include "ui/window/commandtable.h"

#include "ui/window/commandids.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<CommandInfo, 17> kCommands = {{
    {ID_SAVE, "&Save", "", "Save"},
    {ID_OPEN, "&Open", "", "Open"},
    {ID_VIEW_RECORDINGS, "&View Recordings...",
     "Show recordings of any length (data files, CSV files, folders) on a clock", ""},
    {ID_EXPORT_CSV, "Export as &CSV...", "Write the recording as CSV for a spreadsheet", ""},
    {ID_FILE_PRINT, "&Print ", "Print the active document", "Print "},
    {ID_APP_EXIT, "&Exit", "", ""},
    {ID_SELECT_COM, "&Select COM", "", "Select COM"},
    {ID_ON_OFF, "&On/Off", "", "On/Off"},
    {ID_CONTINUE_NEW_FILE, "Continue in a &New File",
     "At 4000 samples save the recording and go on recording into a new file", ""},
    {ID_UNDO_ZOOM, "&UndoZoom", "", "UndoZoom"},
    {ID_CLEAR_SCREEN, "&Clear Screen", "", "Clear Screen"},
    {ID_CLEAR_ALL, "Clear &All", "", "Clear All"},
    {ID_ALARM_NOTIFICATIONS, "Alarm No&tifications",
     "Tell the desktop when a reading crosses an alarm limit", ""},
    {ID_ALARM_SOUND, "Alarm Soun&d", "Play a sound when a reading goes beyond an alarm limit", ""},
    {ID_PUBLISH, "&Publish...", "Send the readings and alarms to an MQTT broker", ""},
    {ID_APP_ABOUT, "&About Orvane...", "", ""},
    {ID_HELP_CONTENTS, "&Contents", "", "Help"},
}};

constexpr MenuEntry kSeparator{0};

constexpr std::array<MenuEntry, 9> kFileMenu = {{{ID_SAVE},
                                                 kSeparator,
                                                 {ID_OPEN},
                                                 {ID_VIEW_RECORDINGS},
                                                 {ID_EXPORT_CSV},
                                                 kSeparator,
                                                 {ID_FILE_PRINT},
                                                 kSeparator,
                                                 {ID_APP_EXIT}}};
constexpr std::array<MenuEntry, 16> kToolsMenu = {{{ID_SELECT_COM},
                                                   kSeparator,
                                                   {ID_ON_OFF},
                                                   {ID_CONTINUE_NEW_FILE},
                                                   kSeparator,
                                                   {ID_UNDO_ZOOM},
                                                   kSeparator,
                                                   {ID_CLEAR_SCREEN},
                                                   kSeparator,
                                                   {ID_CLEAR_ALL},
                                                   kSeparator,
                                                   {ID_ALARM_NOTIFICATIONS},
                                                   kSeparator,
                                                   {ID_ALARM_SOUND},
                                                   kSeparator,
                                                   {ID_PUBLISH}}};
constexpr std::array<MenuEntry, 3> kHelpMenu = {{{ID_APP_ABOUT}, kSeparator, {ID_HELP_CONTENTS}}};

const std::array<MenuPopup, 3> kMenuBar = {{
    {"&File(F)", kFileMenu},
    {"&Tools(T)", kToolsMenu},
    {"&Help(H)", kHelpMenu},
}};

// The keys of the commands that have them, as the menus show them.
constexpr std::array<std::pair<int, const char*>, 6> kShortcuts = {{
    {ID_SAVE, "Ctrl+S"},
    {ID_OPEN, "Ctrl+O"},
    {ID_VIEW_RECORDINGS, "Ctrl+Shift+O"},
    {ID_FILE_PRINT, "Ctrl+P"},
    {ID_APP_EXIT, "Ctrl+Q"},
    {ID_HELP_CONTENTS, "F1"},
}};

constexpr std::array<int, 9> kToolbar = {ID_SAVE,         ID_OPEN,      ID_FILE_PRINT,
                                         ID_SELECT_COM,   ID_ON_OFF,    ID_UNDO_ZOOM,
                                         ID_CLEAR_SCREEN, ID_CLEAR_ALL, ID_HELP_CONTENTS};

} // namespace

const CommandInfo* findCommand(int id) {
    const auto it = std::find_if(kCommands.begin(), kCommands.end(),
                                 [id](const CommandInfo& c) { return c.id == id; });
    return it == kCommands.end() ? nullptr : &*it;
}

const char* commandShortcut(int id) {
    const auto it = std::find_if(kShortcuts.begin(), kShortcuts.end(),
                                 [id](const auto& s) { return s.first == id; });
    return it == kShortcuts.end() ? "" : it->second;
}

std::span<const MenuPopup> menuBarLayout() {
    return kMenuBar;
}

std::span<const int> toolbarLayout() {
    return kToolbar;
}
