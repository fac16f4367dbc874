#pragma once
// The tree list window: the application's one tree list document, its grid and the widget that shows it, and
// the window's file commands. The caption is always "Tree List", whatever the document's title. Closing a
// modified list asks "Save the Tree List before closing?".

#include "treelist/tree_list_commands.h"
#include "treelist/tree_list_document.h"
#include "treelist/tree_list_view.h"

#include <QMdiSubWindow>

#include <functional>
#include <memory>

namespace grovex {

class TreeListWidget;
struct ViewServices;

class TreeListWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    explicit TreeListWindow(const ViewServices& services, QWidget* parent = nullptr);
    ~TreeListWindow() override;

    treeListDoc& document() { return document_; }
    treeListView& view() { return *view_; }
    TreeListCommands& commands() { return *commands_; }
    TreeListWidget& widget() { return *widget_; }

    // The commands of menu 135 that the window answers (Open, Close, Save, Save As, Print, Print Preview,
    // editing, Insert Row, Delete Selected Rows, Reset and the grid's keys).
    bool commandEnabled(int id) const;
    void executeCommand(int id);
    // Stores what the in-place editor holds, as a commit does; file commands, Save All and closing do this
    // first so that a typed value is not lost.
    void commitEditing();

    // Asked before the window closes instead of the save question; answering false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }

signals:
    // A command ran, the selection changed or a cell was edited.
    void commandStateChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Ui& ui_;
    treeListDoc document_;
    std::unique_ptr<treeListView> view_;
    std::unique_ptr<TreeListCommands> commands_;
    TreeListWidget* widget_ = nullptr;
    std::function<bool()> closeGuard_;
};

} // namespace grovex
