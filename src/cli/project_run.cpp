#include "cli/project_run.h"

#include "base/platform/ui.h"
#include "cli/output_formats.h"
#include "cli/project_document.h"
#include "cli/project_inputs.h"
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

bool standOptionGiven(const ProjectOptions& o) {
    return o.existingAge || o.planted || o.survival || o.trees || o.basalArea || o.site || o.hardwood ||
           o.poorlyDrained;
}

// Initialize and Project for an existing stand from a tree list, through the projection routine: a refused
// extraction has shown its message and leaves no run.
int runFromTreeList(const ProjectOptions& options, ProjectInput& accepted, std::ostream& out, std::ostream& err) {
    StreamUi ui(err);
    TreeList list;
    readTreeListFile(*options.treeList, list, ui);
    if (!list.loaded) {
        return kExitBadInput;
    }
    accepted.input.qexist = true;
    accepted.input.qlist = true;
    accepted.plantationPage.qexist = true;
    accepted.plantationPage.qlist = true;

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

int runProject(const ProjectOptions& options, std::ostream& out, std::ostream& err) {
    if (options.treeList && standOptionGiven(options)) {
        err << "--treelist describes the stand by its trees; --site, --planted, --survival, --existing-age, "
               "--trees, --basal-area, --poorly-drained and --hardwood cannot be used with it.\n";
        return kExitBadInput;
    }
    ProjectInput accepted;
    if (const FormResult refused = projectInput(options, accepted); !refused) {
        err << refused.message << '\n';
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
