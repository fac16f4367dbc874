#pragma once
// The main window's actions, menus and tool bar, built from the command tables of the application: one
// QAction per command id with its menu text, shortcuts, status prompt, tool tip and button image.

#include <QObject>

#include <map>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace grovex {

struct MenuPopup;

class CommandActions : public QObject {
    Q_OBJECT

public:
    // The actions are added to `window`, so that their shortcuts work wherever the focus is inside it.
    explicit CommandActions(QMainWindow& window);

    QAction* action(int id) const;
    const std::map<int, QAction*>& actions() const { return actions_; }

    // The drop-down menus of menu resource 128 (no document), 129 (a simulation window) or 135 (the tree list
    // window).
    const std::vector<QMenu*>& menus(int menuId) const;
    // The "&Window" menu of menu 129, which lists the open windows after its own items.
    QMenu* windowMenu() const { return windowMenus_.empty() ? nullptr : windowMenus_.front(); }
    // The "&Window" menus of menus 129 and 135.
    const std::vector<QMenu*>& windowMenus() const { return windowMenus_; }
    QToolBar* toolBar() const { return toolBar_; }

    // The recent-file entries of the File menus: one text per file ("&1 name"); none shows a disabled
    // "Recent File".
    void setRecentFiles(const std::vector<QString>& menuTexts);

signals:
    void commandTriggered(int id);

private:
    QAction* makeAction(int id, QMainWindow& window);
    QMenu* buildPopup(QMainWindow& window, const MenuPopup& popup);

    std::map<int, QAction*> actions_;
    std::map<int, std::vector<QMenu*>> menus_;
    std::vector<QMenu*> windowMenus_;
    QToolBar* toolBar_ = nullptr;
};

} // namespace grovex
