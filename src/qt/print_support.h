#pragma once
// Printing a painted view (the results of a simulation, a tree list): the print dialog and job, the print
// preview, page setup, and one page as an image. Printer, preview and image all run the same routine: plan the
// pages, draw each through a QtCanvas, end.

#include "base/print_pages.h"

#include <QImage>
#include <QSize>

class QPaintDevice;
class QPrinter;
class QWidget;

namespace grovex {

class Canvas;
class CGROVEXView;
class FontMetricsSource;

// The three steps of a view's print job.
class PrintableView {
public:
    virtual ~PrintableView() = default;
    // Plans the pages on `device`, whose text `metrics` measures.
    virtual PrintPlan beginPrinting(const FontMetricsSource& metrics, const QPaintDevice& device) = 0;
    // Draws page `page` (1-based); the canvas covers the whole page.
    virtual void printPage(Canvas& canvas, int page) = 0;
    virtual void endPrinting() = 0;
};

// A results view as a printable view: its fonts scale from the screen's resolution to the device's.
class ResultsPrintable : public PrintableView {
public:
    explicit ResultsPrintable(CGROVEXView& view) : view_(view) {}
    PrintPlan beginPrinting(const FontMetricsSource& metrics, const QPaintDevice& device) override;
    void printPage(Canvas& canvas, int page) override;
    void endPrinting() override;

private:
    CGROVEXView& view_;
};

// The printer of the whole session: the printer, paper and orientation chosen last in Print Setup or in a
// print dialog. It is deleted when the application ends.
QPrinter& sharedPrinter();

// The screen's vertical resolution in dots per inch (96 when there is no screen).
int screenDpiY();

// Prints the view on `printer`: the pages of the printer's page range (every page when `allPages` or when no
// range is set), in the printer's page order. False when the printer could not be started.
bool printView(PrintableView& view, QPrinter& printer, bool allPages = false);
bool printView(CGROVEXView& view, QPrinter& printer, bool allPages = false);

// The print dialog on the shared printer, then the job. False when cancelled or when printing failed (the
// failure has then been shown).
bool runPrintDialog(PrintableView& view, QWidget* parent);
bool runPrintDialog(CGROVEXView& view, QWidget* parent);
// The print preview of the shared printer; it prints through the same routine.
void runPrintPreview(PrintableView& view, QWidget* parent);
void runPrintPreview(CGROVEXView& view, QWidget* parent);
// Page setup of the shared printer.
void runPageSetup(QWidget* parent);

struct RenderedPage {
    QImage image;
    int pageCount = 0;
};

// Page `page` (1-based) of a print job on paper whose printable area is `printableSize` device pixels at
// `dpi` dots per inch, drawn on white. The image is null when the job has no such page.
RenderedPage renderPrintPage(PrintableView& view, int page, QSize printableSize, int dpi);
RenderedPage renderPrintPage(CGROVEXView& view, int page, QSize printableSize, int dpi);

} // namespace grovex
