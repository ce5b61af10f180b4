#pragma once

#include <span>
#include <string_view>

// The menus, accelerators and status-bar prompts of the program, as data: the main frame builds
// its menu bars from them, and the tests read the same table a user reads.
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
};

// Menu resources: the bar with no document open, a location window's and a field window's.
constexpr int kMainMenu = 257;
constexpr int kLocationMenu = 258;
constexpr int kFieldMenu = 259;

constexpr std::string_view kAppTitle = "Tillwise";
constexpr std::string_view kIdleText = "Tillwise is Ready";
constexpr std::string_view kHelpMenuText = "&Help";
constexpr std::string_view kWelcomeMenuText = "&Welcome ...";

/// A menu item: a command and its text ("\t" then the accelerator as the menu shows it), a
/// separator, or a pull-down menu of its own (an entry without a command). `prompt` names the
/// string of the status-bar prompt when it is not the command's own.
struct MenuEntry
{
    int command;
    std::string_view text;
    std::span<const MenuEntry> items = {};
    int prompt = 0;
};

/// The status-bar prompt an entry shows.
std::string_view entry_prompt(const MenuEntry &entry);

/// The top-level entries of a menu bar (257, 258 or 259); empty for any other number.
std::span<const MenuEntry> menu_bar(int resource);

/// The status-bar prompt of a command, and the tool tip after a line feed where there is one
/// ("Create a new document\nNew"); empty for a command without a prompt.
std::string_view command_prompt(int command);

/// The keys of the accelerator table, each bound to a command ("Ctrl+N", "Shift+F6").
struct Accelerator
{
    int command;
    std::string_view keys;
};
std::span<const Accelerator> accelerators();

/// The tool bar's buttons in order (kSeparator between groups).
std::span<const int> toolbar_commands();

} // namespace tw
