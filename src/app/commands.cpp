#include "app/commands.h"

#include "platform/edition.h"

#include <array>

namespace tw {
namespace {

using E = MenuEntry;

constexpr std::string_view kImportFromServicePrompt =
    "Import Weather Data Downloaded From http://weather.tillwise.example";

struct Prompt
{
    int id;
    std::string_view text;
};

// The program's own prompts, then the framework's standard ones (their tool tips after "\n").
constexpr std::array kPrompts = {
    Prompt{ID_SOILS, "Edit Soil Databases"},
    Prompt{ID_STATIONS, "Edit Stations Database"},
    Prompt{ID_CROPS, "Edit Crops Database"},
    Prompt{ID_CUSTOMIZE, "Customize Calculation Methods and Units Preferences"},
    Prompt{ID_LOCATION_INFO, "Edit Location General Information"},
    Prompt{ID_GENERAL_INFO, "Edit General Field Information"},
    Prompt{ID_IMPORT_JVU_OLD, kImportFromServicePrompt},
    Prompt{ID_IMPORT_JVU_NEW, kImportFromServicePrompt},
    Prompt{ID_FIELD_CROP, "Edit the Information about this years crop"},
    Prompt{ID_FIELD_SOIL, "Edit the Fields Soil Data"},
    Prompt{ID_FERTILIZER_WIZARD, "Access Fertilizer Wizard to plan Fertilizer scheduling"},
    Prompt{ID_INTERACTION, "Analysis of affects of Irrigation and Fertlization Interaction"},
    Prompt{ID_LEACHING_SUMMARY, "View Summation of Leaching Analysis "},
    Prompt{ID_IMPORT_USDA, "Import Weather Data in USDA defined comma delineated format"},
    Prompt{ID_IMPORT_USDA_NO_RH, "Import Weather Data in USDA defined comma delineated format, "
                                 "excluding relative humidity"},
    Prompt{ID_VIEW_IRRIGATION, "ViewFields Irrigation Scheduling Screen "},
    Prompt{ID_VIEW_NITROGEN, "View the Nitrogen applications and related leaching values Screen"},
    Prompt{ID_IMPORT_KANSAS, "Import weather data from Kansas Statue file format"},
    Prompt{ID_IMPORT_SOIL_READINGS, "Enter soil-water probe readings from a CSV file"},
    Prompt{ID_FORECAST_SKILL,
           "Compare the soil-moisture overrides with what the balance predicted"},
    Prompt{ID_IMPORT_CSV, "Import weather data from a station's CSV file, choosing each column and "
                          "its unit"},
    Prompt{ID_UPDATE_WEATHER, "Fetch the days after the last day with data from the location's "
                              "weather source"},
    Prompt{ID_TIP_OF_THE_DAY, "Displays a Tip of the Day."},
    Prompt{ID_FILE_EXPORT, "Export the active table to a CSV file for a spreadsheet\nExport"},
    Prompt{ID_FARM_FOLDER, "Choose the farm folder that holds the reference files"},
    Prompt{ID_VIEW_CHART, "Show or hide the water-balance chart of the season"},
    Prompt{ID_VIEW_LEGEND, "Explain the pictures of the irrigation table"},
    Prompt{ID_FILE_NEW, "Create a new document\nNew"},
    Prompt{ID_FILE_OPEN, "Open an existing document\nOpen"},
    Prompt{ID_FILE_CLOSE, "Close the active document\nClose"},
    Prompt{ID_FILE_SAVE, "Save the active document\nSave"},
    Prompt{ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    Prompt{ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    Prompt{ID_FILE_PRINT, "Print the active document\nPrint"},
    Prompt{ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
    Prompt{ID_FILE_MRU_FILE1, "Open this document"},
    Prompt{ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    Prompt{ID_HELP_FINDER, "Open the user's guide at its contents\nHelp"},
    Prompt{ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    Prompt{ID_EDIT_UNDO, "Undo the last action\nUndo"},
    Prompt{ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    Prompt{ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    Prompt{ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    Prompt{ID_WINDOW_NEW, "Open another window for the active document\nNew Window"},
    Prompt{ID_WINDOW_CASCADE, "Arrange windows so they overlap\nCascade Windows"},
    Prompt{ID_WINDOW_TILE_HORZ, "Arrange windows as non-overlapping tiles\nTile Windows"},
    Prompt{ID_WINDOW_ARRANGE, "Arrange icons at the bottom of the window\nArrange Icons"},
    Prompt{ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    Prompt{ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    Prompt{ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
    Prompt{ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
};

constexpr E kSep{kSeparator, {}};

constexpr std::array kMainFile = {
    E{ID_FILE_NEW, "&New\tCtrl+N"},
    E{ID_FILE_OPEN, "&Open...\tCtrl+O"},
    E{ID_FARM_FOLDER, "&Farm Folder..."},
    kSep,
    E{ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    kSep,
    E{ID_FILE_MRU_FILE1, "Recent File"},
    kSep,
    E{ID_APP_EXIT, "E&xit"},
};
constexpr std::array kDocumentFile = {
    E{ID_FILE_NEW, "&New\tCtrl+N"},
    E{ID_FILE_OPEN, "&Open...\tCtrl+O"},
    E{ID_FILE_CLOSE, "&Close"},
    E{ID_FILE_SAVE, "&Save\tCtrl+S"},
    E{ID_FILE_SAVE_AS, "Save &As..."},
    E{ID_FILE_EXPORT, "&Export..."},
    E{ID_FARM_FOLDER, "&Farm Folder..."},
    kSep,
    E{ID_FILE_PRINT, "&Print...\tCtrl+P"},
    E{ID_FILE_PRINT_PREVIEW, "Print Preview"},
    E{ID_FILE_PRINT_SETUP, "P&rint Setup..."},
    kSep,
    E{ID_FILE_MRU_FILE1, "Recent File"},
    kSep,
    E{ID_APP_EXIT, "E&xit"},
};
// A field's File menu also takes probe readings.
constexpr std::array kFieldFile = {
    kDocumentFile[0],  kDocumentFile[1],  kDocumentFile[2],
    kDocumentFile[3],  kDocumentFile[4],  E{ID_IMPORT_SOIL_READINGS, "Import Soil Readings..."},
    kDocumentFile[5],  kDocumentFile[6],  kDocumentFile[7],
    kDocumentFile[8],  kDocumentFile[9],  kDocumentFile[10],
    kDocumentFile[11], kDocumentFile[12],
};
// The framework's editing commands head both documents' Edit menus.
template<std::size_t N>
constexpr std::array<E, N + 6> after_standard_edit(const std::array<E, N> &own)
{
    std::array<E, N + 6> items = {
        E{ID_EDIT_UNDO, "&Undo\tCtrl+Z"},   kSep,
        E{ID_EDIT_CUT, "Cu&t\tCtrl+X"},     E{ID_EDIT_COPY, "&Copy\tCtrl+C"},
        E{ID_EDIT_PASTE, "&Paste\tCtrl+V"}, kSep,
    };
    for (std::size_t i = 0; i < N; ++i)
        items[6 + i] = own[i];
    return items;
}

constexpr auto kLocationEdit = after_standard_edit(std::array{
    // Command 2775 is shared with the field window; here it edits the location, so it shows the
    // location's prompt.
    E{ID_GENERAL_INFO, "General Location/Station Info", {}, ID_LOCATION_INFO},
    E{ID_CUSTOMIZE, "Customization Preferences"},
});
constexpr auto kFieldEdit = after_standard_edit(std::array{
    E{ID_GENERAL_INFO, "Field General"},
    E{ID_FIELD_CROP, "Field's Crop Data"},
    E{ID_FIELD_SOIL, "Field's Soil Data"},
    E{ID_CUSTOMIZE, "Customization Preferences"},
});
constexpr std::array kImport = {
    E{ID_IMPORT_JVU_NEW, "JVU (new)"},
    E{ID_IMPORT_JVU_OLD, "JVU (old)"},
    E{ID_IMPORT_USDA, "USDA"},
    E{ID_IMPORT_USDA_NO_RH, "USDA (no RH)"},
    E{ID_IMPORT_KANSAS, "Kansas State"},
    E{ID_IMPORT_CSV, "CSV..."},
    E{ID_UPDATE_WEATHER, "Update Weather"},
};
constexpr std::array kDatabases = {
    E{ID_SOILS, "Soils"},
    E{ID_STATIONS, "Stations"},
    E{ID_CROPS, "Crops"},
};
constexpr std::array kConsult = {
    E{ID_FERTILIZER_WIZARD, "Fertilizer Consultation"},
    E{ID_LEACHING_SUMMARY, "Leaching Summary"},
    E{ID_FORECAST_SKILL, "Forecast Skill..."},
};
constexpr std::array kView = {
    E{ID_VIEW_TOOLBAR, "&Toolbar"},
    E{ID_VIEW_STATUS_BAR, "&Status Bar"},
};
constexpr std::array kFieldView = {
    kView[0],
    kView[1],
    kSep,
    E{ID_VIEW_IRRIGATION, "ViewFields Irrigation Scheduling Screen "},
    E{ID_VIEW_NITROGEN, "View the Nitrogen applications and related leaching values Screen"},
    kSep,
    E{ID_VIEW_CHART, "Water-Balance &Chart"},
    E{ID_VIEW_LEGEND, "&Legend"},
};
constexpr std::array kWindow = {
    E{ID_WINDOW_NEW, "&New Window"},
    E{ID_WINDOW_CASCADE, "&Cascade"},
    E{ID_WINDOW_TILE_HORZ, "&Tile"},
    E{ID_WINDOW_ARRANGE, "&Arrange Icons"},
};
constexpr std::array kHelp = {
    E{ID_HELP_FINDER, "Tillwise &Help\tF1"},
    E{ID_APP_ABOUT, "&About Tillwise..."},
};

constexpr std::array kMainBar = {
    E{kSeparator, "&File", kMainFile},   E{kSeparator, "&Databases", kDatabases},
    E{ID_CUSTOMIZE, "Customize"},        E{kSeparator, "&View", kView},
    E{kSeparator, kHelpMenuText, kHelp},
};
constexpr std::array kLocationBar = {
    E{kSeparator, "&File", kDocumentFile}, E{kSeparator, "&Edit", kLocationEdit},
    E{kSeparator, "&Import", kImport},     E{kSeparator, "&Databases", kDatabases},
    E{kSeparator, "&View", kView},         E{kSeparator, "&Window", kWindow},
    E{kSeparator, kHelpMenuText, kHelp},
};
constexpr std::array kFieldBar = {
    E{kSeparator, "&File", kFieldFile},      E{kSeparator, "&Edit", kFieldEdit},
    E{kSeparator, "&Databases", kDatabases}, E{kSeparator, "&Consult", kConsult},
    E{kSeparator, "&View", kFieldView},      E{kSeparator, "&Window", kWindow},
    E{kSeparator, kHelpMenuText, kHelp},
};

constexpr std::array kAccelerators = {
    Accelerator{ID_FILE_NEW, "Ctrl+N"},   Accelerator{ID_FILE_OPEN, "Ctrl+O"},
    Accelerator{ID_FILE_SAVE, "Ctrl+S"},  Accelerator{ID_FILE_PRINT, "Ctrl+P"},
    Accelerator{ID_EDIT_UNDO, "Ctrl+Z"},  Accelerator{ID_EDIT_UNDO, "Alt+Backspace"},
    Accelerator{ID_EDIT_CUT, "Ctrl+X"},   Accelerator{ID_EDIT_CUT, "Shift+Del"},
    Accelerator{ID_EDIT_COPY, "Ctrl+C"},  Accelerator{ID_EDIT_COPY, "Ctrl+Ins"},
    Accelerator{ID_EDIT_PASTE, "Ctrl+V"}, Accelerator{ID_EDIT_PASTE, "Shift+Ins"},
    Accelerator{ID_NEXT_PANE, "F6"},      Accelerator{ID_PREV_PANE, "Shift+F6"},
};

constexpr std::array kToolbar = {
    static_cast<int>(ID_FILE_NEW),  static_cast<int>(ID_FILE_OPEN),  static_cast<int>(ID_FILE_SAVE),
    static_cast<int>(kSeparator),   static_cast<int>(ID_FILE_PRINT), static_cast<int>(kSeparator),
    static_cast<int>(ID_CUSTOMIZE), static_cast<int>(ID_APP_ABOUT),
};

} // namespace

std::span<const MenuEntry> menu_bar(int resource)
{
    switch (resource) {
    case kMainMenu: return kMainBar;
    case kLocationMenu: return kLocationBar;
    case kFieldMenu: return kFieldBar;
    default: return {};
    }
}

std::string_view app_title()
{
    return edition().program_name;
}

std::string idle_text()
{
    return std::string(app_title()) + " is Ready";
}

std::string_view entry_text(const MenuEntry &entry)
{
    const Edition &e = edition();
    if (!e.separate_jvu_imports && entry.command == ID_IMPORT_JVU_NEW)
        return {};
    if (!e.separate_jvu_imports && entry.command == ID_IMPORT_JVU_OLD)
        return "JVU";
    if (!e.tip_window && entry.command == ID_TIP_OF_THE_DAY)
        return {};
    // The station-network import came after the earlier release, whose users had the line formats.
    if ((entry.command == ID_IMPORT_CSV || entry.command == ID_UPDATE_WEATHER) && &e == &release1())
        return {};
    if (entry.command == ID_HELP_FINDER && !has_guide())
        return {};
    if (entry.command == ID_APP_ABOUT && &e == &release1())
        return "&About Tillwise 1...";
    return entry.text;
}

bool has_guide()
{
    return &edition() != &release1();
}

std::string_view command_prompt(int command)
{
    for (const Prompt &p : kPrompts) {
        if (p.id == command)
            return p.text;
    }
    return {};
}

std::string_view entry_prompt(const MenuEntry &entry)
{
    return command_prompt(entry.prompt != 0 ? entry.prompt : entry.command);
}

std::span<const Accelerator> accelerators()
{
    return kAccelerators;
}

std::span<const int> toolbar_commands()
{
    return kToolbar;
}

} // namespace tw
