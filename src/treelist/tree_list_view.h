#pragma once
// The tree list grid, free of any widget: a small spreadsheet of one header row (12 cells) and up to 300 tree
// rows (5 cells), each cell 55 by 17 pixels. It holds the tree list, draws it through a Canvas, selects cells
// and blocks by mouse and keys, edits one cell in place, inserts and deletes rows, copies, cuts and pastes
// through the clipboard and prints in pages. A widget forwards input and commands here, paints what OnDraw
// draws and shows the in-place editor where the view says.

#include "base/command_ids.h"
#include "base/platform/canvas.h"
#include "base/platform/view_host.h"
#include "base/print_pages.h"
#include "treelist/tree_list.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace grovex {

class Clipboard;
class Ui;
class treeListDoc;

// Fixed geometry of the grid, in pixels (logical units).
namespace treegrid {
inline constexpr int kCellWidth = 55;
inline constexpr int kCellHeight = 17;
inline constexpr int kHeaderColumns = 12;        // header row: columns 0 to 11
inline constexpr int kTreeColumns = 5;           // tree rows: columns 0 to 4
inline constexpr int kHitRight = 661;            // a point at x >= 661 hits no cell
inline constexpr int kListScrollWidth = 683;     // scroll width once a list is present
inline constexpr int kInitialScrollExtent = 800; // scroll width and height of a new view
inline constexpr int kEditorTextLimit = 20;      // characters the in-place editor accepts
inline constexpr int kEditorMargins = 4;         // left plus right inner margin of the in-place editor
} // namespace treegrid

// One cell of the grid: row 0 is the header, row r >= 1 is tree row r (index r - 1 of TreeList::rows).
struct GridCell {
    int row = -1;
    int column = -1;
    bool operator==(const GridCell&) const = default;
};

// What the grid asks of the widget that shows it, beyond repainting and scrolling.
class TreeListHost : public ViewHost {
public:
    // Show the in-place editor at `clientRect` (client coordinates) holding `text` (at most 20 characters),
    // give it the focus and select its whole text.
    virtual void showEditor(const Rect& clientRect, const std::string& text) = 0;
    virtual void hideEditor() = 0;
};

// Asks the user how many rows to insert (the "Insert how many rows?" dialog, 1 to 299, default 1); nothing
// when the user cancels.
using RowCountAsker = std::function<std::optional<int>()>;

class treeListView {
public:
    // `screen` measures text in the screen's font; `doc` gets the modified flag and gives the title printed in
    // the page footer. Every reference must outlive the view.
    treeListView(treeListDoc& doc, const FontMetricsSource& screen, Ui& ui, Clipboard& clipboard);

    void setHost(TreeListHost* host) { host_ = host; }
    void setRowCountAsker(RowCountAsker asker) { askRowCount_ = std::move(asker); }
    treeListDoc& document() { return doc_; }

    // First update: scroll extent 800 by 800.
    void OnInitialUpdate();

    // The grid's content (read by the simulation and by the file writer).
    const TreeList& treeList() const { return list_; }
    bool loaded() const { return list_.loaded; }
    // Replaces the whole content (after reading a file: start from treeList(), since the reader keeps header
    // fields it does not reach). Closes the editor without storing, clears the selection, sets the scroll
    // extent to 683 by 17 x (last row + 2) + 23 and repaints; the modified flag is the caller's.
    void setTreeList(const TreeList& list);
    // The grid's part of Reset: select-all, dragging, editing and the selection off, no list, no rows; the
    // document is marked modified and the view repainted ("No Tree List Available").
    void resetGrid();

    // The font the cells are drawn in (screen and printer alike).
    static LogFont gridFont();

    // Scrolling, in pixels.
    Size scrollSize() const { return scrollSize_; }
    Point scrollPosition() const { return scrollPosition_; }
    // Line step of the scroll bars (17 by 17).
    Size lineSize() const { return {treegrid::kCellHeight, treegrid::kCellHeight}; }
    // Moves the scroll position, clamped to the scroll range; nothing else.
    void setScrollPosition(Point position);
    // The user moved a scroll bar: an open editor is committed first, then the view scrolls.
    void OnScroll(Point position);
    void setClientSize(Size size) { clientSize_ = size; }
    Size clientSize() const { return clientSize_; }

    // Draws the visible part (canvas.clipBox()) with the window origin already set by the caller.
    void OnDraw(Canvas& canvas) const;

    // Mouse, in client coordinates.
    std::optional<GridCell> hitTest(Point client) const;
    // The rectangle of a cell in client coordinates.
    Rect cellClientRect(GridCell cell) const;
    void OnLButtonDown(Point client);
    void OnMouseMove(Point client);
    void OnLButtonUp();
    // Opens the editor on the cell under the point; a point on no cell is ignored.
    void OnLButtonDblClk(Point client);

    // Commands and keys by id. execute answers false when the id is not a command of the grid. Print and
    // Print Preview are enabled here but run by the widget: OnBeginPrinting, OnPrintPage per page,
    // OnEndPrinting.
    bool isEnabled(int commandId) const;
    bool isChecked(int commandId) const;
    bool execute(int commandId);

    // The in-place editor. While editing() the widget shows its editor at editorRect() (client coordinates,
    // fixed when it opened) with editorText() as the text it opened with. The widget reports every change
    // of the typed text with setEditorText, so a click or a command that commits can store what was typed.
    bool editing() const { return editing_; }
    GridCell editCell() const { return editCell_; }
    Rect editorRect() const { return editorRect_; }
    const std::string& editorText() const { return editorText_; }
    void setEditorText(std::string text); // cut to 20 characters
    // Stores the text in the edit cell (integers atoi, reals atof, identifiers as text; empty stores 0),
    // closes the editor and marks the document modified (Enter, a lost focus).
    void commitEdit(std::string text);
    // Escape: stores the text the same way and closes the editor, without marking the document modified.
    void escapeEdit(std::string text);

    // Selection state.
    bool selectAll() const { return selectAll_; }
    bool dragging() const { return dragging_; }
    GridCell anchor() const { return {anchorRow_, anchorCol_}; }
    GridCell end() const { return {endRow_, endCol_}; }
    bool hasCurrentCell() const { return anchorRow_ >= 0 && anchorCol_ >= 0; }
    bool hasBlock() const { return hasCurrentCell() && endRow_ >= 0 && endCol_ >= 0; }
    bool isCellSelected(int row, int column) const;
    // The text a cell shows: its value in the cell's format, empty for a blank or a cell that holds no data.
    std::string cellText(int row, int column) const;
    // What a cell of the list holds, with its unit, as the status bar and the tool tips say it ("Row 12,
    // Height (feet)"); empty for a place the list has no cell at.
    std::string cellDescription(int row, int column) const;
    // The description of the current cell (empty without one) and of the cell under a client point.
    std::string currentCellDescription() const;
    std::string cellDescriptionAt(Point client) const;

    // Printing: plan the pages on a printer, draw one page (1-based), end the job.
    PrintPlan OnBeginPrinting(const FontMetricsSource& printer, Size printableSize);
    void OnPrintPage(Canvas& printer, int page) const;
    void OnEndPrinting();
    Point pageOrigin(int page) const;
    int pageWidth() const { return pageGeometry_.pageWidth; }
    int pageHeight() const { return pageGeometry_.pageHeight; }
    int printableHeight() const { return pageGeometry_.printableHeight; }
    int footerHeight() const { return pageGeometry_.footerHeight; }

private:
    // tree_list_view.cpp
    void repaint() const;
    void markModified();
    void scrollBy(int dx, int dy);
    void setListScrollExtent();
    void clearSelection();
    void selectCell(int row, int column);
    void selectBlock();
    void selectOnly(int row, int column);

    // tree_list_view_draw.cpp
    void drawGrid(Canvas& canvas) const;
    void drawCell(Canvas& canvas, int row, int column) const;
    void drawGridLines(Canvas& canvas) const;

    // tree_list_view_input.cpp
    std::optional<GridCell> hitTestLogical(Point at) const;
    bool executeScrollKey(int commandId);
    bool executeSelectionKey(int commandId);
    bool nextCell();
    bool previousCell();
    void extendBlock(int commandId);
    void onEnter();

    // tree_list_view_edit.cpp
    void openEditor(int row, int column);
    void commitOpenEditor();
    void closeEditor(bool markAsModified);

    // tree_list_view_rows.cpp
    void insertRows();
    void deleteSelectedRows();

    // tree_list_view_clipboard.cpp
    void copyOrCut(bool cut);
    void paste();

    treeListDoc& doc_;
    const FontMetricsSource& screen_;
    Ui& ui_;
    Clipboard& clipboard_;
    TreeListHost* host_ = nullptr;
    RowCountAsker askRowCount_;

    TreeList list_;

    Size scrollSize_{treegrid::kInitialScrollExtent, treegrid::kInitialScrollExtent};
    Point scrollPosition_;
    Size clientSize_;

    std::array<uint32_t, kMaxTreeRows + 1> rowMask_{};
    bool selectAll_ = false;
    bool showSelection_ = true; // off while printing
    bool dragging_ = false;
    int dragMoves_ = 0;
    int anchorRow_ = -1;
    int anchorCol_ = -1;
    int endRow_ = -1;
    int endCol_ = -1;

    bool editing_ = false;
    GridCell editCell_;
    Rect editorRect_;
    std::string editorText_;

    PageGeometry pageGeometry_;
    PrintPlan printPlan_;
};

} // namespace grovex
