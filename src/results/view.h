#pragma once
// The results view of a simulation document, free of any widget: layout of the tables, drawing through a
// Canvas, cell selection by mouse and keys, scrolling, the font size and its record, printing in pages, and
// copying to the clipboard. A widget forwards input and commands here and paints what OnDraw draws.

#include "base/command_ids.h"
#include "base/platform/canvas.h"
#include "base/platform/view_host.h"
#include "base/print_pages.h"
#include "results/document.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace grovex {

class Clipboard;
class FontRecordSaver;
class Settings;
class Ui;

// The largest character height the view takes, by Increase Font Size or from the font record: lines 2.5
// inches high on a 96-dpi screen. Printed at the same size, a page of Letter or A4 paper still holds its two
// footer lines and a table line, and the layout of 100 full tables stays far within int coordinates. A
// record's height of larger magnitude is taken as this size.
inline constexpr int kLargestFontHeight = 240;

// One cell of a table: its table index, row and column.
struct CellRef {
    int table = -1;
    int row = -1;
    int column = -1;
    bool operator==(const CellRef&) const = default;
};

// Puts text on the clipboard; a step that fails is named in a message.
void PutTextOnClipboard(Clipboard& clipboard, Ui& ui, const std::string& text);

class CGROVEXView {
public:
    // appDirectory ends with the path separator; the font record "def_Font.bin" lives there.
    CGROVEXView(CGROVEXDoc& doc, const FontMetricsSource& screen, Settings& settings, Ui& ui, Clipboard& clipboard,
                std::string appDirectory);

    void setHost(ViewHost* host) { host_ = host; }
    // Where font changes are saved; the application's one saver unless a test gives its own.
    void setFontRecordSaver(FontRecordSaver& saver) { fontRecordSaver_ = &saver; }
    CGROVEXDoc& document() { return doc_; }

    // First update: scroll size 800 by 800, the default font or the one of the font record, layout.
    void OnInitialUpdate();
    // Recomputes every table's layout fields and the scroll size with the screen font.
    void LayoutTables();
    // The scroll size of this view if it held just the table of the proposed plantation (site 60, 800 trees
    // planted, age 25), laid out in the screen font: the room a window needs to show a whole table. Valid
    // after OnInitialUpdate.
    Size wholeTableSize() const;
    void ClearSelection(bool keepCorners);
    // The view's part of "Reset": no selection, select-all off, selection shown, no drag; repaint.
    void ResetViewState();
    void ScrollToNewest();
    // After a projection command: the range of tables shown, given the last table index before it.
    void UpdateShownTables(int oldLastTable);

    // Scrolling, in logical units.
    Size scrollSize() const { return scrollSize_; }
    Point scrollPosition() const { return scrollPosition_; }
    void setScrollPosition(Point position); // clamped to the scroll range
    void setClientSize(Size size) { clientSize_ = size; }

    // Draws the visible part (canvas.clipBox()) with the window origin already set by the caller.
    void OnDraw(Canvas& canvas) const;

    // Mouse, in client coordinates.
    // The cell under a client point: nothing outside the client area or beside every table's cells.
    std::optional<CellRef> hitTest(Point client) const;
    void OnLButtonDown(Point client);
    void OnMouseMove(Point client);
    void OnLButtonUp();

    // Commands and keys by id.
    bool isEnabled(int commandId) const;
    bool isChecked(int commandId) const;
    // Answers false when the id is not a command of this view. Print and Print Preview are enabled here but
    // run by the widget, which owns the printer: OnBeginPrinting, OnPrintPage for each page, OnEndPrinting.
    bool execute(int commandId);

    // Printing: plan the pages on a printer of the given resolution, draw one page (1-based), end the job.
    PrintPlan OnBeginPrinting(const FontMetricsSource& printer, int printerDpiY, int screenDpiY, Size printableSize);
    void OnPrintPage(Canvas& printer, int page) const;
    void OnEndPrinting();
    // The logical point at the top-left corner of a page (1-based): pages left to right, then the next band.
    Point pageOrigin(int page) const;
    int pageWidth() const { return pageGeometry_.pageWidth; }
    int pageHeight() const { return pageGeometry_.pageHeight; }
    int paperHeight() const { return pageGeometry_.printableHeight; }
    int printLineHeight() const { return pageGeometry_.footerHeight; }
    const LogFont& printerFont() const { return printerFont_; }

    // State, for the widget and for tests.
    const LogFont& screenFont() const { return screenFont_; }
    int lineHeight() const { return lineHeight_; }
    int charWidth() const { return charWidth_; }
    bool selectAll() const { return selectAll_; }
    int selTable() const { return selTable_; }
    int anchorRow() const { return anchorRow_; }
    int anchorCol() const { return anchorCol_; }
    int endRow() const { return endRow_; }
    int endCol() const { return endCol_; }
    bool isCellSelected(int table, int row, int column) const;
    bool showSelection() const { return showSelection_; }

private:
    // view.cpp
    const std::vector<ResultTable>& tables() const { return doc_.model.tables; }
    bool hasTable() const { return !doc_.model.tables.empty(); }
    // The last table drawn: tables from firstShown on are drawn up to the first one without rows.
    int lastDrawnTable() const;
    void repaint() const;
    void scrollBy(int dx, int dy);
    void toggleAllTables();
    void changeFontSize(int step);
    void zeroColumnWidths();

    // view_layout.cpp: the layout fields of every drawn table; nothing when the document has no table.
    std::optional<Size> layoutWith(const FontMetricsSource& metrics, const LogFont& font);
    void layoutColumns(ResultTable& table, const FontMetricsSource& metrics, const LogFont& font) const;
    int layoutRows(ResultTable& table, int previousBottom) const;

    // view_draw.cpp
    void drawContent(Canvas& canvas, const LogFont& font, bool showSelection) const;
    void drawEmptyView(Canvas& canvas) const;
    void drawVisibleTables(Canvas& canvas, const Rect& clip, bool highlight) const;
    void drawTable(Canvas& canvas, int index, const Rect& clip, bool highlight) const;
    void drawSummary(Canvas& canvas, const ResultTable& table) const;
    void drawHeadings(Canvas& canvas, const ResultTable& table) const;
    void drawRows(Canvas& canvas, int index, const Rect& clip, bool highlight) const;

    // view_input.cpp
    std::optional<CellRef> hitTestLogical(Point at) const;
    void selectCell(int row, int column);
    void selectRectangle();
    void showCurrentSelection();
    bool executeSelectionKey(int commandId);
    bool startCurrentCell(int commandId);
    void moveCurrentCell(int commandId);
    void extendSelection(int commandId);
    bool executeScrollKey(int commandId);

    // view_copy.cpp
    void OnEditCopy();
    std::optional<std::string> copyText() const;
    std::string copiedCellText(int row, int column) const;
    std::string rectangleText() const;
    void putOnClipboard(const std::string& text);

    CGROVEXDoc& doc_;
    const FontMetricsSource& screen_;
    Settings& settings_;
    Ui& ui_;
    Clipboard& clipboard_;
    std::string appDirectory_;
    ViewHost* host_ = nullptr;
    FontRecordSaver* fontRecordSaver_;

    LogFont screenFont_;
    int lineHeight_ = 15;
    int charWidth_ = 10;
    Size scrollSize_{800, 800};
    Point scrollPosition_;
    Size clientSize_;

    bool showSelection_ = true;
    bool selectAll_ = false;
    int selTable_ = -1;
    int anchorRow_ = -1;
    int anchorCol_ = -1;
    int endRow_ = -1;
    int endCol_ = -1;
    // Selected cells: bit c of entry r is cell (r, c) of the selected table. One entry per row a table can
    // hold, and one past the last, which no cell reaches.
    static constexpr int kRowMaskEntries = kMaxRows + 1;
    static_assert(kColumnCount <= 31, "a row's selected columns are bits of one int");
    std::array<int, kRowMaskEntries> rowMask_{};
    bool dragging_ = false;

    // Print job state.
    LogFont printerFont_;
    PageGeometry pageGeometry_;
    PrintPlan printPlan_;
};

} // namespace grovex
