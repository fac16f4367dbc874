#pragma once
// A scroll area that shows a view free of widgets: it keeps the scroll bars and the view's scroll position in
// step, paints the exposed part through the view, and forwards the left mouse button. Keys reach the view as
// commands of the main window's actions, so the area takes none itself (the scroll area's own key scrolling
// would bypass the view's rules).

#include "base/platform/canvas.h"

#include <QAbstractScrollArea>

namespace grovex {

class PaintedViewArea : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit PaintedViewArea(QWidget* parent = nullptr);

Q_SIGNALS:
    // A command ran or the selection changed: enabled and checked states may differ now.
    void commandStateChanged();

protected:
    // What the area needs of its view.
    virtual Size viewScrollSize() const = 0;
    virtual Point viewScrollPosition() const = 0;
    virtual Size viewLineSize() const = 0;
    virtual void viewSetClientSize(Size size) = 0;
    virtual void viewSetScrollPosition(Point position) = 0; // the program moves the view (clamped)
    virtual void viewScrolledByUser(Point position) = 0;    // the user moved a scroll bar or the wheel
    virtual void viewDraw(Canvas& canvas) = 0;
    virtual void viewMouseDown(Point client) = 0;
    // Answers whether the selection changed.
    virtual bool viewMouseMove(Point client) = 0;
    virtual void viewMouseUp() = 0;

    // Call from the constructor of the derived class, once its view is reachable.
    void attachView();
    // For the view's host: repaint, and scroll bars that follow a changed scroll size or position.
    void repaintView();
    void followViewScroll();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void syncScrollBars();

    bool syncing_ = false;
};

} // namespace grovex
