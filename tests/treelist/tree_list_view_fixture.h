#pragma once
// A tree list grid on fake metrics, messages and clipboard, with a host that records what the widget is told.

#include "base/c_format.h"
#include "support/fake_canvas.h"
#include "support/fake_clipboard.h"
#include "support/recording_ui.h"
#include "treelist/tree_list_document.h"
#include "treelist/tree_list_view.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace grovex {

struct GridHost : TreeListHost {
    void requestRepaint() override { ++repaints; }
    void scrollChanged() override { ++scrollChanges; }
    void captureMouse(bool capture) override { captures.push_back(capture); }
    void showEditor(const Rect& rect, const std::string& text) override {
        editorRect = rect;
        editorText = text;
        editorShown = true;
    }
    void hideEditor() override { editorShown = false; }

    int repaints = 0;
    int scrollChanges = 0;
    std::vector<bool> captures;
    bool editorShown = false;
    Rect editorRect;
    std::string editorText;
};

// A complete list: header 1, "P1", 0.10, 12, 5, 200, 1, 10, 80.0, 120.0, 1, 12.5 and no dominant height;
// tree row r (1-based): 2, "T<r>", DBH r + 4.0, height r + 30.0, crown class 1 + r % 4.
inline TreeList sampleList(int rows) {
    TreeList list;
    list.header = {1, "P1", 0.10f, 12, 5, 200, 1, 10, 80.0f, 120.0f, 1, 12.5f, kBlankReal};
    for (int r = 1; r <= rows; ++r) {
        list.rows[r - 1] = {2, cformat("T%d", r), static_cast<float>(r) + 4.0f, static_cast<float>(r) + 30.0f,
                            1 + r % 4};
    }
    list.lastRow = rows - 1;
    list.loaded = true;
    return list;
}

class GridTest : public ::testing::Test {
protected:
    GridTest() {
        view.setHost(&host);
        view.setClientSize({800, 600});
        view.OnInitialUpdate();
        view.setRowCountAsker([this] { return rowCountAnswer; });
    }

    // Loads a sample list of `rows` tree rows; the document is not modified afterwards.
    treeListView& load(int rows) { return load(sampleList(rows)); }
    treeListView& load(const TreeList& list) {
        view.setTreeList(list);
        doc.setModified(false);
        return view;
    }

    // A point inside cell (row, column), in client coordinates at scroll position (0, 0).
    static Point cellPoint(int row, int column) { return {55 * column + 20, 17 * row + 8}; }

    void click(int row, int column) {
        view.OnLButtonDown(cellPoint(row, column));
        view.OnLButtonUp();
    }
    // A double click as the platform delivers it: press, release, double click, release.
    void doubleClick(int row, int column) {
        click(row, column);
        view.OnLButtonDblClk(cellPoint(row, column));
        view.OnLButtonUp();
    }
    // Anchor at the first corner, end at the second, as a mouse drag makes it.
    void selectBlock(int row1, int column1, int row2, int column2) {
        view.OnLButtonDown(cellPoint(row1, column1));
        view.OnMouseMove(cellPoint(row2, column2));
        view.OnLButtonUp();
    }

    const TreeList& list() const { return view.treeList(); }

    treeListDoc doc;
    fakes::FixedPitchMetrics metrics;
    fakes::RecordingUi ui;
    fakes::FakeClipboard clipboard;
    GridHost host;
    std::optional<int> rowCountAnswer = 1;
    treeListView view{doc, metrics, ui, clipboard};
};

} // namespace grovex
