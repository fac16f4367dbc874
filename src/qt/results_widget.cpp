#include "qt/results_widget.h"

#include "qt/print_support.h"

ResultsWidget::ResultsWidget(grovex::CGROVEXView& view, QWidget* parent) : PaintedViewArea(parent), view_(view) {
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

void ResultsWidget::requestRepaint() {
    repaintView();
}

void ResultsWidget::scrollChanged() {
    followViewScroll();
}

// Qt keeps sending the moves to the widget the button went down in until it is released, which is all the
// capture the view asks for.
void ResultsWidget::captureMouse(bool) {}

bool ResultsWidget::viewMouseMove(grovex::Point client) {
    const int endRow = view_.endRow();
    const int endCol = view_.endCol();
    view_.OnMouseMove(client);
    return view_.endRow() != endRow || view_.endCol() != endCol;
}
