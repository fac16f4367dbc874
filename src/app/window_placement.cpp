#include "app/window_placement.h"

#include "base/c_format.h"
#include "base/platform/settings.h"

namespace grovex {
namespace {

constexpr std::string_view kSection = "Window size";

int integerAt(std::string_view text, size_t position) {
    return position < text.size() ? cAtoi(text.substr(position)) : 0;
}

} // namespace

Rect parsePlacementRect(std::string_view text) {
    return {integerAt(text, 0), integerAt(text, 5), integerAt(text, 10), integerAt(text, 15)};
}

std::string formatPlacementRect(const Rect& rect) {
    return cformat("%04d %04d %04d %04d", rect.left, rect.top, rect.right, rect.bottom);
}

Rect firstStartRect(const Rect& available) {
    const int width = available.width() * 4 / 5;
    const int height = available.height() * 4 / 5;
    const int left = available.left + (available.width() - width) / 2;
    const int top = available.top + (available.height() - height) / 2;
    return {left, top, left + width, top + height};
}

StartPlacement readStartPlacement(const Settings& settings, const Rect& available) {
    StartPlacement placement;
    const std::string rect = settings.stringOr(kSection, "Rect", "");
    placement.normal = rect.empty() ? firstStartRect(available) : parsePlacementRect(rect);
    const bool icon = settings.intOr(kSection, "Icon", 0) != 0;
    const bool max = settings.intOr(kSection, "Max", 0) != 0;
    if (icon) {
        placement.show = ShowMode::MinimizedNoActivate;
        placement.restoreToMaximized = max;
    } else if (max) {
        placement.show = ShowMode::Maximized;
        placement.restoreToMaximized = true;
    }
    return placement;
}

void writeClosingPlacement(Settings& settings, const ClosingPlacement& placement) {
    settings.writeString(kSection, "Rect", formatPlacementRect(placement.normal));
    settings.writeInt(kSection, "Icon", placement.minimized ? 1 : 0);
    const bool max = placement.minimized ? placement.restoresMaximized : placement.maximized;
    settings.writeInt(kSection, "Max", max ? 1 : 0);
}

} // namespace grovex
