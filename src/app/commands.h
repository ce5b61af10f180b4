#pragma once

#include "platform/command_ids.h"

#include <span>
#include <string>
#include <string_view>

// The menus, accelerators and status-bar prompts of the program, as data: the main frame builds
// its menu bars from them, and the tests read the same table a user reads.
namespace tw {

/// Help > Tillwise Help: a command of the shell alone, numbered as the framework numbers its help.
constexpr int ID_HELP_FINDER = 57667;

constexpr std::string_view kAppTitle = "Tillwise";
/// The program's name as the running edition calls it ("Tillwise", "Tillwise 1").
std::string_view app_title();
/// The status bar's text while no prompt shows ("Tillwise is Ready").
std::string idle_text();
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

/// The text an entry shows in the running edition; empty for a command the edition does not
/// have (the earlier release has one "JVU" import, the old line format, and no welcome window).
std::string_view entry_text(const MenuEntry &entry);

/// Whether the running edition has the user's guide (Help > Tillwise Help, and F1): the guide
/// describes this release; the earlier one had none.
bool has_guide();

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
