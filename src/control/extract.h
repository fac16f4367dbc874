#pragma once
// Tree list exchange with the model: taking a measured tree list into the model (Extract), and replacing the
// model's register with the rows of the "Change Tree List State" dialog.

#include "base/platform/clipboard.h"
#include "base/platform/ui.h"
#include "model/growth_model.h"
#include "results/document.h"
#include "treelist/tree_list.h"
#include "treelist/tree_list_dialogs.h"

#include <functional>
#include <string_view>

namespace grovex {

inline constexpr const char* kTreeListEmptyMessage = "The tree list is empty, unable to extract data.";
inline constexpr const char* kBlankRowsMessage = "The tree list has blank rows at its end. It may be unusable";
inline constexpr const char* kBlankCellsMessage = "The tree list contains blank cells. It may be unusable";
inline constexpr const char* kHeaderRecordCodeMessage =
    "Tree List header (first row) must start with 1.    Unable to extract Tree List data.";
inline constexpr const char* kItemRecordCodeMessage =
    "Tree List items (all except first row) must start with 2.  Unable to extract Tree List data.";
// Lists the stand values cannot be computed from.
inline constexpr const char* kNoTreesMessage = "The tree list holds no trees.  Unable to extract Tree List data.";
inline constexpr const char* kPlotAreaMessage =
    "The plot area of the tree list must be greater than 0.  Unable to extract Tree List data.";
inline constexpr const char* kStandAgeMessage =
    "The stand age of the tree list must be greater than 0.  Unable to extract Tree List data.";
// Ages the model counts years from; the grid takes any number, a tree list file only what two characters hold.
inline constexpr const char* kStandAgeFieldMessage =
    "The stand age of the tree list does not fit its 2-character field.  Unable to extract Tree List data.";
inline constexpr const char* kFertilizationAgeFieldMessage =
    "The fertilization age of the tree list does not fit its 2-character field.  Unable to extract Tree List data.";
inline constexpr const char* kThinningAgeFieldMessage =
    "The thinning age of the tree list does not fit its 2-character field.  Unable to extract Tree List data.";
inline constexpr const char* kDominantHeightMessage =
    "The dominant height of the tree list must be greater than 0.  Unable to extract Tree List data.";
inline constexpr const char* kNoDominantTreesMessage =
    "The tree list has no tree of crown class 1 or 2 and no dominant height.  Unable to extract Tree List data.";
// "%d" is the tree's row number, counted from 1.
inline constexpr const char* kTreeHeightMessage =
    "Tree %d of the tree list has a height of 0 or less.  Unable to extract Tree List data.";

inline constexpr const char* kTooManyRowsMessage =
    "The tree list can hold at most 300 trees; the changes were not made.";

// Takes `list` (null: the application has no simulation tree list) into the model and the run state (`bab`,
// `baa`). Every refusal shows its message (OK) and throws CommandAbandoned; the model may then be half
// written, and the caller rolls back. The blank-cell warnings are shown and the extraction goes on.
void Extract(GrowthModel& model, RunState& run, const TreeList* list, Ui& ui);

// "Change Current Simulation Tree List" after the dialog's OK: `rows` is the dialog's result text (every row
// followed by "|", fields separated by tabs: DBH, height, live and thinned frequency) and `count` its number
// of rows. More than 300 rows are refused with kTooManyRowsMessage and change nothing (answers false).
// Otherwise the register is replaced, `nrec` follows the row count when the rows outnumber it, the stand
// values are recomputed and a table of the last kind is appended.
bool ChangeTreeList(GrowthModel& model, std::string_view rows, int count, Ui& ui);

// The command "Change Current Simulation Tree List": runs "Change Tree List State" on the document's register
// through `runDialog` (true on OK), then ChangeTreeList with its result and `repaint`. Records nothing, keeps
// no state file and leaves the modified flag alone. Answers whether the register was replaced.
using TreeListStateRunner = std::function<bool(treeListStateDlg&)>;
bool ChangeCurrentSimulationTreeList(CGROVEXDoc& doc, Ui& ui, Clipboard& clipboard,
                                     treeListStateDlg::ValuesEditor editValues, const TreeListStateRunner& runDialog,
                                     const std::function<void()>& repaint = {});

} // namespace grovex
