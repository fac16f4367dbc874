#pragma once
// Printing a results view: the print dialog and job, the print preview, page setup, and one page as an image.
// Printer, preview and image all run the same routine: plan the pages, draw each through a QtCanvas, end.

#include <QImage>
#include <QSize>

class QPrinter;
class QWidget;

namespace grovex {

class CGROVEXView;

// The printer of the whole session: the printer, paper and orientation chosen last in Print Setup or in a
// print dialog. It is deleted when the application ends.
QPrinter& sharedPrinter();

// The screen's vertical resolution in dots per inch (96 when there is no screen).
int screenDpiY();

// Prints the view on `printer`: the pages of the printer's page range (every page when `allPages` or when no
// range is set), in the printer's page order. False when the printer could not be started.
bool printView(CGROVEXView& view, QPrinter& printer, bool allPages = false);

// The print dialog on the shared printer, then the job. False when cancelled or when printing failed (the
// failure has then been shown).
bool runPrintDialog(CGROVEXView& view, QWidget* parent);
// The print preview of the shared printer; it prints through the same routine.
void runPrintPreview(CGROVEXView& view, QWidget* parent);
// Page setup of the shared printer.
void runPageSetup(QWidget* parent);

struct RenderedPage {
    QImage image;
    int pageCount = 0;
};

// Page `page` (1-based) of a print job on paper whose printable area is `printableSize` device pixels at
// `dpi` dots per inch, drawn on white. The image is null when the job has no such page.
RenderedPage renderPrintPage(CGROVEXView& view, int page, QSize printableSize, int dpi);

} // namespace grovex
