#include "base/print_pages.h"

#include "base/c_format.h"

#include <algorithm>
#include <string_view>

namespace grovex {
namespace {

constexpr std::string_view kLineSample = "22288822.2288";
constexpr std::string_view kCharSample = "W";
constexpr const char* kFooterFormat = "       %s      page  %d";
constexpr int kFooterRuleLength = 300;

int pagesFor(int total, int page) {
    return page > 0 ? std::max(1, (total + page - 1) / page) : 1;
}

} // namespace

PageGeometry measurePage(const FontMetricsSource& printer, const LogFont& font, Size printableSize) {
    PageGeometry geometry;
    geometry.footerHeight = printer.textExtent(font, kLineSample).height;
    geometry.pageWidth = printableSize.width - printer.textExtent(font, kCharSample).width;
    geometry.pageHeight = printableSize.height - 2 * geometry.footerHeight;
    geometry.printableHeight = printableSize.height;
    return geometry;
}

PrintPlan planPages(Size total, const PageGeometry& geometry) {
    return {pagesFor(total.width, geometry.pageWidth), pagesFor(total.height, geometry.pageHeight)};
}

Point pageOrigin(const PrintPlan& plan, const PageGeometry& geometry, int page) {
    const int across = std::max(1, plan.pagesAcross);
    const int column = page % across - 1;
    if (column == -1) {
        return {(across - 1) * geometry.pageWidth, (page / across - 1) * geometry.pageHeight};
    }
    return {column * geometry.pageWidth, page / across * geometry.pageHeight};
}

void drawPageFooter(Canvas& printer, const PageGeometry& geometry, Point origin, const std::string& title, int page) {
    const int bandTop = origin.y + geometry.printableHeight - geometry.footerHeight;
    const Rect band{origin.x, bandTop, origin.x + geometry.pageWidth, origin.y + geometry.printableHeight};
    printer.fillSolidRect(band, kWhite);
    printer.setTextColor(kBlack);
    printer.setBackgroundColor(kWhite);
    printer.drawText(cformat(kFooterFormat, title.c_str(), page), band, TextAlign::Left);
    printer.moveTo({origin.x, bandTop});
    printer.lineTo({origin.x + kFooterRuleLength, bandTop});
}

} // namespace grovex
