#include "qt/tree_list_widget.h"

#include "qt/platform/qt_canvas.h"
#include "qt/platform/qt_text.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>

namespace grovex {
namespace {

bool isEditorKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab || key == Qt::Key_Backtab ||
           key == Qt::Key_Escape;
}

} // namespace

PrintPlan TreeListPrintable::beginPrinting(const FontMetricsSource& metrics, const QPaintDevice& device) {
    return view_.OnBeginPrinting(metrics, {device.width(), device.height()});
}

void TreeListPrintable::printPage(Canvas& canvas, int page) {
    view_.OnPrintPage(canvas, page);
}

void TreeListPrintable::endPrinting() {
    view_.OnEndPrinting();
}

CellEditor::CellEditor(TreeListWidget& owner) : QLineEdit(owner.viewport()), owner_(owner) {
    setMaxLength(treegrid::kEditorTextLimit);
    setAlignment(Qt::AlignCenter);
    setFont(toQFont(treeListView::gridFont()));
    setTextMargins(0, 0, 0, 0);
    hide();
}

bool CellEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // These keys close the editor here, before the window's shortcuts could take them.
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEditorKey(key->key())) {
            event->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (isEditorKey(key->key())) {
            owner_.editorKey(key->key(), key->modifiers());
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CellEditor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A menu opening over the editor leaves it open, as it does not take the focus from it.
    if (event->reason() != Qt::PopupFocusReason) {
        owner_.editorLostFocus();
    }
}

TreeListWidget::TreeListWidget(treeListView& view, QWidget* parent) : QAbstractScrollArea(parent), view_(view) {
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);

    editor_ = new CellEditor(*this);
    connect(editor_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (view_.editing() && !placingEditor_) {
            view_.setEditorText(toStdString(text));
        }
    });

    view_.setHost(this);
    view_.setClientSize({viewport()->width(), viewport()->height()});
    syncScrollBars();
}

TreeListWidget::~TreeListWidget() {
    view_.setHost(nullptr);
}

bool TreeListWidget::commandEnabled(int id) const {
    return view_.isEnabled(id);
}

void TreeListWidget::executeCommand(int id) {
    if (id == treecmd::kPrint) {
        print();
    } else if (id == treecmd::kPrintPreview) {
        printPreview();
    } else {
        view_.execute(id);
    }
    Q_EMIT commandStateChanged();
}

void TreeListWidget::print() {
    TreeListPrintable printable(view_);
    runPrintDialog(printable, this);
}

void TreeListWidget::printPreview() {
    TreeListPrintable printable(view_);
    runPrintPreview(printable, this);
}

void TreeListWidget::repaint() {
    viewport()->update();
}

void TreeListWidget::scrollChanged() {
    if (!syncing_) {
        syncScrollBars();
    }
    viewport()->update();
}

// Qt keeps sending the moves to the widget the button went down in until it is released.
void TreeListWidget::captureMouse(bool) {}

void TreeListWidget::showEditor(const Rect& clientRect, const std::string& text) {
    {
        const QScopedValueRollback<bool> guard(placingEditor_, true);
        editor_->setGeometry(clientRect.left, clientRect.top, clientRect.width(), clientRect.height());
        editor_->setText(toQString(text));
    }
    editor_->show();
    editor_->raise();
    editor_->setFocus(Qt::OtherFocusReason);
    editor_->selectAll();
}

void TreeListWidget::hideEditor() {
    const QScopedValueRollback<bool> guard(placingEditor_, true);
    const bool hadFocus = editor_->hasFocus();
    editor_->hide();
    if (hadFocus) {
        setFocus(Qt::OtherFocusReason);
    }
}

void TreeListWidget::editorKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!view_.editing()) {
        return;
    }
    const std::string text = toStdString(editor_->text());
    switch (key) {
    case Qt::Key_Escape:
        view_.escapeEdit(text);
        break;
    case Qt::Key_Tab:
        view_.setEditorText(text);
        view_.execute((modifiers & Qt::ShiftModifier) ? treecmd::kShiftTab : treecmd::kTab);
        break;
    case Qt::Key_Backtab:
        view_.setEditorText(text);
        view_.execute(treecmd::kShiftTab);
        break;
    default: // Enter
        view_.setEditorText(text);
        view_.execute(treecmd::kEnter);
        break;
    }
    Q_EMIT commandStateChanged();
}

void TreeListWidget::editorLostFocus() {
    if (view_.editing() && !placingEditor_) {
        view_.commitEdit(toStdString(editor_->text()));
        Q_EMIT commandStateChanged();
    }
}

void TreeListWidget::syncScrollBars() {
    const QScopedValueRollback<bool> guard(syncing_, true);
    const Size total = view_.scrollSize();
    const Size line = view_.lineSize();
    const QSize client = viewport()->size();
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    horizontal->setRange(0, std::max(0, total.width - client.width()));
    horizontal->setPageStep(std::max(1, client.width()));
    horizontal->setSingleStep(std::max(1, line.width));
    vertical->setRange(0, std::max(0, total.height - client.height()));
    vertical->setPageStep(std::max(1, client.height()));
    vertical->setSingleStep(std::max(1, line.height));
    const Point position = view_.scrollPosition();
    horizontal->setValue(position.x);
    vertical->setValue(position.y);
}

// The user moved a scroll bar (or the wheel did): an open editor is committed before the grid moves.
void TreeListWidget::scrollContentsBy(int, int) {
    if (!syncing_) {
        const QScopedValueRollback<bool> guard(syncing_, true);
        view_.OnScroll({horizontalScrollBar()->value(), verticalScrollBar()->value()});
    }
    viewport()->update();
}

void TreeListWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Qt::white);
    QtCanvas canvas(painter, event->rect());
    canvas.setWindowOrigin(view_.scrollPosition());
    view_.OnDraw(canvas);
}

void TreeListWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    view_.setClientSize({viewport()->width(), viewport()->height()});
    view_.setScrollPosition(view_.scrollPosition()); // clamps to the new range and syncs the bars
}

void TreeListWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    view_.OnLButtonDown({at.x(), at.y()});
    Q_EMIT commandStateChanged();
}

void TreeListWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const GridCell end = view_.end();
    view_.OnMouseMove({at.x(), at.y()});
    if (!(view_.end() == end)) {
        Q_EMIT commandStateChanged();
    }
}

void TreeListWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    view_.OnLButtonUp();
    Q_EMIT commandStateChanged();
}

void TreeListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    view_.OnLButtonDblClk({at.x(), at.y()});
    Q_EMIT commandStateChanged();
}

// Keys reach the grid as commands of the window's actions; the scroll area's own key scrolling would bypass
// the grid's rules, so keys go on to the parent.
void TreeListWidget::keyPressEvent(QKeyEvent* event) {
    event->ignore();
}

} // namespace grovex
