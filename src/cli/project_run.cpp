#include "cli/project_run.h"

#include "base/platform/ui.h"
#include "cli/output_formats.h"
#include "cli/project_document.h"
#include "cli/stream_ui.h"
#include "control/projection.h"
#include "model/growth_model.h"
#include "model/input1.h"
#include "results/document_file.h"
#include "treelist/tree_list_file.h"

#include <memory>

namespace grovex::cli {
namespace {

// The accepted sheet, and the tree list for the extraction.
class GivenInputs : public InputSource {
public:
    GivenInputs(const Input1& input, const TreeList& list) : input_(input), list_(list) {}
    std::optional<Input1> input1(CGROVEXDoc&) override { return input_; }
    std::optional<Input2Values> input2(CGROVEXDoc&) override { return std::nullopt; }
    const TreeList* simulationTreeList() override { return &list_; }

private:
    const Input1& input_;
    const TreeList& list_;
};

// Initialize and Project for an existing stand from a tree list, through the projection routine: a refused
// extraction has shown its message and leaves no run.
std::unique_ptr<CGROVEXDoc> projectTreeList(const ProjectOptions& options, batch::ProjectInput& accepted,
                                            StandObserver* observer, std::ostream& err, int& status) {
    StreamUi ui(err);
    TreeList list;
    readTreeListFile(*options.treeList, list, ui);
    if (!list.loaded) {
        status = kExitBadInput;
        return nullptr;
    }
    auto doc = std::make_unique<CGROVEXDoc>();
    doc->setTitle("GROVEX1");
    doc->model.setUi(&ui);
    doc->model.setObserver(observer);
    doc->plantationPage = accepted.plantationPage;
    doc->volumeUnitsPage = accepted.volumeUnitsPage;
    GivenInputs inputs(accepted.input, list);
    ScratchFolder scratch;
    StateFile stateFile(temporaryStateDirectory(scratch.path()) + kTemporaryStateFileName);
    ProjectionCommands commands(*doc, ui, inputs, stateFile);
    commands.initializeAndProject();
    doc->model.setUi(nullptr);
    if (doc->run.needsInit) {
        status = kExitRunFailed;
        return nullptr;
    }
    return doc;
}

} // namespace

// The refusal with the option it is about and the value it was given, or would have had by default:
// "--target-age 25 (default): Please enter an integer from 26 to 60".
std::string refusalText(const batch::StandOptions& options, const batch::StandRefusal& refusal) {
    if (refusal.field == batch::StandField::None) {
        return refusal.message;
    }
    // A title or an equation is named without its text, which the message is about.
    const bool showValue = refusal.field != batch::StandField::Title && refusal.field != batch::StandField::Equation;
    bool isDefault = false;
    const std::string text = batch::fieldText(options, refusal.field, isDefault);
    const std::string value = !showValue     ? ""
                              : text.empty() ? " (not given)"
                                             : " " + text + (isDefault ? " (default)" : "");
    return batch::optionName(refusal.field) + value + ": " + refusal.message;
}

std::unique_ptr<CGROVEXDoc> projectStand(const ProjectOptions& options, StandObserver* observer, std::ostream& err,
                                         int& status) {
    status = kExitSuccess;
    for (const std::string& equation : options.equations) {
        if (equation.empty()) {
            err << "--equation takes NAME,A,B,MINDBH: four parts separated by commas, not \"\".\n";
            status = kExitBadInput;
            return nullptr;
        }
    }
    batch::ProjectInput accepted;
    if (const auto refused = batch::standInput(options, batch::optionName, accepted)) {
        err << refusalText(options, *refused) << '\n';
        status = kExitBadInput;
        return nullptr;
    }
    if (options.treeList) {
        return projectTreeList(options, accepted, observer, err, status);
    }

    StreamUi ui(err);
    auto model = std::make_unique<GrowthModel>();
    model->setUi(&ui);
    model->setObserver(observer);
    model->ResetModel();
    WriteInput1(*model, accepted.input);
    status = kExitRunFailed;
    if (!StartRun(*model)) {
        err << "The diameter distribution could not be fitted to these stand values.\n";
        return nullptr;
    }
    if (model->age > model->nyears) {
        err << "The age has reached its maximum value.\n";
        return nullptr;
    }
    StandHistory yearly;
    bool targetReached = false;
    {
        RecordingScope recording(*model, yearly);
        targetReached = model->ProjectToTarget();
    }
    model->setUi(nullptr);
    status = kExitSuccess;
    std::unique_ptr<CGROVEXDoc> doc = projectedDocument(std::move(*model), targetReached, accepted);
    doc->yearly = std::move(yearly);
    return doc;
}

int writeSimulation(CGROVEXDoc& doc, const std::optional<std::string>& save, OutputFormat format, std::ostream& out,
                    std::ostream& err) {
    writeTables(out, format, doc.model, doc.run.targetReached);
    out.flush();
    if (!out) {
        return kExitRunFailed;
    }
    if (save) {
        if (const IoStatus saved = saveDocument(doc, *save); !saved) {
            err << saved.message() << '\n';
            return kExitRunFailed;
        }
    }
    return kExitSuccess;
}

int runProject(const ProjectOptions& options, std::ostream& out, std::ostream& err) {
    int status = kExitSuccess;
    const std::unique_ptr<CGROVEXDoc> doc = projectStand(options, nullptr, err, status);
    return doc ? writeSimulation(*doc, options.save, options.format, out, err) : status;
}

} // namespace grovex::cli
