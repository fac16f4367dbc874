#include "qt/tree_list_window.h"

#include "qt/icons.h"
#include "qt/platform/qt_canvas.h"
#include "qt/simulation_window.h"
#include "qt/tree_list_dialogs_qt.h"
#include "qt/tree_list_widget.h"

#include <QCloseEvent>

namespace grovex {

using namespace cmd;

TreeListWindow::TreeListWindow(const ViewServices& services, QWidget* parent)
    : QMdiSubWindow(parent), ui_(services.ui) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    setWindowTitle(QStringLiteral("Tree List"));

    view_ = std::make_unique<treeListView>(document_, QtFontMetricsSource::screen(), services.ui, services.clipboard);
    view_->OnInitialUpdate();
    commands_ = std::make_unique<TreeListCommands>(document_, *view_, services.ui, services.appDirectory);
    widget_ = new TreeListWidget(*view_, this);
    view_->setRowCountAsker([this] { return askInsertRowCount(ui_, this); });
    setWidget(widget_);
    setFocusProxy(widget_);
    resize(460, 300);
    connect(widget_, &TreeListWidget::commandStateChanged, this, &TreeListWindow::commandStateChanged);
}

// The widget refers to the grid, so it goes first.
TreeListWindow::~TreeListWindow() {
    delete widget_;
}

bool TreeListWindow::commandEnabled(int id) const {
    return commands_->isEnabled(id);
}

void TreeListWindow::commitEditing() {
    if (view_->editing()) {
        view_->commitEdit(view_->editorText());
    }
}

void TreeListWindow::executeCommand(int id) {
    switch (id) {
    case kFileOpen:
    case kFileSave:
    case kFileSaveAs:
    case kReset:
    case kResetKey:
        commitEditing();
        break;
    default:
        break;
    }
    switch (id) {
    case kFileClose:
        close();
        return;
    case kFilePrint:
    case kFilePrintPreview:
        commitEditing();
        widget_->executeCommand(id);
        break;
    default:
        commands_->execute(id);
        break;
    }
    Q_EMIT commandStateChanged();
}

void TreeListWindow::closeEvent(QCloseEvent* event) {
    commitEditing();
    const bool mayClose = closeGuard_ ? closeGuard_() : commands_->queryClose();
    if (!mayClose) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace grovex
