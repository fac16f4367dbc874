#pragma once
// The inputs of the projection commands on the desktop: "Initialize Stand" for the stand-initialization group,
// "Stand Projection" for the treatment group, and the application's tree list window for the simulation tree
// list.

#include "control/projection.h"
#include "dialogs/general_info_dlg.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace grovex {

class DialogInputSource : public InputSource {
public:
    // The tree list of the application's tree list window, or null when there is none.
    using TreeListSource = std::function<const TreeList*()>;

    // The dialogs are modal to `parent`; Browse of the sheet runs `browse`.
    DialogInputSource(QWidget* parent, Ui& ui, generalInfoDlg::BrowseAction browse = {}, TreeListSource treeList = {});

    std::optional<Input1> input1(CGROVEXDoc& doc) override;
    std::optional<Input2Values> input2(CGROVEXDoc& doc) override;
    const TreeList* simulationTreeList() override;

private:
    QPointer<QWidget> parent_;
    Ui& ui_;
    generalInfoDlg::BrowseAction browse_;
    TreeListSource treeList_;
};

} // namespace grovex
