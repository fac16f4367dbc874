#pragma once
// Printing plain fixed-width text: whole lines on each page, as many pages down as the lines need and across
// as the longest line needs, with the footer every printed page carries.

#include "base/print_pages.h"

#include <string>
#include <string_view>
#include <vector>

namespace grovex {

class TextPages {
public:
    // Lines end with "\n" (a "\r" before it is dropped). `title` goes into the footer.
    TextPages(std::string_view text, std::string title);

    // Plans the pages for a printer whose printable area is `printableSize`, in `font`.
    PrintPlan begin(const FontMetricsSource& printer, const LogFont& font, Size printableSize);
    // Draws page `page` (1-based) of the plan.
    void printPage(Canvas& printer, int page) const;

    int linesPerPage() const { return linesPerPage_; }

private:
    std::vector<std::string> lines_;
    std::string title_;
    LogFont font_;
    PageGeometry geometry_;
    PrintPlan plan_;
    int lineHeight_ = 1;
    int linesPerPage_ = 1;
};

} // namespace grovex
