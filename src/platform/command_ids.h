#pragma once

// The numbers of the menu commands and menu bars, shared by the windows of every subsystem and the
// shell that builds the menus from them.
namespace tw {

enum Command : int {
    kSeparator = 0,
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_SOILS = 231,
    ID_STATIONS = 233,
    ID_TIP_OF_THE_DAY = 477,
    ID_CROPS = 2772,
    ID_CUSTOMIZE = 2773,
    ID_LOCATION_INFO = 2774,
    ID_GENERAL_INFO = 2775,
    ID_IMPORT_JVU_OLD = 2776,
    ID_FIELD_CROP = 2777,
    ID_FIELD_SOIL = 2778,
    ID_FERTILIZER_WIZARD = 2779,
    ID_INTERACTION = 2780,
    ID_LEACHING_SUMMARY = 2781,
    ID_IMPORT_USDA = 2782,
    ID_IMPORT_USDA_NO_RH = 2783,
    ID_VIEW_IRRIGATION = 2784,
    ID_VIEW_NITROGEN = 2785,
    ID_IMPORT_KANSAS = 2786,
    ID_IMPORT_JVU_NEW = 2788,
    ID_IMPORT_CSV = 2789,
    ID_IMPORT_SOIL_READINGS = 2795,
    ID_FORECAST_SKILL = 2796,
    ID_UPDATE_WEATHER = 2797,
    ID_FILE_EXPORT = 2791,
    ID_FARM_FOLDER = 2792,
    ID_VIEW_CHART = 2793,
    ID_VIEW_LEGEND = 2794,
};

// Menu resources: the bar with no document open, a location window's and a field window's.
constexpr int kMainMenu = 257;
constexpr int kLocationMenu = 258;
constexpr int kFieldMenu = 259;

} // namespace tw
