#pragma once
// A child window of a simulation: one document, one results view of it and the widget that shows the view.
// Several windows may show the same document ("New Window"); the document lives while one of them does.

#include "app/run_record.h"
#include "control/macro_recorder.h"
#include "control/projection.h"
#include "results/document.h"
#include "results/view.h"

#include <QMdiSubWindow>

#include <functional>
#include <memory>
#include <string>

namespace grovex {

class ResultsWidget;
class Clipboard;
class Settings;
class Ui;
class WidgetViewHooks;

// What every results view of the application shares.
struct ViewServices {
    Settings& settings;
    Ui& ui;
    Clipboard& clipboard;
    std::string appDirectory;
    MacroStore& macroStore; // the application's one macro
};

class SimulationWindow : public QMdiSubWindow {
    Q_OBJECT

public:
    // `record`: the run record of the document's other windows; a new one for the first window.
    SimulationWindow(std::shared_ptr<CGROVEXDoc> document, const ViewServices& services,
                     std::shared_ptr<RunRecord> record = nullptr, QWidget* parent = nullptr);
    ~SimulationWindow() override;

    CGROVEXDoc& document() { return *document_; }
    const std::shared_ptr<CGROVEXDoc>& sharedDocument() const { return document_; }
    CGROVEXView& view() { return *view_; }
    ResultsWidget& resultsWidget() { return *widget_; }
    // The stand of every year of the document's latest run, which the Stand Value window values.
    const std::shared_ptr<RunRecord>& runRecord() const { return record_; }

    // The outer size at which the view shows a whole table at its font without scrolling.
    QSize sizeForWholeTable();

    // The caption: the document's title, ":n" when `count` windows show it, and the modified mark.
    void updateTitle(int number, int count);

    // Asked before the window closes; answering false keeps it open.
    void setCloseGuard(std::function<bool(SimulationWindow&)> guard) { closeGuard_ = std::move(guard); }

    // The projection commands of the view (Initialize and Project, Midrotation Treatment and Project, Project
    // to next target, Reset, their keys), Change Current Simulation Tree List and the Macro menu (Record, Play,
    // Stop, Step, Save and Open Macro).
    static bool isProjectionCommand(int id);
    static bool isMacroCommand(int id);
    bool projectionCommandEnabled(int id) const;
    void executeProjectionCommand(int id);
    ProjectionCommands& projection() { return *projection_; }
    MacroRecorder& macro() { return *macro_; }
    // Where the projections take their inputs from; the dialogs of the window until replaced. The macro
    // records around it while the window records, and replays instead of asking it while the window plays.
    void setInputSource(std::unique_ptr<InputSource> inputs);
    // What Reset runs when the user wants the document saved first.
    void setSaveAction(ProjectionCommands::SaveAction save);

signals:
    // A command ran in the view or its selection changed.
    void commandStateChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void changeSimulationTreeList();

    std::shared_ptr<CGROVEXDoc> document_;
    std::unique_ptr<CGROVEXView> view_;
    ResultsWidget* widget_ = nullptr;
    std::function<bool(SimulationWindow&)> closeGuard_;
    Ui& ui_;
    Clipboard& clipboard_;
    std::shared_ptr<RunRecord> record_;
    RecordedStateFile stateFile_;
    RecordedStateFile playStateFile_;
    std::unique_ptr<MacroRecorder> macro_;
    std::unique_ptr<InputSource> inputs_;
    std::unique_ptr<MacroInputSource> macroInputs_;
    std::unique_ptr<WidgetViewHooks> viewHooks_;
    std::unique_ptr<RecordResetHooks> commandHooks_; // the view's hooks for the commands; Reset empties the record
    std::unique_ptr<ProjectionCommands> projection_;
    ProjectionCommands::SaveAction save_;
};

} // namespace grovex
