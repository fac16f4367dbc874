#include "qt/simulation_window.h"

#include "qt/icons.h"
#include "qt/platform/qt_canvas.h"
#include "qt/platform/qt_text.h"
#include "qt/results_widget.h"

#include <QCloseEvent>

namespace grovex {

SimulationWindow::SimulationWindow(std::shared_ptr<CGROVEXDoc> document, const ViewServices& services, QWidget* parent)
    : QMdiSubWindow(parent), document_(std::move(document)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    view_ = std::make_unique<CGROVEXView>(*document_, QtFontMetricsSource::screen(), services.settings, services.ui,
                                          services.clipboard, services.appDirectory);
    view_->OnInitialUpdate();
    widget_ = new ResultsWidget(*view_, this);
    setWidget(widget_);
    setFocusProxy(widget_);
    connect(widget_, &ResultsWidget::commandStateChanged, this, &SimulationWindow::commandStateChanged);
    updateTitle(1, 1);
}

// The widget refers to the view, so it goes first.
SimulationWindow::~SimulationWindow() {
    delete widget_;
}

void SimulationWindow::updateTitle(int number, int count) {
    QString title = toQString(document_->title());
    if (count > 1) {
        title += QStringLiteral(":%1").arg(number);
    }
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(document_->isModified());
}

void SimulationWindow::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_(*this)) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace grovex
