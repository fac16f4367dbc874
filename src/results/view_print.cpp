// The results view: printing the tables on pages across and down, with a footer on every page.

#include "results/view.h"

namespace grovex {

PrintPlan CGROVEXView::OnBeginPrinting(const FontMetricsSource& printer, int printerDpiY, int screenDpiY,
                                       Size printableSize) {
    const double ratio = screenDpiY > 0 ? static_cast<double>(printerDpiY) / screenDpiY : 1.0;
    printerFont_ = screenFont_;
    printerFont_.width = 0;
    printerFont_.height = static_cast<int32_t>(screenFont_.height * ratio);
    pageGeometry_ = measurePage(printer, printerFont_, printableSize);
    const Size total = layoutWith(printer, printerFont_).value_or(Size{});
    printPlan_ = planPages(total, pageGeometry_);
    showSelection_ = false;
    return printPlan_;
}

Point CGROVEXView::pageOrigin(int page) const {
    return grovex::pageOrigin(printPlan_, pageGeometry_, page);
}

void CGROVEXView::OnPrintPage(Canvas& printer, int page) const {
    const Point origin = pageOrigin(page);
    printer.setWindowOrigin(origin);
    // Only this page's share of the tables: what lies beyond it is printed on the next page.
    printer.clipTo({origin.x, origin.y, origin.x + pageWidth(), origin.y + pageHeight()});
    drawContent(printer, printerFont_, false);
    printer.removeClip();

    drawPageFooter(printer, pageGeometry_, origin, doc_.title(), page);
}

void CGROVEXView::OnEndPrinting() {
    LayoutTables();
    showSelection_ = true;
    repaint();
    printerFont_ = LogFont{};
}

} // namespace grovex
