#include "qt/simulation_window.h"

#include "control/extract.h"
#include "qt/dialog_input_source.h"
#include "qt/icons.h"
#include "qt/platform/qt_canvas.h"
#include "qt/platform/qt_text.h"
#include "qt/results_widget.h"
#include "qt/tree_list_dialogs_qt.h"

#include <QCloseEvent>

namespace grovex {

// The view's part of a command, then the widget's scroll bars and a repaint. After Reset the emptied view
// shows its top.
class WidgetViewHooks : public ViewHooksFor {
public:
    WidgetViewHooks(CGROVEXView& view, ResultsWidget& widget) : ViewHooksFor(view), view_(view), widget_(widget) {}
    void refresh() override {
        ViewHooksFor::refresh();
        widget_.scrollChanged();
    }
    void resetViewState() override {
        ViewHooksFor::resetViewState();
        view_.setScrollPosition({0, 0});
        widget_.scrollChanged();
    }

private:
    CGROVEXView& view_;
    ResultsWidget& widget_;
};

SimulationWindow::SimulationWindow(std::shared_ptr<CGROVEXDoc> document, const ViewServices& services,
                                   std::shared_ptr<RunRecord> record, QWidget* parent)
    : QMdiSubWindow(parent), document_(std::move(document)), ui_(services.ui), clipboard_(services.clipboard),
      record_(record ? std::move(record) : std::make_shared<RunRecord>(document_)),
      stateFile_(temporaryStateDirectory(services.appDirectory) + kTemporaryStateFileName, *record_),
      playStateFile_(temporaryStateDirectory(services.appDirectory) + kPlayStateFileName, *record_) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    view_ = std::make_unique<CGROVEXView>(*document_, QtFontMetricsSource::screen(), services.settings, services.ui,
                                          services.clipboard, services.appDirectory);
    view_->OnInitialUpdate();
    widget_ = new ResultsWidget(*view_, this);
    setWidget(widget_);
    setFocusProxy(widget_);
    connect(widget_, &ResultsWidget::commandStateChanged, this, &SimulationWindow::commandStateChanged);
    viewHooks_ = std::make_unique<WidgetViewHooks>(*view_, *widget_);
    commandHooks_ = std::make_unique<RecordResetHooks>(*viewHooks_, *record_);
    macro_ = std::make_unique<MacroRecorder>(services.macroStore, *document_, ui_, playStateFile_,
                                             services.appDirectory, [this] { viewHooks_->refresh(); });
    setInputSource(std::make_unique<DialogInputSource>(this, ui_));
    updateTitle(1, 1);
}

// The widget refers to the view, so it goes first. A window destroyed while it records stops the recording.
SimulationWindow::~SimulationWindow() {
    projection_.reset();
    macroInputs_.reset();
    macro_.reset();
    commandHooks_.reset();
    viewHooks_.reset();
    delete widget_;
}

// The view's room for a table, the widget's frame, and the window's frame with its title bar.
QSize SimulationWindow::sizeForWholeTable() {
    ensurePolished();
    const Size table = view_->wholeTableSize();
    const QMargins frame = contentsMargins();
    const int border = 2 * widget_->frameWidth();
    return {table.width + border + frame.left() + frame.right(), table.height + border + frame.top() + frame.bottom()};
}

bool SimulationWindow::isProjectionCommand(int id) {
    switch (id) {
    case cmd::kInitializeAndProject:
    case cmd::kInitializeKey:
    case cmd::kMidrotationAndProject:
    case cmd::kMidrotationKey:
    case cmd::kProjectToNextTarget:
    case cmd::kNextTargetKey:
    case cmd::kReset:
    case cmd::kResetKey:
    case cmd::kChangeSimulationTreeList:
        return true;
    default:
        return false;
    }
}

bool SimulationWindow::isMacroCommand(int id) {
    switch (id) {
    case cmd::kRecordMacro:
    case cmd::kPlayMacro:
    case cmd::kStopMacro:
    case cmd::kStepMacro:
    case cmd::kSaveMacro:
    case cmd::kOpenMacro:
        return true;
    default:
        return false;
    }
}

bool SimulationWindow::projectionCommandEnabled(int id) const {
    if (isMacroCommand(id)) {
        return macro_->isEnabled(id);
    }
    return isProjectionCommand(id) && projection_->isEnabled(id);
}

void SimulationWindow::executeProjectionCommand(int id) {
    if (!projectionCommandEnabled(id)) {
        return;
    }
    if (isMacroCommand(id)) {
        macro_->execute(id);
    } else if (id == cmd::kChangeSimulationTreeList) {
        changeSimulationTreeList();
    } else {
        projection_->execute(id);
    }
    Q_EMIT commandStateChanged();
}

void SimulationWindow::setInputSource(std::unique_ptr<InputSource> inputs) {
    projection_.reset();
    macroInputs_.reset();
    inputs_ = std::move(inputs);
    macroInputs_ = std::make_unique<MacroInputSource>(*macro_, *inputs_);
    projection_ = std::make_unique<ProjectionCommands>(*document_, ui_, *macroInputs_, stateFile_, macro_.get(),
                                                       commandHooks_.get());
    projection_->setSaveAction(save_);
    macro_->setProjection([this] { projection_->project(); });
}

void SimulationWindow::setSaveAction(ProjectionCommands::SaveAction save) {
    save_ = std::move(save);
    projection_->setSaveAction(save_);
}

void SimulationWindow::changeSimulationTreeList() {
    const auto runDialog = [this](treeListStateDlg& form) {
        TreeListStateDialog dialog(form, this);
        return dialog.exec() == QDialog::Accepted;
    };
    ChangeCurrentSimulationTreeList(*document_, ui_, clipboard_, treeValuesEditor(ui_), runDialog,
                                    [this] { viewHooks_->refresh(); });
}

void SimulationWindow::updateTitle(int number, int count) {
    QString title = toQString(document_->title());
    if (count > 1) {
        title += QStringLiteral(":%1").arg(number);
    }
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(document_->isModified());
}

void SimulationWindow::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_(*this)) {
        event->ignore();
        return;
    }
    if (macro_->recording()) {
        macro_->stop();
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace grovex
