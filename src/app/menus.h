#pragma once
// The main window's resources as plain tables: the menu without a document (128), the menu of a simulation
// window (129), the menu of the tree list window (135), the tool bar (128) and the accelerator table (128). The desktop
// front end builds its menus, tool bar and shortcuts from these tables, so their order, access keys and shortcut texts
// live here once.

#include <span>
#include <string_view>
#include <vector>

namespace grovex {

// One entry of a drop-down menu. A command item shows `text` ("&" marks the access key, "\t" starts the
// shortcut text); a separator and the recent-file list carry no text of their own.
struct MenuItem {
    enum class Kind { Command, Separator, RecentFiles };
    Kind kind = Kind::Command;
    std::string_view text;
    int id = 0;
};

struct MenuPopup {
    std::string_view text;
    std::vector<MenuItem> items;
};

using MenuBar = std::vector<MenuPopup>;

inline constexpr int kMenuNoDocument = 128;
inline constexpr int kMenuSimulation = 129;
inline constexpr int kMenuTreeList = 135;

// Menu 128 (no document window active), menu 129 (a simulation window active) and menu 135 (the tree list
// window active).
const MenuBar& noDocumentMenu();
const MenuBar& simulationMenu();
const MenuBar& treeListMenu();

// Tool bar 128: command ids in button order, 0 for a separator.
inline constexpr int kToolbarSeparator = 0;
std::span<const int> toolbarButtons();

// One accelerator: the key in portable text form ("Ctrl+Shift+Down", "Alt+Backspace", "F6") and its command.
struct Accelerator {
    std::string_view key;
    int id = 0;
};
std::span<const Accelerator> accelerators();

// Every command id that appears in the menus, the tool bar or the accelerators, each once, in that order.
std::vector<int> allCommandIds();

} // namespace grovex
