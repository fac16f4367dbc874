#pragma once
// The widget of the tree list grid: scrolls, paints the visible part through the grid, forwards the mouse and
// commands to it, and shows the grid's in-place editor, a real line edit of at most 20 characters with
// centred text. Enter, Tab, Shift+Tab and a lost focus store the typed text; Escape stores it too without
// marking the document modified. Keys reach the grid as commands of the main window's actions.

#include "qt/painted_view_area.h"
#include "qt/print_support.h"
#include "treelist/tree_list_view.h"

#include <QLineEdit>

namespace grovex {

class TreeListWidget;

// The grid's three print steps, on the device's pixels.
class TreeListPrintable : public PrintableView {
public:
    explicit TreeListPrintable(treeListView& view) : view_(view) {}
    PrintPlan beginPrinting(const FontMetricsSource& metrics, const QPaintDevice& device) override;
    void printPage(Canvas& canvas, int page) override;
    void endPrinting() override;

private:
    treeListView& view_;
};

// The in-place editor: it owns Enter, Tab, Shift+Tab and Escape while it has the focus.
class CellEditor : public QLineEdit {
    Q_OBJECT

public:
    explicit CellEditor(TreeListWidget& owner);

protected:
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TreeListWidget& owner_;
};

class TreeListWidget : public PaintedViewArea, public TreeListHost {
    Q_OBJECT

public:
    // The grid must have had its first update (OnInitialUpdate) and must outlive the widget.
    explicit TreeListWidget(treeListView& view, QWidget* parent = nullptr);
    ~TreeListWidget() override;

    treeListView& view() { return view_; }
    CellEditor& editor() { return *editor_; }

    bool commandEnabled(int id) const;
    // Runs a grid command; Print and Print Preview run the print dialog and the preview.
    void executeCommand(int id);
    void print();
    void printPreview();

    // TreeListHost
    void requestRepaint() override;
    void scrollChanged() override;
    void captureMouse(bool capture) override;
    void showEditor(const Rect& clientRect, const std::string& text) override;
    void hideEditor() override;

    // From the editor: the key or focus loss that closes it.
    void editorKey(int key, Qt::KeyboardModifiers modifiers);
    void editorLostFocus();

protected:
    Size viewScrollSize() const override { return view_.scrollSize(); }
    Point viewScrollPosition() const override { return view_.scrollPosition(); }
    Size viewLineSize() const override { return view_.lineSize(); }
    void viewSetClientSize(Size size) override { view_.setClientSize(size); }
    void viewSetScrollPosition(Point position) override { view_.setScrollPosition(position); }
    // An open editor is committed before the grid moves.
    void viewScrolledByUser(Point position) override { view_.OnScroll(position); }
    void viewDraw(Canvas& canvas) override { view_.OnDraw(canvas); }
    void viewMouseDown(Point client) override { view_.OnLButtonDown(client); }
    bool viewMouseMove(Point client) override;
    void viewMouseUp() override { view_.OnLButtonUp(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // A tool tip names the cell under the pointer.
    bool viewportEvent(QEvent* event) override;

private:
    treeListView& view_;
    CellEditor* editor_ = nullptr;
    bool placingEditor_ = false;
};

} // namespace grovex
