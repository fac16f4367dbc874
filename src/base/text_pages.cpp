#include "base/text_pages.h"

#include <algorithm>

namespace grovex {

TextPages::TextPages(std::string_view text, std::string title) : title_(std::move(title)) {
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines_.emplace_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

// A page holds whole lines: its height is cut down to a multiple of the line height.
PrintPlan TextPages::begin(const FontMetricsSource& printer, const LogFont& font, Size printableSize) {
    font_ = font;
    geometry_ = measurePage(printer, font, printableSize);
    lineHeight_ = std::max(1, printer.textExtent(font, "W").height);
    linesPerPage_ = std::max(1, geometry_.pageHeight / lineHeight_);
    geometry_.pageHeight = linesPerPage_ * lineHeight_;
    int width = 0;
    for (const std::string& line : lines_) {
        width = std::max(width, printer.textExtent(font, line).width);
    }
    const int height = static_cast<int>(lines_.size()) * lineHeight_;
    plan_ = planPages({width, height}, geometry_);
    return plan_;
}

void TextPages::printPage(Canvas& printer, int page) const {
    const Point origin = pageOrigin(plan_, geometry_, page);
    printer.setWindowOrigin(origin);
    printer.clipTo({origin.x, origin.y, origin.x + geometry_.pageWidth, origin.y + geometry_.pageHeight});
    printer.setFont(font_);
    printer.setTextColor(kBlack);
    printer.setBackgroundMode(BackgroundMode::Transparent);
    const int first = origin.y / lineHeight_;
    const int last = std::min(static_cast<int>(lines_.size()), first + linesPerPage_);
    for (int i = first; i < last; ++i) {
        printer.textOut({0, i * lineHeight_}, lines_[static_cast<size_t>(i)]);
    }
    printer.removeClip();
    drawPageFooter(printer, geometry_, origin, title_, page);
}

} // namespace grovex
