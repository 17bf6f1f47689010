#include "effects/FxFormStyler.h"

#include "effects/FxGradient.h"
#include "effects/FxPicture.h"
#include "effects/FxText.h"

#include "services/OneInstance.h"

#include "framework/controls/Forms.h"
#include "framework/controls/NonClient.h"
#include "framework/graphics/DcGuards.h"
#include "framework/windows/WindowDC.h"

#include <algorithm>
#include <cstring>

namespace {

// The canvas clipped to a rectangle for one owner-draw event; the clip region
// is taken off and deleted however the event ends.
class TClipFor {
public:
    TClipFor(HDC dc, const TRect& rect) : dc_(dc), region_(CreateRectRgnIndirect(rect)) { SelectClipRgn(dc_, region_); }
    ~TClipFor()
    {
        SelectClipRgn(dc_, nullptr);
        DeleteObject(region_);
    }
    TClipFor(const TClipFor&) = delete;
    TClipFor& operator=(const TClipFor&) = delete;

private:
    HDC dc_;
    HRGN region_;
};

// Set while a paint runs; cleared on every exit.
class TPaintingFlag {
public:
    explicit TPaintingFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~TPaintingFlag() { flag_ = false; }
    TPaintingFlag(const TPaintingFlag&) = delete;
    TPaintingFlag& operator=(const TPaintingFlag&) = delete;

private:
    bool& flag_;
};

constexpr UINT AlignmentFormat(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    case taLeftJustify: break;
    }
    return DT_LEFT;
}

} // namespace

TFxFormStyler::TFxFormStyler(TComponent* owner) : TFxWndProcComponent(owner)
{
    // A designer places one styler per form; at run time nothing is checked.
    if (IsDesigning() && OneInstanceCheck(owner, &IsOfClass<TFxFormStyler>, false))
        RaiseOneInstError(this);
    font_ = std::make_unique<TFont>();
    WireSubObject(*this, *font_);
    HookFrameWindow = true;
    iconStrip_ = std::make_unique<TBitmap>();
    font3D_ = std::make_unique<TFx3DCaption>();
    WireSubObject(*this, *font3D_);
    canvas_ = std::make_unique<TCanvas>();
}

TFxFormStyler::~TFxFormStyler()
{
    SetComponentState(ComponentState() + TComponentState{csDestroying});
    UnwireSubObject(*font_);
    UnwireSubObject(*font3D_);
    canvas_->SetHandle(nullptr);
    // The base unhooks after these are gone; no message reaches this styler
    // in between (everything runs on the one GUI thread).
}

bool TFxFormStyler::Handles() const
{
    return Enabled() && paintMode_ != pcNone && !WindowDestroyed();
}

// ---------------------------------------------------------------------------
// Properties

void TFxFormStyler::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    if (paintMode_ != pcNone)
        PaintCaption(false);
}

void TFxFormStyler::SetColors(TFxCaptionColorCount colors)
{
    colors = std::clamp<TFxCaptionColorCount>(colors, 2, 236);
    if (colors == colors_)
        return;
    colors_ = colors;
    if (paintMode_ == pcControl)
        PaintCaption(false);
}

void TFxFormStyler::SetPaintMode(TFxPaintMode mode)
{
    if (mode == paintMode_)
        return;
    paintMode_ = mode;
    if (paintMode_ != pcNone)
        PaintCaption(true);
    else
        Refresh();
}

void TFxFormStyler::SetOptions(TFxFormStyleOptions options)
{
    if (options == options_)
        return;
    options_ = options;
    if (paintMode_ != pcNone)
        PaintCaption(true);
    else
        Refresh();
}

void TFxFormStyler::SubObjectChanged(TObject* sender)
{
    TFxWndProcComponent::SubObjectChanged(sender);
    if (paintMode_ != pcNone && !options_.Contains(fsUseDefaultFont))
        PaintCaption(false);
}

// ---------------------------------------------------------------------------
// Hooking

void TFxFormStyler::Activate()
{
    if (!Enabled())
        return;
    TFxWndProcComponent::Activate();
    if (!options_.Contains(fsUseFormCaption)) {
        if (TCustomForm* form = OwnerForm()) {
            caption_ = form->Caption();
            form->SetCaption(" ");
        }
    }
    if (!IsLoading() && !ComponentState().Contains(csReading))
        PaintCaption(true);
}

void TFxFormStyler::Deactivate()
{
    iconStrip_->SetSize(0, 0);
    if (!options_.Contains(fsUseFormCaption)) {
        if (TCustomForm* form = OwnerForm())
            form->SetCaption(caption_);
    }
    if (!IsDestroying())
        Refresh();
}

void TFxFormStyler::Refresh()
{
    if (!OwnerReady())
        return;
    if (TCustomForm* form = OwnerForm())
        form->Perform(WM_NCACTIVATE, 1, 0);
}

void TFxFormStyler::WndProc(TMessage& message)
{
    if (!Handles()) {
        TFxWndProcComponent::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_NCPAINT:
        TFxWndProcComponent::WndProc(message);
        if (active_ || options_.Contains(fsInactiveGradient))
            PaintCaption(true);
        message.Result = 0;
        return;
    case WM_NCACTIVATE:
        active_ = message.WParam != 0;
        TFxWndProcComponent::WndProc(message);
        if (active_ || options_.Contains(fsInactiveGradient))
            PaintCaption(false);
        message.Result = 1;
        return;
    case WM_GETTEXT:
        if (!options_.Contains(fsUseFormCaption)) {
            // The form's own caption is blanked: everyone who asks gets " ",
            // within the buffer the caller gave (size with the terminating 0).
            auto* buffer = reinterpret_cast<char*>(message.LParam);
            const WPARAM size = message.WParam;
            message.WParam = 0;
            message.Result = 0;
            if (buffer != nullptr && size >= 2) {
                std::memcpy(buffer, " ", 2);
                message.Result = 1;
            } else if (buffer != nullptr && size == 1) {
                buffer[0] = '\0';
            }
            return;
        }
        break;
    case WM_GETTEXTLENGTH:
        // Matches the text request's answer.
        if (!options_.Contains(fsUseFormCaption)) {
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TFxWndProcComponent::WndProc(message);
}

// ---------------------------------------------------------------------------
// Painting

TFxCaptionLayout TFxFormStyler::CaptionRects(HWND window) const
{
    int flags = cfAlways;
    if (paintMode_ == pcOwnerDraw && options_.Contains(fsAdjustRect))
        flags |= cfAdjustRect;
    if (const TCustomForm* form = OwnerForm(); form != nullptr && form->BorderStyle() == bsSingle)
        flags |= cfSingleBorder;
    TFxCaptionWindow w;
    TRect bounds;
    if (GetWindowRect(window, bounds))
        w.Size = {bounds.Width(), bounds.Height()};
    w.Style = static_cast<std::uint32_t>(GetWindowLong(window, GWL_STYLE));
    w.ExStyle = static_cast<std::uint32_t>(GetWindowLong(window, GWL_EXSTYLE));
    w.Iconic = IsIconic(window);
    w.NewShell = GetShellVersion() >= 4;
    return ::CaptionRects(w, CurrentCaptionMetrics(), flags);
}

void TFxFormStyler::PaintCaption(bool full)
{
    TCustomForm* form = OwnerForm();
    if (IsDesigning() || !Enabled() || paintMode_ == pcNone || form == nullptr || painting_)
        return;
    const bool newShell = GetShellVersion() >= 4;
    if (!form->HandleAllocated())
        return;
    const HWND window = form->Handle();
    if (!IsWindow(window) || !IsWindowVisible(window) || (IsIconic(window) && !newShell))
        return;

    if (options_.Contains(fsUseFormCaption))
        caption_ = form->Caption();

    TWindowDC dc = TWindowDC::Window(window);
    if (!dc)
        return;
    TCanvasBinding bound(*canvas_, dc.get());
    TPaintingFlag painting(painting_);

    const TFxCaptionLayout layout = CaptionRects(window);
    smallCaption_ = (layout.Flags & cfSmallCaption) != 0;

    if (paintMode_ == pcOwnerDraw) {
        RunClipped(OnPaint, layout.Caption);
    } else {
        PaintBackground(layout, full);
    }
    SelectCaptionFont(layout);
    SelectCaptionColor();
    PaintText(layout);
}

void TFxFormStyler::PaintBackground(const TFxCaptionLayout& layout, bool full)
{
    const bool icon = (layout.Flags & cfIcon) != 0;
    const int stripWidth = layout.Text.Left - layout.Caption.Left;
    const int height = layout.Caption.Height();
    // Also when no strip was taken yet: the first frame paint may come while
    // the form is still inactive (and so unpainted by the styler), and the
    // gradient would otherwise cover the icon on the first activation.
    if (icon && (full || iconStrip_->Empty()) && stripWidth > 0 && height > 0) {
        // What the frame painter left there: its caption colour and the icon.
        iconStrip_->SetSize(stripWidth, height);
        iconStrip_->Canvas()->CopyRect(Rect(0, 0, stripWidth, height), *canvas_,
                                       Bounds(layout.Caption.Left, layout.Caption.Top, stripWidth, height));
    }
    if (!active_ && !options_.Contains(fsInactiveGradient))
        return;
    PaintGradientRect(canvas_.get(), layout.Caption, clBlack, active_ ? clActiveCaption : clInactiveCaption, colors_,
                      gstHorizontal, 0, 0);
    if (icon && GetShellVersion() >= 4 && !iconStrip_->Empty()) {
        // Keyed on the strip's bottom-left pixel, the old caption colour: only
        // the icon lands on the gradient.
        const TColor key = iconStrip_->Pixels(0, iconStrip_->Height() - 1);
        DrawPicture(canvas_.get(), Bounds(layout.Caption.Left, layout.Caption.Top, iconStrip_->Width(), iconStrip_->Height()),
                    *iconStrip_, nullptr, key, dpKeyColor, Rect(0, 0, iconStrip_->Width(), iconStrip_->Height()));
    }
}

void TFxFormStyler::SelectCaptionFont(const TFxCaptionLayout& layout)
{
    TFont* font = canvas_->Font();
    if (!options_.Contains(fsUseDefaultFont)) {
        font->Assign(font_.get());
        return;
    }
    if (GetShellVersion() >= 4) {
        // The system's caption font as it is: it carries the bold weight and
        // the size the screen's density gives it.
        const TNonClientMetrics metrics = NonClientMetrics();
        font->SetDescription(smallCaption_ ? metrics.SmCaptionFont : metrics.CaptionFont);
        font->SetStyle(font->Style() + TFontStyles{fsBold});
    } else {
        // The old shell's caption is the stock system font, as high as the text.
        LOGFONT system;
        GetObject(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)), system);
        font->SetDescription(system);
        font->SetStyle(font->Style() + TFontStyles{fsBold});
        font->SetHeight(layout.Text.Height());
    }
}

void TFxFormStyler::SelectCaptionColor()
{
    canvas_->Brush()->SetStyle(bsClear);
    TFont* font = canvas_->Font();
    if (!active_) {
        font->SetColor(clInactiveCaptionText);
    } else if (options_.Contains(fsUseDefaultFont) || !options_.Contains(fsUseFontColor)) {
        // The gradient starts black: black caption text would vanish into it.
        font->SetColor(ColorToRGB(clCaptionText) == 0 ? TColor{0xFFFFFF} : clCaptionText);
    } else {
        font->SetColor(font_->Color());
    }
}

void TFxFormStyler::PaintText(const TFxCaptionLayout& layout)
{
    if (options_.Contains(fsDrawCaptionEvent) || paintMode_ == pcOwnerDraw) {
        RunClipped(OnCaptionPaint, layout.Text);
        return;
    }
    // An inactive form that shows its own caption keeps the system's drawing.
    if (!active_ && options_.Contains(fsUseFormCaption) && !options_.Contains(fsInactiveGradient))
        return;
    const UINT format = AlignmentFormat(alignment_) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    TRect text = layout.Text;
    if (options_.Contains(fsUseDefaultFont))
        DrawText(canvas_->Handle(), caption_, text, format);
    else
        DrawEffectText(canvas_.get(), caption_, font3D_.get(), text, format, TFxTextState{tsEnabled, tsClip});
}

void TFxFormStyler::RunClipped(const TFxPaintEvent& handler, const TRect& rect)
{
    if (!handler)
        return;
    TClipFor clip(canvas_->Handle(), rect);
    handler(this, canvas_.get(), rect);
}
