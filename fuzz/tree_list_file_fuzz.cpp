// Tree list files: any bytes give one of the read outcomes with at most one message, a list of at most
// 300 rows, and a loaded list can be shown, checked for saving, written out as text and simulated.

#include "extract_tree_list.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"
#include "treelist/tree_list_document.h"
#include "treelist/tree_list_file.h"
#include "treelist/tree_list_view.h"

#include <cstdlib>

using namespace grovex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TreeList list;
    fakes::RecordingUi ui;
    const TreeListReadStatus status = readTreeList({data, size}, list, ui);
    if (ui.messages().size() > 1 || list.lastRow >= kMaxTreeRows) {
        std::abort();
    }
    if (status == TreeListReadStatus::Complete && !ui.messages().empty()) {
        std::abort(); // a complete read is silent
    }
    if (!list.loaded) {
        return 0;
    }
    if (!unfitValueMessage(list)) {
        TreeList reread;
        const std::string text = treeListText(list);
        readTreeList({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, reread, ui);
        if (!reread.loaded || reread.lastRow != list.lastRow) {
            std::abort(); // what the program writes it reads back with every row
        }
    }
    fuzz::projectFromTreeList(list);
    treeListDoc doc;
    fakes::FixedPitchMetrics metrics;
    fakes::FakeClipboard clipboard;
    treeListView view(doc, metrics, ui, clipboard);
    view.setClientSize({800, 600});
    view.OnInitialUpdate();
    view.setTreeList(list);
    fakes::FakeCanvas canvas;
    view.OnDraw(canvas);
    view.execute(cmd::kEditSelectAll);
    view.execute(cmd::kEditCopy);
    return 0;
}
