#include "qt/painted_view_area.h"

#include "qt/platform/qt_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>

namespace grovex {

PaintedViewArea::PaintedViewArea(QWidget* parent) : QAbstractScrollArea(parent) {
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PaintedViewArea::attachView() {
    viewSetClientSize({viewport()->width(), viewport()->height()});
    syncScrollBars();
}

void PaintedViewArea::repaintView() {
    viewport()->update();
}

void PaintedViewArea::followViewScroll() {
    if (!syncing_) {
        syncScrollBars();
    }
    viewport()->update();
}

void PaintedViewArea::syncScrollBars() {
    const QScopedValueRollback<bool> guard(syncing_, true);
    const Size total = viewScrollSize();
    const Size line = viewLineSize();
    const QSize client = viewport()->size();
    // A view that fits the area without scroll bars needs none, even while bars still shown make the client
    // area smaller than the view.
    const QSize room = maximumViewportSize();
    const bool fits = total.width <= room.width() && total.height <= room.height();
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    horizontal->setRange(0, fits ? 0 : std::max(0, total.width - client.width()));
    horizontal->setPageStep(std::max(1, client.width()));
    horizontal->setSingleStep(std::max(1, line.width));
    vertical->setRange(0, fits ? 0 : std::max(0, total.height - client.height()));
    vertical->setPageStep(std::max(1, client.height()));
    vertical->setSingleStep(std::max(1, line.height));
    const Point position = viewScrollPosition();
    horizontal->setValue(position.x);
    vertical->setValue(position.y);
}

void PaintedViewArea::scrollContentsBy(int, int) {
    if (!syncing_) {
        const QScopedValueRollback<bool> guard(syncing_, true);
        viewScrolledByUser({horizontalScrollBar()->value(), verticalScrollBar()->value()});
    }
    viewport()->update();
}

void PaintedViewArea::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Qt::white);
    QtCanvas canvas(painter, event->rect());
    canvas.setWindowOrigin(viewScrollPosition());
    viewDraw(canvas);
}

void PaintedViewArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    viewSetClientSize({viewport()->width(), viewport()->height()});
    viewSetScrollPosition(viewScrollPosition()); // clamps to the new range and syncs the bars
}

void PaintedViewArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    viewMouseDown({at.x(), at.y()});
    Q_EMIT commandStateChanged();
}

void PaintedViewArea::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (viewMouseMove({at.x(), at.y()})) {
        Q_EMIT commandStateChanged();
    }
}

void PaintedViewArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    viewMouseUp();
    Q_EMIT commandStateChanged();
}

void PaintedViewArea::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}

} // namespace grovex
