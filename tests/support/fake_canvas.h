#pragma once
// A fixed-pitch font model and a canvas that records every drawing call with the colours, mode, font and
// window origin in force at the time, so a test can check what was drawn where.

#include "base/platform/canvas.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace grovex::fakes {

// Every character is height / 2 wide and every line height + 3 high (18 gives 9 by 21).
class FixedPitchMetrics : public FontMetricsSource {
public:
    static int charWidth(const LogFont& font) { return std::max(1, font.height / 2); }
    static int lineHeight(const LogFont& font) { return font.height + 3; }
    Size textExtent(const LogFont& font, std::string_view text) const override {
        return {static_cast<int>(text.size()) * charWidth(font), lineHeight(font)};
    }
};

enum class Draw { Text, TextOut, Fill, RaisedEdge, MoveTo, LineTo };

struct DrawCall {
    Draw kind = Draw::Text;
    std::string text;
    Rect rect;
    Point point;
    TextAlign align = TextAlign::Left;
    Color fill = 0;
    // State in force when the call was made.
    LogFont font;
    Point origin;
    Color textColor = kBlack;
    Color backgroundColor = kWhite;
    BackgroundMode backgroundMode = BackgroundMode::Opaque;
    Color pen = kBlack;
    int penWidth = 0;
};

class FakeCanvas : public Canvas {
public:
    // The device area to draw; clipBox() is that area in logical units (moved by the window origin).
    explicit FakeCanvas(Rect deviceClip = {0, 0, 1000, 800}) : deviceClip_(deviceClip) {}

    Size textExtent(std::string_view text) const override { return FixedPitchMetrics().textExtent(font_, text); }
    void setFont(const LogFont& font) override { font_ = font; }
    void setWindowOrigin(Point origin) override { origin_ = origin; }
    Rect clipBox() const override {
        Rect box{deviceClip_.left + origin_.x, deviceClip_.top + origin_.y, deviceClip_.right + origin_.x,
                 deviceClip_.bottom + origin_.y};
        if (clip_) {
            box = {std::max(box.left, clip_->left), std::max(box.top, clip_->top), std::min(box.right, clip_->right),
                   std::min(box.bottom, clip_->bottom)};
        }
        return box;
    }
    void clipTo(const Rect& rect) override { clip_ = rect; }
    void removeClip() override { clip_.reset(); }
    const std::optional<Rect>& clip() const { return clip_; }
    void setTextColor(Color color) override { textColor_ = color; }
    void setBackgroundColor(Color color) override { backgroundColor_ = color; }
    void setBackgroundMode(BackgroundMode mode) override { mode_ = mode; }

    void drawText(std::string_view text, const Rect& rect, TextAlign align) override {
        DrawCall& call = record(Draw::Text);
        call.text = text;
        call.rect = rect;
        call.align = align;
    }
    void textOut(Point at, std::string_view text) override {
        DrawCall& call = record(Draw::TextOut);
        call.text = text;
        call.point = at;
    }
    void fillSolidRect(const Rect& rect, Color color) override {
        DrawCall& call = record(Draw::Fill);
        call.rect = rect;
        call.fill = color;
    }
    void drawRaisedEdge(const Rect& rect) override { record(Draw::RaisedEdge).rect = rect; }
    void setPen(Color color, int width) override {
        pen_ = color;
        penWidth_ = width;
    }
    void moveTo(Point at) override { record(Draw::MoveTo).point = at; }
    void lineTo(Point to) override { record(Draw::LineTo).point = to; }

    const std::vector<DrawCall>& calls() const { return calls_; }
    std::vector<DrawCall> callsOf(Draw kind) const {
        std::vector<DrawCall> result;
        std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result),
                     [kind](const DrawCall& call) { return call.kind == kind; });
        return result;
    }
    // Drawn texts (both kinds), in order.
    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const DrawCall& call : calls_) {
            if (call.kind == Draw::Text || call.kind == Draw::TextOut) {
                result.push_back(call.text);
            }
        }
        return result;
    }
    void clear() { calls_.clear(); }

private:
    DrawCall& record(Draw kind) {
        DrawCall call;
        call.kind = kind;
        call.font = font_;
        call.origin = origin_;
        call.textColor = textColor_;
        call.backgroundColor = backgroundColor_;
        call.backgroundMode = mode_;
        call.pen = pen_;
        call.penWidth = penWidth_;
        return calls_.emplace_back(std::move(call));
    }

    Rect deviceClip_;
    LogFont font_;
    Point origin_;
    Color textColor_ = kBlack;
    Color backgroundColor_ = kWhite;
    BackgroundMode mode_ = BackgroundMode::Opaque;
    Color pen_ = kBlack;
    int penWidth_ = 0;
    std::vector<DrawCall> calls_;
    std::optional<Rect> clip_;
};

} // namespace grovex::fakes
