#include "effects/FxText.h"

#include "effects/FxClip.h"

#include "framework/windows/Windows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace {

// ---------------------------------------------------------------------------
// The passes of each style
//
// Each pass moves the working rectangle by d = L x LightDepth + S x
// ShadowDepth right and down (moves add up from pass to pass) and draws the
// text in its colour. The right edge is first pulled in by the style's depth.

enum class TPassColour { Face, Light, Shadow };

struct TPass {
    int L;
    int S;
    TPassColour Colour;
};

struct TStylePasses {
    TFxThreeDStyle Style;
    int DepthL;  // total depth: DepthL x LightDepth + DepthS x ShadowDepth
    int DepthS;
    int Count;
    std::array<TPass, 3> Passes;
};

constexpr TStylePasses PassTable[] = {
    // face at 0
    {tdNone, 0, 0, 1, {{{0, 0, TPassColour::Face}}}},
    // highlight at +L, face at 0
    {tdSunken, 1, 0, 2, {{{1, 0, TPassColour::Light}, {-1, 0, TPassColour::Face}}}},
    // highlight at 0, face at +L
    {tdRaised, 1, 0, 2, {{{0, 0, TPassColour::Light}, {1, 0, TPassColour::Face}}}},
    // shadow at 0, highlight at +(L+S), face at +S
    {tdSunkenShadow, 1, 1, 3,
     {{{0, 0, TPassColour::Shadow}, {1, 1, TPassColour::Light}, {-1, 0, TPassColour::Face}}}},
    // shadow at +(L+S), highlight at 0, face at +L
    {tdRaisedShadow, 1, 1, 3,
     {{{1, 1, TPassColour::Shadow}, {-1, -1, TPassColour::Light}, {1, 0, TPassColour::Face}}}},
    {tdPColorSunken, 1, 1, 3,
     {{{0, 0, TPassColour::Shadow}, {1, 1, TPassColour::Light}, {-1, 0, TPassColour::Face}}}},
    {tdPColorRaised, 1, 1, 3,
     {{{1, 1, TPassColour::Shadow}, {-1, -1, TPassColour::Light}, {1, 0, TPassColour::Face}}}},
    // shadow at +S, face at 0
    {tdShadow, 0, 1, 2, {{{0, 1, TPassColour::Shadow}, {0, -1, TPassColour::Face}}}},
};

const TStylePasses& PassesOf(TFxThreeDStyle style)
{
    for (const TStylePasses& p : PassTable)
        if (p.Style == style)
            return p;
    return PassTable[0];
}

enum class TTextMode { Plain3D, Placed, Rotated };

TTextMode ModeOf(const TFx3DCaption* effect)
{
    const auto* caption = dynamic_cast<const TFxCaption*>(effect);
    if (caption == nullptr)
        return TTextMode::Plain3D;
    return caption->Angle() == 0 ? TTextMode::Placed : TTextMode::Rotated;
}

// The text as the 256-byte buffer holds it, never splitting a character.
std::string BufferedText(const std::string& text)
{
    if (text.size() <= MaxEffectTextLength)
        return text;
    std::size_t end = MaxEffectTextLength;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

// Character extra for the length of a call, reset to 0 afterwards.
class TCharacterExtra {
public:
    TCharacterExtra(HDC dc, int extra) : dc_(extra != 0 ? dc : nullptr)
    {
        if (dc_ != nullptr)
            SetTextCharacterExtra(dc_, extra);
    }
    ~TCharacterExtra()
    {
        if (dc_ != nullptr)
            SetTextCharacterExtra(dc_, 0);
    }
    TCharacterExtra(const TCharacterExtra&) = delete;
    TCharacterExtra& operator=(const TCharacterExtra&) = delete;

private:
    HDC dc_;
};

// Binds a canvas to the screen's device context for one measurement (a
// memory context stands in without a screen) and gives the canvas its own
// context back afterwards.
class TScreenBinding {
public:
    explicit TScreenBinding(TCanvas* canvas)
        : canvas_(canvas), previous_(canvas->HandleAllocated() ? canvas->Handle() : nullptr),
          screen_(GetDC(nullptr))
    {
        if (screen_ == nullptr) {
            screen_ = CreateCompatibleDC(nullptr);
            memory_ = true;
        }
        canvas_->SetHandle(screen_);
    }
    ~TScreenBinding()
    {
        canvas_->SetHandle(previous_);
        if (memory_)
            DeleteDC(screen_);
        else
            ReleaseDC(nullptr, screen_);
    }
    TScreenBinding(const TScreenBinding&) = delete;
    TScreenBinding& operator=(const TScreenBinding&) = delete;

private:
    TCanvas* canvas_;
    HDC previous_;
    HDC screen_;
    bool memory_ = false;
};

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(std::clamp(value, -1e9, 1e9)));
}

std::uint16_t ToPosition(int value)
{
    return static_cast<std::uint16_t>(std::clamp(value, 0, int{std::numeric_limits<std::uint16_t>::max()}));
}

// A rectangle at the origin rotated about its centre by angle degrees
// (counter-clockwise on screen): the bounding box of its rounded corners,
// moved back to the origin.
TRect RotatedBounds(int width, int height, int angle)
{
    const double radians = angle * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double cx = width / 2.0;
    const double cy = height / 2.0;
    int minX = std::numeric_limits<int>::max();
    int minY = minX;
    int maxX = std::numeric_limits<int>::min();
    int maxY = maxX;
    for (const auto& [x, y] : {std::pair{0, 0}, {width, 0}, {0, height}, {width, height}}) {
        const int rx = RoundHalfEven(cx + (x - cx) * c + (y - cy) * s);
        const int ry = RoundHalfEven(cy - (x - cx) * s + (y - cy) * c);
        minX = std::min(minX, rx);
        maxX = std::max(maxX, rx);
        minY = std::min(minY, ry);
        maxY = std::max(maxY, ry);
    }
    return Rect(0, 0, maxX - minX, maxY - minY);
}

} // namespace

int EffectDepth(TFxThreeDStyle style, int lightDepth, int shadowDepth)
{
    const TStylePasses& passes = PassesOf(style);
    return passes.DepthL * lightDepth + passes.DepthS * shadowDepth;
}

void DrawEffectText(TCanvas* canvas, const std::string& text, TFx3DCaption* effect, const TRect& rect, UINT format,
                    TFxTextState state, const TRect* clip)
{
    if (canvas == nullptr || text.empty() || rect.IsEmpty())
        return;
    const std::string buffer = BufferedText(text);
    if (effect == nullptr) {
        TRect r = rect;
        DrawText(canvas->Handle(), buffer, r, format);
        return;
    }
    const TTextMode mode = ModeOf(effect);
    auto* caption = dynamic_cast<TFxCaption*>(effect);

    std::optional<TFxScopedClip> clipping;
    if (state.Contains(tsClip))
        clipping.emplace(canvas->Handle(), clip != nullptr ? *clip : rect);

    TFxThreeDStyle style = effect->Style();
    TColor face;
    if (state.Contains(tsEnabled) || effect->DisabledStyle() == dsNone) {
        const bool brushFace = style == tdPColorSunken || style == tdPColorRaised;
        face = brushFace ? canvas->Brush()->Color() : canvas->Font()->Color();
    } else {
        face = clGrayText;
        if (effect->DisabledStyle() == ds3d ||
            (effect->DisabledStyle() == dsAuto && state.Contains(tsSunkenIfDisabled)))
            style = tdSunken;
    }

    if (mode == TTextMode::Rotated)
        canvas->Font()->SetOrientation(caption->Angle() * 10);
    TRect work = rect;
    if (mode != TTextMode::Plain3D) {
        work.Left += caption->PosX();
        work.Top += caption->PosY();
    }
    const TCharacterExtra extra(canvas->Handle(), effect->Tracing());
    canvas->Brush()->SetStyle(bsClear);

    const int lightDepth = effect->LightDepth();
    const int shadowDepth = effect->ShadowDepth();
    const TStylePasses& passes = PassesOf(style);
    work.Right -= EffectDepth(style, lightDepth, shadowDepth);
    for (int i = 0; i < passes.Count; ++i) {
        const TPass& pass = passes.Passes[static_cast<std::size_t>(i)];
        const TColor colour = pass.Colour == TPassColour::Light    ? effect->LightColor()
                              : pass.Colour == TPassColour::Shadow ? effect->ShadowColor()
                                                                   : face;
        canvas->Font()->SetColor(colour);
        const int d = pass.L * lightDepth + pass.S * shadowDepth;
        work = OffsetRect(work, d, d);
        const HDC dc = canvas->Handle();
        if (mode == TTextMode::Rotated) {
            ExtTextOut(dc, work.Left, work.Top, 0, nullptr, buffer);
        } else {
            TRect r = work;
            DrawText(dc, buffer, r, format);
        }
    }
}

void MeasureEffectText(TCanvas* canvas, const std::string& text, TFx3DCaption* effect, TRect& rect, const TFont* font,
                       bool multiLine, bool showAccelChar, int borderWidth)
{
    if (canvas == nullptr)
        return;
    const TScreenBinding binding(canvas);
    if (font != nullptr)
        canvas->SetFont(font);
    const TTextMode mode = ModeOf(effect);
    auto* caption = dynamic_cast<TFxCaption*>(effect);
    const TFxThreeDStyle style = effect != nullptr ? effect->Style() : tdNone;
    const int depth = effect != nullptr ? EffectDepth(style, effect->LightDepth(), effect->ShadowDepth()) : 0;
    const HDC dc = canvas->Handle();
    const TCharacterExtra extra(dc, effect != nullptr ? effect->Tracing() : 0);
    std::string buffer = BufferedText(text);

    if (mode != TTextMode::Rotated) {
        if (mode == TTextMode::Placed)
            caption->SetPositionSilently(0, 0);
        // An empty text, or a lone accelerator mark, still takes one line.
        if (buffer.empty() || (showAccelChar && buffer == "&"))
            buffer.assign(1, ' ');
        UINT format = DT_CALCRECT | DT_EXPANDTABS;
        if (multiLine)
            format |= DT_WORDBREAK;
        if (!showAccelChar)
            format |= DT_NOPREFIX;
        DrawText(dc, buffer, rect, format);
        rect.Right += depth;
        rect.Bottom += depth;
    } else {
        TSize size;
        GetTextExtentPoint32(dc, buffer, &size);
        const int angle = caption->Angle();
        rect = RotatedBounds(size.cx + depth, size.cy + depth, angle);
        // The reference point that puts the centre of the rotated text at the box's centre.
        const double radians = angle * std::numbers::pi / 180.0;
        const double c = std::cos(radians);
        const double s = std::sin(radians);
        const int cx = rect.Width() / 2;
        const int cy = rect.Height() / 2;
        const int w2 = size.cx / 2;
        const int h2 = size.cy / 2;
        const int allowance = std::max(depth / 2 - 1, 0);
        caption->SetPosX(ToPosition(RoundHalfEven(cx - c * w2 - s * h2) - allowance));
        caption->SetPosY(ToPosition(RoundHalfEven(cy + s * w2 - c * h2) - allowance));
    }
    rect.Right += 2 * (borderWidth + 1);
    rect.Bottom += 2 * (borderWidth + 1);
}

void MeasureEffectText(const std::string& text, TFx3DCaption* effect, TRect& rect, const TFont* font, bool multiLine,
                       bool showAccelChar, int borderWidth)
{
    TCanvas canvas;
    MeasureEffectText(&canvas, text, effect, rect, font, multiLine, showAccelChar, borderWidth);
}

TRect AlignEffectText(TFxAlignment alignment, const std::string& text, TFx3DCaption* effect, const TRect& container,
                      const TFont* font, bool multiLine, bool showAccelChar)
{
    TRect measured = container;
    --measured.Right;
    MeasureEffectText(text, effect, measured, font, multiLine, showAccelChar, 0);
    return AlignRectIn(alignment, measured, container);
}
