#pragma once
// What a painted view asks of the widget that shows it.

namespace grovex {

class ViewHost {
public:
    virtual ~ViewHost() = default;
    // The view's picture changed: draw it again (not at once; the widget decides when).
    virtual void requestRepaint() = 0;
    // The scroll size or position changed: update the scroll bars (and repaint).
    virtual void scrollChanged() = 0;
    virtual void captureMouse(bool capture) = 0;
};

} // namespace grovex
