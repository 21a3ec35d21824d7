#pragma once

// Command identifiers shared by the menus, the toolbar, the accelerators and the
// enable rules.
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_PRINT = 57607,
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    ID_SAVE = 32814,
    ID_OPEN = 32843,
    ID_EXPORT_CSV = 32870,
    ID_CONTINUE_NEW_FILE = 32871,
    ID_SELECT_COM = 32818,
    ID_ON_OFF = 32826,
    ID_UNDO_ZOOM = 32811,
    ID_CLEAR_SCREEN = 32819,
    ID_CLEAR_ALL = 32820,
    ID_HELP_CONTENTS = 32779,
    ID_ALARM_NOTIFICATIONS = 32900,
    ID_ALARM_SOUND = 32901,
    ID_PUBLISH = 32902,
    ID_VIEW_RECORDINGS = 32903,
    ID_FOLLOW_READINGS = 32904,
};
