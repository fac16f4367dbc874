#pragma once
// The widget of a results view: scrolls, paints the visible part through the view and forwards the mouse and
// commands to it. Keys reach the view as commands (the main window turns the accelerators into actions that
// call executeCommand), so the widget defines no shortcuts of its own.

#include "qt/painted_view_area.h"
#include "results/view.h"

namespace grovex {

class ResultsWidget : public PaintedViewArea, public ViewHost {
    Q_OBJECT

public:
    // The view must have had its first update (CGROVEXView::OnInitialUpdate), or get it before the widget is
    // shown, and must outlive the widget.
    explicit ResultsWidget(CGROVEXView& view, QWidget* parent = nullptr);
    ~ResultsWidget() override;

    CGROVEXView& view() { return view_; }

    bool commandEnabled(int id) const;
    bool commandChecked(int id) const;
    // Runs a command of the view; Print and Print Preview run the print dialog and the preview.
    void executeCommand(int id);

    void print();
    void printPreview();
    // Page setup of the printer every print job uses.
    static void printSetup();

    // ViewHost
    void requestRepaint() override;
    void scrollChanged() override;
    void captureMouse(bool capture) override;

protected:
    Size viewScrollSize() const override { return view_.scrollSize(); }
    Point viewScrollPosition() const override { return view_.scrollPosition(); }
    Size viewLineSize() const override { return {view_.charWidth(), view_.lineHeight()}; }
    void viewSetClientSize(Size size) override { view_.setClientSize(size); }
    void viewSetScrollPosition(Point position) override { view_.setScrollPosition(position); }
    void viewScrolledByUser(Point position) override { view_.setScrollPosition(position); }
    void viewDraw(Canvas& canvas) override { view_.OnDraw(canvas); }
    void viewMouseDown(Point client) override { view_.OnLButtonDown(client); }
    bool viewMouseMove(Point client) override;
    void viewMouseUp() override { view_.OnLButtonUp(); }

private:
    CGROVEXView& view_;
};

} // namespace grovex
