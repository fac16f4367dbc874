#include "qt/mdi_layout.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStyle>

#include <algorithm>
#include <vector>

namespace grovex {

void placeNewChild(QMdiArea& area, QMdiSubWindow& window, std::optional<QSize> wanted) {
    const QSize room = area.viewport()->size();
    int others = 0;
    for (QMdiSubWindow* child : area.subWindowList()) {
        others += child != &window && !child->isHidden() ? 1 : 0;
    }
    const int step = area.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) + 4;
    const int offset = (others % 8) * step;
    const QSize size = wanted.value_or(QSize(room.width() * 3 / 4, room.height() * 3 / 4));
    window.setGeometry(offset, offset, std::max(320, std::min(size.width(), room.width() - offset)),
                       std::max(240, std::min(size.height(), room.height() - offset)));
}

// The shown windows one title bar apart, each as large as the area leaves room for, the active one in front.
void cascadeChildren(QMdiArea& area) {
    std::vector<QMdiSubWindow*> windows;
    QMdiSubWindow* active = area.currentSubWindow();
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::StackingOrder)) {
        if (!window->isHidden() && !window->isMinimized()) {
            windows.push_back(window);
        }
    }
    const auto front = std::find(windows.begin(), windows.end(), active);
    if (front != windows.end()) {
        std::rotate(front, front + 1, windows.end());
    }
    const QSize room = area.viewport()->size();
    const int step = area.style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4;
    const int shift = static_cast<int>(windows.size() - 1) * step;
    const QSize size(std::max(320, room.width() - shift), std::max(240, room.height() - shift));
    int offset = 0;
    for (QMdiSubWindow* window : windows) {
        window->showNormal();
        window->setGeometry(QRect(QPoint(offset, offset), size));
        window->raise();
        offset += step;
    }
    if (active != nullptr && !active->isHidden()) {
        area.setActiveSubWindow(active);
    }
}

// Minimized windows in a row along the bottom of the area.
void arrangeIcons(QMdiArea& area) {
    int x = 0;
    const int bottom = area.viewport()->height();
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isVisible() && window->isMinimized()) {
            window->move(x, bottom - window->height());
            x += window->width();
        }
    }
}

// The open windows after the menu's own items, the active one checked.
void fillWindowMenu(QMdiArea& area, QMenu& menu, const std::function<void(QMdiSubWindow*)>& activate) {
    for (QAction* action : menu.actions()) {
        if (action->property("windowEntry").toBool()) {
            menu.removeAction(action);
            action->deleteLater();
        }
    }
    int number = 0;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isHidden()) {
            continue;
        }
        QAction* entry = nullptr;
        if (number == 0) {
            entry = menu.addSeparator();
            entry->setProperty("windowEntry", true);
        }
        ++number;
        QString title = window->windowTitle().replace(QLatin1String("[*]"), QString());
        entry = menu.addAction(QStringLiteral("&%1 %2").arg(number).arg(title.replace(QLatin1Char('&'), "&&")));
        entry->setProperty("windowEntry", true);
        entry->setCheckable(true);
        entry->setChecked(window == area.currentSubWindow());
        QObject::connect(entry, &QAction::triggered, &area, [activate, target = QPointer<QMdiSubWindow>(window)] {
            if (target != nullptr) {
                activate(target);
            }
        });
    }
}

} // namespace grovex
