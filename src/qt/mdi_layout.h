#pragma once
// Placing the child windows of the main window's MDI area: where a new one goes, Cascade, Arrange Icons,
// and the list of windows at the end of the Window menu.

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace grovex {

void placeNewChild(QMdiArea& area, QMdiSubWindow& window);
void cascadeChildren(QMdiArea& area);
void arrangeIcons(QMdiArea& area);
// Replaces the window entries after the menu's own items; choosing one calls `activate` with its window.
void fillWindowMenu(QMdiArea& area, QMenu& menu, const std::function<void(QMdiSubWindow*)>& activate);

} // namespace grovex
