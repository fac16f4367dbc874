#include "qt/stand_value_window.h"

#include "base/command_ids.h"
#include "qt/icons.h"
#include "qt/platform/qt_text.h"
#include "results/view.h"

#include <QAction>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPaintDevice>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace grovex {
namespace {

// The printed text: Courier New of 15 units at the screen's resolution, scaled to the printer's.
constexpr int kPrintFontHeightAt96Dpi = 15;

} // namespace

StandValueWindow::StandValueWindow(std::shared_ptr<RunRecord> record, PricesChoice& prices, Clipboard& clipboard,
                                   Ui& ui, QWidget* parent)
    : QMainWindow(parent, Qt::Window), record_(std::move(record)), prices_(prices), clipboard_(clipboard), ui_(ui),
      model_(*record_, prices_) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The window's keys (Copy, Print) reach its actions; the mouse still selects.
    text_->setFocusPolicy(Qt::NoFocus);
    setCentralWidget(text_);
    buildActions();
    refresh();
    fitToText();
}

void StandValueWindow::buildActions() {
    const auto add = [this](const QString& text, const QIcon& icon, const QKeySequence& key,
                            void (StandValueWindow::*run)()) {
        auto* action = new QAction(icon, text, this);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    QAction* choose = add(QStringLiteral("&Choose Prices File..."), style()->standardIcon(QStyle::SP_DialogOpenButton),
                          QKeySequence(), &StandValueWindow::choosePrices);
    QAction* copyAction = add(QStringLiteral("&Copy"), toolbarIcon(cmd::kEditCopy, *style()), QKeySequence::Copy,
                              &StandValueWindow::copy);
    QAction* printAction = add(QStringLiteral("&Print..."), toolbarIcon(cmd::kFilePrint, *style()), QKeySequence::Print,
                               &StandValueWindow::print);
    QAction* preview = add(QStringLiteral("Print Pre&view"), QIcon(), QKeySequence(), &StandValueWindow::printPreview);
    auto* close = new QAction(QStringLiteral("&Close"), this);
    connect(close, &QAction::triggered, this, &QWidget::close);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({printAction, preview});
    file->addSeparator();
    file->addAction(close);
    menuBar()->addMenu(QStringLiteral("&Edit"))->addAction(copyAction);
    menuBar()->addMenu(QStringLiteral("P&rices"))->addAction(choose);

    toolBar_ = addToolBar(QStringLiteral("Stand Value"));
    toolBar_->setIconSize(QSize(16, 16));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar_->addAction(choose);
    toolBar_->addSeparator();
    toolBar_->addActions({copyAction, printAction});
}

// Wide enough for the cash-flow table and, as far as the screen allows, high enough for all of it.
void StandValueWindow::fitToText() {
    const QFontMetrics metrics(text_->font());
    const int lines = static_cast<int>(text_->document()->blockCount()) + 2;
    const int chrome = menuBar()->sizeHint().height() + toolBar_->sizeHint().height();
    const QScreen* screen = this->screen();
    const int available = screen != nullptr ? screen->availableGeometry().height() * 4 / 5 : 700;
    resize(metrics.horizontalAdvance(QLatin1Char('0')) * 72 + 2 * text_->frameWidth() +
               text_->verticalScrollBar()->sizeHint().width(),
           std::clamp(metrics.lineSpacing() * std::max(lines, 30) + chrome, 300, std::max(300, available)));
}

// The text is set again only when it changed, so that the place the user scrolled to stays.
void StandValueWindow::refresh() {
    setWindowTitle(toQString(model_.caption()));
    if (!model_.refresh() && !text_->document()->isEmpty()) {
        return;
    }
    const int scrolled = text_->verticalScrollBar()->value();
    text_->setPlainText(toQString(model_.text()));
    text_->verticalScrollBar()->setValue(scrolled);
}

void StandValueWindow::choosePrices() {
    prices_.choose();
    refresh();
    Q_EMIT pricesChosen();
}

void StandValueWindow::copy() {
    const QString selected = text_->textCursor().selectedText();
    // A selection ends its lines with the paragraph separator.
    const std::string text = selected.isEmpty()
                                 ? model_.text()
                                 : toStdString(QString(selected).replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
    PutTextOnClipboard(clipboard_, ui_, text);
}

void StandValueWindow::print() {
    StandValuePrintable printable(model_);
    runPrintDialog(printable, this);
}

void StandValueWindow::printPreview() {
    StandValuePrintable printable(model_);
    runPrintPreview(printable, this);
}

PrintPlan StandValuePrintable::beginPrinting(const FontMetricsSource& metrics, const QPaintDevice& device) {
    LogFont font;
    font.height = kPrintFontHeightAt96Dpi * device.logicalDpiY() / 96;
    pages_ = std::make_unique<TextPages>(model_.text(), model_.caption());
    return pages_->begin(metrics, font, {device.width(), device.height()});
}

void StandValuePrintable::printPage(Canvas& canvas, int page) {
    if (pages_) {
        pages_->printPage(canvas, page);
    }
}

void StandValuePrintable::endPrinting() {
    pages_.reset();
}

} // namespace grovex
