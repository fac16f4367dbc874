// The results widget on a projected simulation: painting, scroll bars, mouse selection and printed pages.
// Set GROVEX_SNAPSHOT_DIR to keep the window and a printed page as PNG files for a look.

#include "model/input1.h"
#include "qt/platform/qt_canvas.h"
#include "qt/platform/qt_clipboard.h"
#include "qt/platform/qt_settings.h"
#include "qt/platform/qt_ui.h"
#include "qt/print_support.h"
#include "qt/results_widget.h"
#include "results/document.h"
#include "results/view.h"
#include "results/view_geometry.h"

#include <QFile>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace grovex;

namespace {

// A plantation projected to age 15, row-thinned, then projected to ages 25 and 35: five tables.
void projectStand(CGROVEXDoc& doc) {
    GrowthModel& model = doc.model;
    model.ResetModel();
    Input1 input;
    input.title = "Fernhill test stand";
    input.target = 15;
    WriteInput1(model, input);
    QVERIFY(StartRun(model));
    model.ProjectToTarget();
    model.qthin = 1;
    model.ithin = 1;
    model.rcut = 0.25f;
    model.Thin();
    for (float target : {25.0f, 35.0f}) {
        model.target = target;
        model.ProjectToTarget();
    }
    doc.display.standTitle = input.title;
    doc.setTitle("GROVEX1");
}

bool hasDarkPixels(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                return true;
            }
        }
    }
    return false;
}

void keepSnapshot(const QImage& image, const char* name) {
    const QString dir = qEnvironmentVariable("GROVEX_SNAPSHOT_DIR");
    if (!dir.isEmpty()) {
        image.save(dir + "/" + name);
    }
}

} // namespace

class ResultsWidgetTest : public QObject {
    Q_OBJECT

    QTemporaryDir appDir_;
    std::unique_ptr<QtSettings> settings_;
    QtUi ui_;
    QtClipboard clipboard_;
    std::unique_ptr<CGROVEXDoc> doc_;
    std::unique_ptr<CGROVEXView> view_;

private slots:
    void init() {
        settings_ = std::make_unique<QtSettings>(appDir_.filePath("settings.ini"));
        doc_ = std::make_unique<CGROVEXDoc>();
        projectStand(*doc_);
        view_ = std::make_unique<CGROVEXView>(*doc_, QtFontMetricsSource::screen(), *settings_, ui_, clipboard_,
                                              appDir_.path().toStdString() + "/");
        view_->OnInitialUpdate();
    }

    void cleanup() {
        view_.reset();
        doc_.reset();
        settings_.reset();
    }

    void emptyDocumentShowsTheFramedTitle() {
        CGROVEXDoc empty;
        CGROVEXView view(empty, QtFontMetricsSource::screen(), *settings_, ui_, clipboard_,
                         appDir_.path().toStdString() + "/");
        view.OnInitialUpdate();
        ResultsWidget widget(view);
        widget.resize(640, 360);
        const QImage image = widget.grab().toImage();
        keepSnapshot(image, "results_empty.png");
        QVERIFY(hasDarkPixels(image));
        QVERIFY(!widget.commandEnabled(cmd::kEditCopy));
        QVERIFY(!widget.commandEnabled(cmd::kEditSelectAll));
    }

    void paintsAndScrollsInStepWithTheView() {
        ResultsWidget widget(*view_);
        widget.resize(500, 400);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        const QImage image = widget.grab().toImage();
        keepSnapshot(image, "results_widget.png");
        QVERIFY(hasDarkPixels(image));

        const QSize client = widget.viewport()->size();
        QCOMPARE(widget.verticalScrollBar()->maximum(), view_->scrollSize().height - client.height());
        QCOMPARE(widget.horizontalScrollBar()->maximum(), std::max(0, view_->scrollSize().width - client.width()));

        // The bars move the view, and the view's own scrolling moves the bars.
        widget.verticalScrollBar()->setValue(100);
        QCOMPARE(view_->scrollPosition().y, 100);
        widget.executeCommand(cmd::kLineDown);
        QCOMPARE(widget.verticalScrollBar()->value(), 100 + view_->lineHeight());
        widget.verticalScrollBar()->setValue(widget.verticalScrollBar()->maximum());
        keepSnapshot(widget.grab().toImage(), "results_widget_bottom.png");

        // A taller viewport shortens the scroll range and keeps the position inside it.
        widget.resize(500, 800);
        QCOMPARE(widget.verticalScrollBar()->maximum(), view_->scrollSize().height - widget.viewport()->height());
        QCOMPARE(view_->scrollPosition().y, widget.verticalScrollBar()->value());
    }

    void clickSelectsTheCellUnderThePointer() {
        ResultsWidget widget(*view_);
        widget.resize(700, 500);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QSignalSpy changed(&widget, &ResultsWidget::commandStateChanged);
        QVERIFY(!widget.commandEnabled(cmd::kEditCopy));

        const ResultTable& first = doc_->model.tables[0];
        const int lineHeight = view_->lineHeight();
        const QPoint cell(view_geometry::columnLeft(first, 2) + 4,
                          first.rowsTop + lineHeight + lineHeight / 2 - view_->scrollPosition().y);
        QTest::mouseClick(widget.viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(view_->selTable(), 0);
        QCOMPARE(view_->anchorRow(), 1);
        QCOMPARE(view_->anchorCol(), 2);
        QVERIFY(!changed.isEmpty());
        QVERIFY(widget.commandEnabled(cmd::kEditCopy));

        // Dragging two rows down and one column right selects the rectangle.
        QTest::mousePress(widget.viewport(), Qt::LeftButton, {}, cell);
        QMouseEvent move(QEvent::MouseMove, cell + QPoint(first.colWidth[2], 2 * lineHeight),
                         widget.viewport()->mapToGlobal(cell + QPoint(first.colWidth[2], 2 * lineHeight)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget.viewport(), &move);
        QTest::mouseRelease(widget.viewport(), Qt::LeftButton, {}, cell + QPoint(first.colWidth[2], 2 * lineHeight));
        QCOMPARE(view_->endRow(), 3);
        QCOMPARE(view_->endCol(), 3);
        QVERIFY(view_->isCellSelected(0, 2, 3));
        keepSnapshot(widget.grab().toImage(), "results_selection.png");

        // Select All is a command like any other; it shows everything in inverse video.
        widget.executeCommand(cmd::kEditSelectAll);
        QVERIFY(view_->selectAll());
        keepSnapshot(widget.grab().toImage(), "results_select_all.png");
    }

    void printedPageIsDrawnAndTheScreenRestored() {
        const int lineHeight = view_->lineHeight();
        const Size scrollSize = view_->scrollSize();
        // Letter paper with quarter-inch margins at 150 dpi.
        const RenderedPage page = renderPrintPage(*view_, 1, QSize(1200, 1575), 150);
        QVERIFY(page.pageCount >= 2);
        QVERIFY(!page.image.isNull());
        QVERIFY(hasDarkPixels(page.image));
        keepSnapshot(page.image, "results_print_page1.png");
        keepSnapshot(renderPrintPage(*view_, page.pageCount, QSize(1200, 1575), 150).image, "results_print_last.png");
        QVERIFY(renderPrintPage(*view_, page.pageCount + 1, QSize(1200, 1575), 150).image.isNull());
        // After the job the view is laid out for the screen again.
        QCOMPARE(view_->lineHeight(), lineHeight);
        QCOMPARE(view_->scrollSize().height, scrollSize.height);
    }

    void printerJobPrintsEveryPageOrTheChosenRange() {
        auto pdfPages = [](const QString& file) {
            QFile pdf(file);
            return pdf.open(QIODevice::ReadOnly) ? QString::fromLatin1(pdf.readAll()).count("/Type /Page\n") : -1;
        };
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const int pageCount =
            renderPrintPage(*view_, 1, QSize(printer.width(), printer.height()), printer.logicalDpiY()).pageCount;
        QVERIFY(pageCount >= 3);

        printer.setOutputFileName(appDir_.filePath("all.pdf"));
        QVERIFY(printView(*view_, printer));
        QCOMPARE(pdfPages(appDir_.filePath("all.pdf")), pageCount);

        printer.setOutputFileName(appDir_.filePath("range.pdf"));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, pageCount + 5);
        QVERIFY(printView(*view_, printer));
        QCOMPARE(pdfPages(appDir_.filePath("range.pdf")), pageCount - 1);
        // The preview shows every page whatever range the last print dialog chose.
        printer.setOutputFileName(appDir_.filePath("preview.pdf"));
        QVERIFY(printView(*view_, printer, true));
        QCOMPARE(pdfPages(appDir_.filePath("preview.pdf")), pageCount);
    }
};

QTEST_MAIN(ResultsWidgetTest)
#include "results_widget_test.moc"
