#include "ui/window/commandtable.h"

#include "ui/window/commandids.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<CommandInfo, 18> kCommands = {{
    {ID_SAVE, QT_TRANSLATE_NOOP("Commands", "&Save"), "", QT_TRANSLATE_NOOP("Commands", "Save")},
    {ID_OPEN, QT_TRANSLATE_NOOP("Commands", "&Open"), "", QT_TRANSLATE_NOOP("Commands", "Open")},
    {ID_VIEW_RECORDINGS, QT_TRANSLATE_NOOP("Commands", "&View Recordings..."),
     QT_TRANSLATE_NOOP("Commands",
                       "Show recordings of any length (data files, CSV files, folders) on a clock"),
     ""},
    {ID_EXPORT_CSV, QT_TRANSLATE_NOOP("Commands", "Export as &CSV..."),
     QT_TRANSLATE_NOOP("Commands", "Write the recording as CSV for a spreadsheet"), ""},
    {ID_FILE_PRINT, QT_TRANSLATE_NOOP("Commands", "&Print "),
     QT_TRANSLATE_NOOP("Commands", "Print the active document"),
     QT_TRANSLATE_NOOP("Commands", "Print ")},
    {ID_APP_EXIT, QT_TRANSLATE_NOOP("Commands", "&Exit"), "", ""},
    {ID_SELECT_COM, QT_TRANSLATE_NOOP("Commands", "&Select COM"), "",
     QT_TRANSLATE_NOOP("Commands", "Select COM")},
    {ID_ON_OFF, QT_TRANSLATE_NOOP("Commands", "&On/Off"), "",
     QT_TRANSLATE_NOOP("Commands", "On/Off")},
    {ID_CONTINUE_NEW_FILE, QT_TRANSLATE_NOOP("Commands", "Continue in a &New File"),
     QT_TRANSLATE_NOOP("Commands",
                       "At 4000 samples save the recording and go on recording into a new file"),
     ""},
    {ID_UNDO_ZOOM, QT_TRANSLATE_NOOP("Commands", "&UndoZoom"), "",
     QT_TRANSLATE_NOOP("Commands", "UndoZoom")},
    {ID_FOLLOW_READINGS, QT_TRANSLATE_NOOP("Commands", "&Follow the Readings"),
     QT_TRANSLATE_NOOP("Commands",
                       "Move the graph's value window so that it shows the newest reading"),
     ""},
    {ID_CLEAR_SCREEN, QT_TRANSLATE_NOOP("Commands", "&Clear Screen"), "",
     QT_TRANSLATE_NOOP("Commands", "Clear Screen")},
    {ID_CLEAR_ALL, QT_TRANSLATE_NOOP("Commands", "Clear &All"), "",
     QT_TRANSLATE_NOOP("Commands", "Clear All")},
    {ID_ALARM_NOTIFICATIONS, QT_TRANSLATE_NOOP("Commands", "Alarm No&tifications"),
     QT_TRANSLATE_NOOP("Commands", "Tell the desktop when a reading crosses an alarm limit"), ""},
    {ID_ALARM_SOUND, QT_TRANSLATE_NOOP("Commands", "Alarm Soun&d"),
     QT_TRANSLATE_NOOP("Commands", "Play a sound when a reading goes beyond an alarm limit"), ""},
    {ID_PUBLISH, QT_TRANSLATE_NOOP("Commands", "&Publish..."),
     QT_TRANSLATE_NOOP("Commands", "Send the readings and alarms to an MQTT broker"), ""},
    {ID_APP_ABOUT, QT_TRANSLATE_NOOP("Commands", "&About Orvane..."), "", ""},
    {ID_HELP_CONTENTS, QT_TRANSLATE_NOOP("Commands", "&Contents"), "",
     QT_TRANSLATE_NOOP("Commands", "Help")},
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
constexpr std::array<MenuEntry, 17> kToolsMenu = {{{ID_SELECT_COM},
                                                   kSeparator,
                                                   {ID_ON_OFF},
                                                   {ID_CONTINUE_NEW_FILE},
                                                   kSeparator,
                                                   {ID_UNDO_ZOOM},
                                                   {ID_FOLLOW_READINGS},
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
    {QT_TRANSLATE_NOOP("Commands", "&File(F)"), kFileMenu},
    {QT_TRANSLATE_NOOP("Commands", "&Tools(T)"), kToolsMenu},
    {QT_TRANSLATE_NOOP("Commands", "&Help(H)"), kHelpMenu},
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

QString commandText(const char* text) {
    return *text ? QCoreApplication::translate("Commands", text) : QString();
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
