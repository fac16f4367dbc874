#pragma once
// The application icon and the tool bar button images. Buttons for the common file, edit and macro commands
// use the desktop's icon theme when it has them and Qt's standard images otherwise; the simulation's own
// commands have images drawn here.

#include <QIcon>

class QPainter;
class QStyle;

namespace grovex {

// A small pine in a rounded square: the main window, the About box and the simulation windows.
QIcon applicationIcon();

// Paints the application icon into the square (0, 0, size, size): for the icon files an installation puts
// beside the desktop's other application icons.
void paintApplicationIcon(QPainter& p, qreal size);

// The image of the tool bar button of command `id`; a null icon for an id without a button.
QIcon toolbarIcon(int id, const QStyle& style);

} // namespace grovex
