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
int runFromTreeList(const ProjectOptions& options, batch::ProjectInput& accepted, std::ostream& out,
                    std::ostream& err) {
    StreamUi ui(err);
    TreeList list;
    readTreeListFile(*options.treeList, list, ui);
    if (!list.loaded) {
        return kExitBadInput;
    }
    CGROVEXDoc doc;
    doc.setTitle("GROVEX1");
    doc.model.setUi(&ui);
    doc.plantationPage = accepted.plantationPage;
    doc.volumeUnitsPage = accepted.volumeUnitsPage;
    GivenInputs inputs(accepted.input, list);
    ScratchFolder scratch;
    StateFile stateFile(temporaryStateDirectory(scratch.path()) + kTemporaryStateFileName);
    ProjectionCommands commands(doc, ui, inputs, stateFile);
    commands.initializeAndProject();
    if (doc.run.needsInit) {
        return kExitRunFailed;
    }

    writeTables(out, options.format, doc.model, doc.run.targetReached);
    out.flush();
    if (!out) {
        return kExitRunFailed;
    }
    if (options.save) {
        const IoStatus saved = saveDocument(doc, *options.save);
        if (!saved) {
            err << saved.message() << '\n';
            return kExitRunFailed;
        }
    }
    return kExitSuccess;
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

int runProject(const ProjectOptions& options, std::ostream& out, std::ostream& err) {
    for (const std::string& equation : options.equations) {
        if (equation.empty()) {
            err << "--equation takes NAME,A,B,MINDBH: four parts separated by commas, not \"\".\n";
            return kExitBadInput;
        }
    }
    batch::ProjectInput accepted;
    if (const auto refused = batch::standInput(options, batch::optionName, accepted)) {
        err << refusalText(options, *refused) << '\n';
        return kExitBadInput;
    }
    if (options.treeList) {
        return runFromTreeList(options, accepted, out, err);
    }

    StreamUi ui(err);
    auto model = std::make_unique<GrowthModel>();
    model->setUi(&ui);
    model->ResetModel();
    WriteInput1(*model, accepted.input);
    if (!StartRun(*model)) {
        err << "The diameter distribution could not be fitted to these stand values.\n";
        return kExitRunFailed;
    }
    if (model->age > model->nyears) {
        err << "The age has reached its maximum value.\n";
        return kExitRunFailed;
    }
    const bool targetReached = model->ProjectToTarget();

    writeTables(out, options.format, *model, targetReached);
    out.flush();
    if (!out) {
        return kExitRunFailed;
    }
    if (options.save) {
        const std::unique_ptr<CGROVEXDoc> doc = projectedDocument(std::move(*model), targetReached, accepted);
        const IoStatus saved = saveDocument(*doc, *options.save);
        if (!saved) {
            err << saved.message() << '\n';
            return kExitRunFailed;
        }
    }
    return kExitSuccess;
}

} // namespace grovex::cli
