#include "qt/command_actions.h"

#include "app/commands.h"
#include "app/menus.h"
#include "qt/icons.h"
#include "qt/platform/qt_text.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

namespace grovex {
namespace {

using namespace appcmd;
using namespace cmd;

// The menu text of a command: its first appearance in the menus, or its tool tip for commands that only
// have a button or a key.
QString commandText(int id) {
    for (const MenuBar* bar : {&noDocumentMenu(), &simulationMenu(), &treeListMenu()}) {
        for (const MenuPopup& popup : *bar) {
            for (const MenuItem& item : popup.items) {
                if (item.kind == MenuItem::Kind::Command && item.id == id) {
                    return toQString(item.text);
                }
            }
        }
    }
    return toQString(toolTip(id));
}

QList<QKeySequence> shortcutsOf(int id) {
    QList<QKeySequence> keys;
    for (const Accelerator& accelerator : accelerators()) {
        if (accelerator.id == id) {
            keys.append(QKeySequence(toQString(accelerator.key), QKeySequence::PortableText));
            if (accelerator.key == "Return") {
                keys.append(QKeySequence(Qt::Key_Enter)); // the keypad's Enter is the same key to the user
            }
        }
    }
    return keys;
}

bool isCheckable(int id) {
    return id == kViewToolbar || id == kViewStatusBar || id == kViewAllTables || id == kViewCharts;
}

} // namespace

CommandActions::CommandActions(QMainWindow& window) : QObject(&window) {
    for (const int id : allCommandIds()) {
        makeAction(id, window);
    }
    for (int i = 0; i < kRecentFileCount; ++i) {
        makeAction(kRecentFile1 + i, window);
    }

    for (const auto& [menuId, bar] :
         {std::pair{kMenuNoDocument, &noDocumentMenu()}, std::pair{kMenuSimulation, &simulationMenu()},
          std::pair{kMenuTreeList, &treeListMenu()}}) {
        for (const MenuPopup& popup : *bar) {
            QMenu* menu = buildPopup(window, popup);
            menus_[menuId].push_back(menu);
            if (popup.text == "&Window") {
                windowMenus_.push_back(menu);
            }
        }
    }

    toolBar_ = new QToolBar(QStringLiteral("Standard"), &window);
    toolBar_->setObjectName(QStringLiteral("ToolBar")); // the name the saved bar state refers to
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    for (const int id : toolbarButtons()) {
        if (id == kToolbarSeparator) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(action(id));
        }
    }
    setRecentFiles({});
}

QAction* CommandActions::makeAction(int id, QMainWindow& window) {
    auto* action = new QAction(commandText(id), &window);
    action->setData(id);
    action->setStatusTip(toQString(statusPrompt(id)));
    action->setToolTip(toQString(toolTip(id)));
    action->setCheckable(isCheckable(id));
    action->setShortcuts(shortcutsOf(id));
    action->setShortcutContext(Qt::WindowShortcut);
    action->setIcon(toolbarIcon(id, *window.style()));
    action->setIconVisibleInMenu(false);
    connect(action, &QAction::triggered, this, [this, id] { emit commandTriggered(id); });
    window.addAction(action);
    actions_[id] = action;
    return action;
}

QMenu* CommandActions::buildPopup(QMainWindow& window, const MenuPopup& popup) {
    auto* menu = new QMenu(toQString(popup.text), &window);
    for (const MenuItem& item : popup.items) {
        switch (item.kind) {
        case MenuItem::Kind::Command:
            menu->addAction(action(item.id));
            break;
        case MenuItem::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuItem::Kind::RecentFiles:
            for (int i = 0; i < kRecentFileCount; ++i) {
                menu->addAction(action(kRecentFile1 + i));
            }
            break;
        }
    }
    return menu;
}

QAction* CommandActions::action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

const std::vector<QMenu*>& CommandActions::menus(int menuId) const {
    static const std::vector<QMenu*> none;
    const auto it = menus_.find(menuId);
    return it == menus_.end() ? none : it->second;
}

void CommandActions::setRecentFiles(const std::vector<QString>& menuTexts) {
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* entry = action(kRecentFile1 + i);
        if (i < static_cast<int>(menuTexts.size())) {
            entry->setText(menuTexts[i]);
            entry->setVisible(true);
        } else {
            entry->setText(QStringLiteral("Recent File"));
            entry->setVisible(i == 0 && menuTexts.empty());
        }
    }
}

} // namespace grovex
