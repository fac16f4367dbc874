#include "qt/results_widget.h"

#include "qt/print_support.h"

namespace grovex {

ResultsWidget::ResultsWidget(CGROVEXView& view, QWidget* parent) : PaintedViewArea(parent), view_(view) {
    view_.setHost(this);
    attachView();
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
    if (id == cmd::kFilePrint) {
        print();
    } else if (id == cmd::kFilePrintPreview) {
        printPreview();
    } else {
        view_.execute(id);
    }
    Q_EMIT commandStateChanged();
}

void ResultsWidget::print() {
    runPrintDialog(view_, this);
}

void ResultsWidget::printPreview() {
    runPrintPreview(view_, this);
}

void ResultsWidget::printSetup() {
    runPageSetup(nullptr);
}

void ResultsWidget::requestRepaint() {
    repaintView();
}

void ResultsWidget::scrollChanged() {
    followViewScroll();
}

// Qt keeps sending the moves to the widget the button went down in until it is released, which is all the
// capture the view asks for.
void ResultsWidget::captureMouse(bool) {}

bool ResultsWidget::viewMouseMove(Point client) {
    const int endRow = view_.endRow();
    const int endCol = view_.endCol();
    view_.OnMouseMove(client);
    return view_.endRow() != endRow || view_.endCol() != endCol;
}

} // namespace grovex
