#pragma once
// The widget of a results view: scrolls, paints the visible part through the view and forwards the mouse and
// commands to it. Keys reach the view as commands (the main window turns the accelerators into actions that
// call executeCommand), so the widget defines no shortcuts of its own.

#include "results/view.h"

#include <QAbstractScrollArea>

class ResultsWidget : public QAbstractScrollArea, public grovex::ViewHost {
    Q_OBJECT

public:
    // The view must have had its first update (CGROVEXView::OnInitialUpdate), or get it before the widget is
    // shown, and must outlive the widget.
    explicit ResultsWidget(grovex::CGROVEXView& view, QWidget* parent = nullptr);
    ~ResultsWidget() override;

    grovex::CGROVEXView& view() { return view_; }

    bool commandEnabled(int id) const;
    bool commandChecked(int id) const;
    // Runs a command of the view; Print and Print Preview run the print dialog and the preview.
    void executeCommand(int id);

    void print();
    void printPreview();
    // Page setup of the printer every print job uses.
    static void printSetup();

    // grovex::ViewHost
    void repaint() override;
    void scrollChanged() override;
    void captureMouse(bool capture) override;

Q_SIGNALS:
    // A command ran or the selection changed: enabled and checked states may differ now.
    void commandStateChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void syncScrollBars();

    grovex::CGROVEXView& view_;
    bool syncing_ = false;
};
