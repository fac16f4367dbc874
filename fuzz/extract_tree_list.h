#pragma once
// Takes a tree list into a new simulation as "Initialize and Project" does for a stand from a tree list, then
// grows it a few years and writes its table: what the model does with the values a tree list carries.

#include "control/command_abandoned.h"
#include "control/extract.h"
#include "model/growth_model.h"
#include "results/document.h"
#include "support/recording_ui.h"
#include "treelist/tree_list.h"

namespace grovex::fuzz {

inline void projectFromTreeList(const TreeList& list) {
    GrowthModel model;
    model.ResetModel();
    RunState run;
    fakes::RecordingUi ui;
    model.setUi(&ui);
    try {
        Extract(model, run, &list, ui);
    } catch (const CommandAbandoned&) {
        return; // refused with its message; the projection rolls back
    }
    if (model.age > model.nyears) {
        return; // past the run's last year: the projection shows its age message and rolls back
    }
    model.StandStats();
    for (int year = 0; year < 3 && model.age < model.nyears; ++year) {
        model.GrowOneYear();
        ++model.age;
        model.StandStats();
    }
    model.MakeTable(model.lastTableKind);
}

} // namespace grovex::fuzz
