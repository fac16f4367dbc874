#include "qt/dialog_input_source.h"

#include "qt/initialize_stand_sheet.h"
#include "qt/stand_projection_dialog.h"

namespace grovex {

DialogInputSource::DialogInputSource(QWidget* parent, Ui& ui, generalInfoDlg::BrowseAction browse,
                                     TreeListSource treeList)
    : parent_(parent), ui_(ui), browse_(std::move(browse)), treeList_(std::move(treeList)) {}

// The sheet keeps the accepted page values on the document itself.
std::optional<Input1> DialogInputSource::input1(CGROVEXDoc& doc) {
    std::optional<InitializeStandValues> values = runInitializeStand(parent_, doc, ui_, browse_);
    if (!values) {
        return std::nullopt;
    }
    return values->input1;
}

std::optional<Input2Values> DialogInputSource::input2(CGROVEXDoc& doc) {
    return runStandProjection(parent_, doc, ui_);
}

const TreeList* DialogInputSource::simulationTreeList() {
    return treeList_ ? treeList_() : nullptr;
}

} // namespace grovex
