#pragma once
// The current stand that bounds the output targets of the input dialogs, and the bounds that replace it while
// a document has never held a stand (its crown ratio and relative spacing would leave no target to choose).

namespace grovex {

class CGROVEXDoc;

inline constexpr float kNoStandCrownRatioMax = 99.0f;     // percent
inline constexpr float kNoStandRelativeSpacingMax = 5.0f; // ratio

struct StandBounds {
    bool held = false; // the document holds a stand (its dominant height is above 0)
    float dq = 0;
    float hd = 0;
    float cords = 0;
    float crMean = 0; // percent
    float rs = 0;
};

// The stand of a simulation document; without a document (nullptr) that of a document without a stand.
StandBounds standBoundsOf(const CGROVEXDoc* document);

} // namespace grovex
