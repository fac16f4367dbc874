#pragma once
// Placing the child windows of the main window's MDI area: where a new one goes, Cascade, Arrange Icons,
// and the list of windows at the end of the Window menu.

#include <QSize>

#include <functional>
#include <optional>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace grovex {

// A new child window goes a title bar lower than the one before. It takes `wanted` (its outer size) when
// given, else three quarters of the area, but no more than the area leaves right of and below it.
void placeNewChild(QMdiArea& area, QMdiSubWindow& window, std::optional<QSize> wanted = std::nullopt);
void cascadeChildren(QMdiArea& area);
void arrangeIcons(QMdiArea& area);
// Replaces the window entries after the menu's own items; choosing one calls `activate` with its window.
void fillWindowMenu(QMdiArea& area, QMenu& menu, const std::function<void(QMdiSubWindow*)>& activate);

} // namespace grovex
