#pragma once
// The main window's placement as the settings keep it between runs: section "Window size" with "Rect"
// ("%04d %04d %04d %04d": left, top, right, bottom of the normal rectangle), "Icon" and "Max".

#include "base/platform/canvas.h"

#include <string>
#include <string_view>

namespace grovex {

class Settings;

// Reads the four integers at characters 0, 5, 10 and 15 (leading digits, as atoi does; 0 past the end).
Rect parsePlacementRect(std::string_view text);
std::string formatPlacementRect(const Rect& rect);

enum class ShowMode { Normal = 1, Maximized = 3, MinimizedNoActivate = 7 };

struct StartPlacement {
    Rect normal;
    ShowMode show = ShowMode::Normal;
    bool restoreToMaximized = false; // restoring from minimized goes to maximized
};

// The main window of a first start: 80 percent of the screen area left for windows (`available`, without
// task bars and docks), centred in it.
Rect firstStartRect(const Rect& available);

// How the main window shows at start, from the settings; with no rectangle stored, a normal window at
// firstStartRect(available).
StartPlacement readStartPlacement(const Settings& settings, const Rect& available);

// The main window as it closes.
struct ClosingPlacement {
    Rect normal;
    bool minimized = false;
    bool maximized = false;
    bool restoresMaximized = false; // minimized from the maximized state
};

void writeClosingPlacement(Settings& settings, const ClosingPlacement& placement);

} // namespace grovex
