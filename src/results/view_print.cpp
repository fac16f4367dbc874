// The results view: printing the tables on pages across and down, with a footer on every page.

#include "base/c_format.h"
#include "results/view.h"

#include <algorithm>

namespace grovex {
namespace {

constexpr std::string_view kLineSample = "22288822.2288";
constexpr std::string_view kCharSample = "W";
constexpr const char* kFooterFormat = "       %s      page  %d";
constexpr int kFooterLineLength = 300;

int pagesFor(int total, int page) {
    return page > 0 ? std::max(1, (total + page - 1) / page) : 1;
}

} // namespace

PrintPlan CGROVEXView::OnBeginPrinting(const FontMetricsSource& printer, int printerDpiY, int screenDpiY,
                                       Size printableSize) {
    const double ratio = screenDpiY > 0 ? static_cast<double>(printerDpiY) / screenDpiY : 1.0;
    printerFont_ = screenFont_;
    printerFont_.width = 0;
    printerFont_.height = static_cast<int32_t>(screenFont_.height * ratio);
    printLineHeight_ = printer.textExtent(printerFont_, kLineSample).height;
    const int charWidth = printer.textExtent(printerFont_, kCharSample).width;
    pageWidth_ = printableSize.width - charWidth;
    pageHeight_ = printableSize.height - 2 * printLineHeight_;
    paperHeight_ = printableSize.height;
    const Size total = layoutWith(printer, printerFont_).value_or(Size{});
    printPlan_ = {pagesFor(total.width, pageWidth_), pagesFor(total.height, pageHeight_)};
    showSelection_ = false;
    return printPlan_;
}

Point CGROVEXView::pageOrigin(int page) const {
    const int across = std::max(1, printPlan_.pagesAcross);
    const int column = page % across - 1;
    if (column == -1) {
        return {(across - 1) * pageWidth_, (page / across - 1) * pageHeight_};
    }
    return {column * pageWidth_, page / across * pageHeight_};
}

void CGROVEXView::OnPrintPage(Canvas& printer, int page) const {
    const Point origin = pageOrigin(page);
    printer.setWindowOrigin(origin);
    // Only this page's share of the tables: what lies beyond it is printed on the next page.
    printer.clipTo({origin.x, origin.y, origin.x + pageWidth_, origin.y + pageHeight_});
    drawContent(printer, printerFont_, false);
    printer.removeClip();

    const int bandTop = origin.y + paperHeight_ - printLineHeight_;
    const Rect band{origin.x, bandTop, origin.x + pageWidth_, origin.y + paperHeight_};
    printer.fillSolidRect(band, kWhite);
    printer.setTextColor(kBlack);
    printer.setBackgroundColor(kWhite);
    printer.drawText(cformat(kFooterFormat, doc_.title().c_str(), page), band, TextAlign::Left);
    printer.moveTo({origin.x, bandTop});
    printer.lineTo({origin.x + kFooterLineLength, bandTop});
}

void CGROVEXView::OnEndPrinting() {
    LayoutTables();
    showSelection_ = true;
    repaint();
    printerFont_ = LogFont{};
}

} // namespace grovex
