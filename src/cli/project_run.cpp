#include "cli/project_run.h"

#include "base/platform/ui.h"
#include "cli/output_formats.h"
#include "cli/project_document.h"
#include "cli/project_inputs.h"
#include "model/growth_model.h"
#include "model/input1.h"
#include "results/document_file.h"

#include <memory>

namespace grovex::cli {
namespace {

// The model's message boxes become lines on the error stream.
class StreamUi : public Ui {
public:
    explicit StreamUi(std::ostream& err) : err_(err) {}
    Answer message(std::string_view text, Buttons buttons, Icon, std::string_view) override {
        err_ << text << '\n';
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }
    // Nobody can pick a file on the command line.
    std::optional<std::string> openFileName(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> saveFileName(const FileDialogRequest&) override { return std::nullopt; }

private:
    std::ostream& err_;
};

} // namespace

int runProject(const ProjectOptions& options, std::ostream& out, std::ostream& err) {
    ProjectInput accepted;
    if (const FormResult refused = projectInput(options, accepted); !refused) {
        err << refused.message << '\n';
        return kExitBadInput;
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
