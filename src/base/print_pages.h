#pragma once
// Pages of a printed view: how many pages across and down a drawing needs, where each page starts, and the
// footer every page carries.

#include "base/platform/canvas.h"

#include <string>

namespace grovex {

// The pages of a print job.
struct PrintPlan {
    int pagesAcross = 1;
    int pagesDown = 1;
    int pageCount() const { return pagesAcross * pagesDown; }
};

// Measured at the start of a print job, in the printer's logical units.
struct PageGeometry {
    int pageWidth = 0;       // printable width less the width of "W"
    int pageHeight = 0;      // printable height less two footer lines
    int printableHeight = 0; // the paper's printable height
    int footerHeight = 0;    // text height of the sample "22288822.2288"
};

// Measures the page in `font` on a printer whose printable area is `printableSize`.
PageGeometry measurePage(const FontMetricsSource& printer, const LogFont& font, Size printableSize);

// Pages for a drawing of `total` units on pages of `geometry`: each direction rounded up, at least one.
PrintPlan planPages(Size total, const PageGeometry& geometry);

// The logical point at the top-left corner of page `page` (1-based): pages run left to right, then down.
Point pageOrigin(const PrintPlan& plan, const PageGeometry& geometry, int page);

// The footer of a page starting at `origin`: "       <title>      page  <n>" left-aligned on white in a band
// as high as a footer line at the bottom of the printable height, with a 300-unit rule along its top.
void drawPageFooter(Canvas& printer, const PageGeometry& geometry, Point origin, const std::string& title, int page);

} // namespace grovex
