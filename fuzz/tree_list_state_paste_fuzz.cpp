// "Change Tree List State" with pasted rows: any clipboard text pasted over any selection goes back into the
// simulation's register, which must then still give its statistics and tables and grow on.

#include "control/extract.h"
#include "fuzz_input.h"
#include "results/document.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"
#include "treelist/tree_list_dialogs.h"

#include <cstdlib>
#include <string>

using namespace grovex;

namespace {

// The default plantation, initialized and projected with its first table, as a user has it before opening
// the dialog.
const GrowthModel& plantedModel() {
    static const GrowthModel model = [] {
        GrowthModel m;
        m.ResetModel();
        m.InitStand();
        m.StandStats();
        m.MakeTable(m.lastTableKind);
        return m;
    }();
    return model;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const int firstSelected = input.pick(64) - 1; // -1: nothing selected
    const int selectedCount = 1 + input.pick(8);

    CGROVEXDoc doc;
    doc.model = plantedModel();
    fakes::RecordingUi ui;
    fakes::FakeClipboard clipboard;
    clipboard.setText(std::string(input.restAsText()));

    const auto runDialog = [&](treeListStateDlg& dialog) {
        for (int i = firstSelected; firstSelected >= 0 && i < firstSelected + selectedCount; ++i) {
            if (i < static_cast<int>(dialog.items().size())) {
                dialog.setSelected(i, true);
            }
        }
        dialog.paste();
        dialog.accept();
        return true;
    };
    const auto noEditing = [](treeValuesDlg&) { return false; };
    if (!ChangeCurrentSimulationTreeList(doc, ui, clipboard, noEditing, runDialog)) {
        return 0;
    }
    // The next projection years of the changed stand.
    GrowthModel& model = doc.model;
    for (int year = 0; year < 3; ++year) {
        model.GrowOneYear();
        ++model.age;
        model.StandStats();
    }
    model.MakeTable(model.lastTableKind);
    return 0;
}
