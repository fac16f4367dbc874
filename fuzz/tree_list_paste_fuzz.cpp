// Pasting text into the tree list grid, at one cell or over a block of cells: any clipboard text is either
// refused with a message or leaves a list of at most 300 rows that can still be drawn, copied and simulated.

#include "extract_tree_list.h"
#include "fuzz_input.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"
#include "treelist/tree_list_document.h"
#include "treelist/tree_list_view.h"

#include <cstdlib>
#include <string>

using namespace grovex;

namespace {

// A list of `rows` trees with every field filled.
TreeList filledList(int rows) {
    TreeList list;
    list.header = {1, "P1", 0.10f, 12, 5, 200, 1, 10, 80.0f, 120.0f, 1, 12.5f, kBlankReal};
    for (int r = 0; r < rows; ++r) {
        list.rows[r] = {2, "T" + std::to_string(r + 1), static_cast<float>(r) + 5.0f, static_cast<float>(r) + 31.0f,
                        1 + r % 4};
    }
    list.lastRow = rows - 1;
    list.loaded = true;
    return list;
}

Point cellPoint(int row, int column) {
    return {55 * column + 20, 17 * row + 8};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const int rows = 1 + input.pick(30);
    const int row1 = input.pick(rows + 1);
    const int column1 = input.pick(treegrid::kHeaderColumns);
    const bool block = input.pick(2) == 1;
    const int row2 = input.pick(rows + 1);
    const int column2 = input.pick(treegrid::kHeaderColumns);

    treeListDoc doc;
    fakes::FixedPitchMetrics metrics;
    fakes::RecordingUi ui;
    fakes::FakeClipboard clipboard;
    treeListView view(doc, metrics, ui, clipboard);
    view.setClientSize({800, 600});
    view.OnInitialUpdate();
    view.setTreeList(filledList(rows));

    view.OnLButtonDown(cellPoint(row1, column1));
    if (block) {
        view.OnMouseMove(cellPoint(row2, column2));
    }
    view.OnLButtonUp();
    clipboard.setText(std::string(input.restAsText()));
    view.execute(cmd::kEditPaste);

    if (view.treeList().lastRow >= kMaxTreeRows || ui.messages().size() > 1) {
        std::abort();
    }
    fuzz::projectFromTreeList(view.treeList());
    fakes::FakeCanvas canvas;
    view.OnDraw(canvas);
    view.execute(cmd::kEditSelectAll);
    view.execute(cmd::kEditCopy);
    return 0;
}
