#include "qt/results_widget.h"

#include "qt/platform/qt_canvas.h"
#include "qt/print_support.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>

using grovex::Point;

ResultsWidget::ResultsWidget(grovex::CGROVEXView& view, QWidget* parent) : QAbstractScrollArea(parent), view_(view) {
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    view_.setHost(this);
    view_.setClientSize({viewport()->width(), viewport()->height()});
    syncScrollBars();
}

ResultsWidget::~ResultsWidget() {
    view_.setHost(nullptr);
}

bool ResultsWidget::commandEnabled(int id) const {
    return view_.isEnabled(id);
}

bool ResultsWidget::commandChecked(int id) const {
    return view_.isChecked(id);
}

void ResultsWidget::executeCommand(int id) {
    if (id == grovex::viewcmd::kPrint) {
        print();
    } else if (id == grovex::viewcmd::kPrintPreview) {
        printPreview();
    } else {
        view_.execute(id);
    }
    Q_EMIT commandStateChanged();
}

void ResultsWidget::print() {
    grovex::runPrintDialog(view_, this);
}

void ResultsWidget::printPreview() {
    grovex::runPrintPreview(view_, this);
}

void ResultsWidget::printSetup() {
    grovex::runPageSetup(nullptr);
}

void ResultsWidget::repaint() {
    viewport()->update();
}

void ResultsWidget::scrollChanged() {
    if (!syncing_) {
        syncScrollBars();
    }
    viewport()->update();
}

// Qt keeps sending the moves to the widget the button went down in until it is released, which is all the
// capture the view asks for.
void ResultsWidget::captureMouse(bool) {}

void ResultsWidget::syncScrollBars() {
    const QScopedValueRollback<bool> guard(syncing_, true);
    const grovex::Size total = view_.scrollSize();
    const QSize client = viewport()->size();
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    horizontal->setRange(0, std::max(0, total.width - client.width()));
    horizontal->setPageStep(std::max(1, client.width()));
    horizontal->setSingleStep(std::max(1, view_.charWidth()));
    vertical->setRange(0, std::max(0, total.height - client.height()));
    vertical->setPageStep(std::max(1, client.height()));
    vertical->setSingleStep(std::max(1, view_.lineHeight()));
    const Point position = view_.scrollPosition();
    horizontal->setValue(position.x);
    vertical->setValue(position.y);
}

void ResultsWidget::scrollContentsBy(int, int) {
    if (!syncing_) {
        const QScopedValueRollback<bool> guard(syncing_, true);
        view_.setScrollPosition({horizontalScrollBar()->value(), verticalScrollBar()->value()});
    }
    viewport()->update();
}

void ResultsWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Qt::white);
    grovex::QtCanvas canvas(painter, event->rect());
    canvas.setWindowOrigin(view_.scrollPosition());
    view_.OnDraw(canvas);
}

void ResultsWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    view_.setClientSize({viewport()->width(), viewport()->height()});
    view_.setScrollPosition(view_.scrollPosition()); // clamps to the new range and syncs the bars
}

void ResultsWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    view_.OnLButtonDown({at.x(), at.y()});
    Q_EMIT commandStateChanged();
}

void ResultsWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const int endRow = view_.endRow();
    const int endCol = view_.endCol();
    view_.OnMouseMove({at.x(), at.y()});
    if (view_.endRow() != endRow || view_.endCol() != endCol) {
        Q_EMIT commandStateChanged();
    }
}

void ResultsWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    view_.OnLButtonUp();
    Q_EMIT commandStateChanged();
}

// Keys reach the view as commands of the window's actions; the scroll area's own key scrolling would
// bypass the view's rules, so keys go on to the parent.
void ResultsWidget::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}
