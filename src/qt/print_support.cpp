#include "qt/print_support.h"

#include "qt/platform/qt_canvas.h"
#include "results/view.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace grovex {
namespace {

std::unique_ptr<QPrinter>& printerSlot() {
    static std::unique_ptr<QPrinter> printer;
    return printer;
}

void drawPage(PrintableView& view, QPainter& painter, const QPaintDevice& device, int page) {
    QtCanvas canvas(painter, QRect(0, 0, device.width(), device.height()));
    view.printPage(canvas, page);
}

} // namespace

PrintPlan ResultsPrintable::beginPrinting(const FontMetricsSource& metrics, const QPaintDevice& device) {
    return view_.OnBeginPrinting(metrics, device.logicalDpiY(), screenDpiY(), {device.width(), device.height()});
}

void ResultsPrintable::printPage(Canvas& canvas, int page) {
    view_.OnPrintPage(canvas, page);
}

void ResultsPrintable::endPrinting() {
    view_.OnEndPrinting();
}

QPrinter& sharedPrinter() {
    std::unique_ptr<QPrinter>& printer = printerSlot();
    if (!printer) {
        // The view describes the page in the printer's units and keeps gaps of a fixed number of units
        // between columns and tables. At the screen's resolution those gaps are as wide on paper as on the
        // screen, where at a printer's 600 or 1200 dpi they would shrink to nothing and columns would touch.
        // The output stays vector text and lines; only coordinates are counted in screen pixels.
        printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
        // The printer system must be closed while the application still exists.
        qAddPostRoutine([] { printerSlot().reset(); });
    }
    return *printer;
}

int screenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

bool printView(CGROVEXView& view, QPrinter& printer, bool allPages) {
    ResultsPrintable printable(view);
    return printView(printable, printer, allPages);
}

bool printView(PrintableView& view, QPrinter& printer, bool allPages) {
    const QtFontMetricsSource metrics(&printer);
    const PrintPlan plan = view.beginPrinting(metrics, printer);
    int first = 1;
    int last = plan.pageCount();
    if (!allPages && printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    std::vector<int> pages;
    for (int page = first; page <= last; ++page) {
        pages.push_back(page);
    }
    if (printer.pageOrder() == QPrinter::LastPageFirst) {
        std::reverse(pages.begin(), pages.end());
    }

    QPainter painter;
    const bool started = painter.begin(&printer);
    if (started) {
        for (size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                printer.newPage();
            }
            drawPage(view, painter, printer, pages[i]);
        }
        painter.end();
    }
    view.endPrinting();
    return started;
}

bool runPrintDialog(CGROVEXView& view, QWidget* parent) {
    ResultsPrintable printable(view);
    return runPrintDialog(printable, parent);
}

bool runPrintDialog(PrintableView& view, QWidget* parent) {
    QPrinter& printer = sharedPrinter();
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, 9999);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    if (!printView(view, printer)) {
        QMessageBox::warning(parent, QStringLiteral("GROVEX"), QStringLiteral("The printer could not be started."));
        return false;
    }
    return true;
}

void runPrintPreview(CGROVEXView& view, QWidget* parent) {
    ResultsPrintable printable(view);
    runPrintPreview(printable, parent);
}

void runPrintPreview(PrintableView& view, QWidget* parent) {
    QPrintPreviewDialog preview(&sharedPrinter(), parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                     [&view](QPrinter* printer) { printView(view, *printer, true); });
    if (parent != nullptr) {
        preview.resize(parent->window()->size() * 9 / 10);
    }
    preview.exec();
}

void runPageSetup(QWidget* parent) {
    QPageSetupDialog dialog(&sharedPrinter(), parent);
    dialog.exec();
}

RenderedPage renderPrintPage(CGROVEXView& view, int page, QSize printableSize, int dpi) {
    ResultsPrintable printable(view);
    return renderPrintPage(printable, page, printableSize, dpi);
}

RenderedPage renderPrintPage(PrintableView& view, int page, QSize printableSize, int dpi) {
    QImage image(printableSize, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);

    const QtFontMetricsSource metrics(&image);
    const PrintPlan plan = view.beginPrinting(metrics, image);
    RenderedPage rendered{QImage(), plan.pageCount()};
    if (page >= 1 && page <= plan.pageCount()) {
        QPainter painter(&image);
        drawPage(view, painter, image, page);
        painter.end();
        rendered.image = image;
    }
    view.endPrinting();
    return rendered;
}

} // namespace grovex
