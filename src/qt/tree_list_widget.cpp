#include "qt/tree_list_widget.h"

#include "qt/platform/qt_canvas.h"
#include "qt/platform/qt_text.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QToolTip>

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

TreeListWidget::TreeListWidget(treeListView& view, QWidget* parent) : PaintedViewArea(parent), view_(view) {
    editor_ = new CellEditor(*this);
    connect(editor_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (view_.editing() && !placingEditor_) {
            view_.setEditorText(toStdString(text));
        }
    });

    view_.setHost(this);
    attachView();
}

TreeListWidget::~TreeListWidget() {
    view_.setHost(nullptr);
}

bool TreeListWidget::commandEnabled(int id) const {
    return view_.isEnabled(id);
}

void TreeListWidget::executeCommand(int id) {
    if (id == cmd::kFilePrint) {
        print();
    } else if (id == cmd::kFilePrintPreview) {
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

void TreeListWidget::requestRepaint() {
    repaintView();
}

void TreeListWidget::scrollChanged() {
    followViewScroll();
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
        view_.execute((modifiers & Qt::ShiftModifier) ? cmd::kGridBackTab : cmd::kGridTab);
        break;
    case Qt::Key_Backtab:
        view_.setEditorText(text);
        view_.execute(cmd::kGridBackTab);
        break;
    default: // Enter
        view_.setEditorText(text);
        view_.execute(cmd::kGridEnter);
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

bool TreeListWidget::viewMouseMove(Point client) {
    const GridCell end = view_.end();
    view_.OnMouseMove(client);
    return !(view_.end() == end);
}

bool TreeListWidget::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return PaintedViewArea::viewportEvent(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const Point at{help->pos().x(), help->pos().y()};
    const std::string name = view_.cellDescriptionAt(at);
    if (name.empty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    // The tip goes when the pointer leaves the cell.
    const Rect cell = view_.cellClientRect(*view_.hitTest(at));
    QToolTip::showText(help->globalPos(), toQString(name), viewport(),
                       QRect(cell.left, cell.top, cell.width(), cell.height()));
    return true;
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

} // namespace grovex
