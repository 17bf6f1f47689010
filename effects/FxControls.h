// The base of the effect library's windowless controls: picture lists,
// mouse enter/exit events, bounds-change flags, content-change repaints,
// transparency and painting on demand.
#pragma once

#include "services/FxObjects.h"

#include "framework/graphics/Bitmap.h"
#include "framework/controls/Controls.h"

#include <vector>

// The library's own notifications, above the framework's.
inline constexpr UINT CM_FXPAINTNOW = 0xB0CD;                  // paint at once (or invalidate)
inline constexpr UINT CM_FXPARENTBACKGROUNDCHANGED = 0xB0CE;   // the parent's background changed

class TFxBaseControl;

// A container of pictures: a list index and an image index pick one.
// Controls that show a picture of it hear of every change.
class TFxImageList : public TComponent {
public:
    using TComponent::TComponent;
    ~TFxImageList() override;

    // Copies the picture into picture; false when there is no such picture.
    virtual bool GetPicture(int listIndex, int imageIndex, TBitmap& picture) const = 0;
    // The pictures changed: every control using the list reloads.
    void Changed();

private:
    friend class TFxBaseControl;
    std::vector<TFxBaseControl*> clients_;
};

// A windowed parent that can paint its own background under a transparent
// effect control.
class TFxBackgroundProvider {
public:
    virtual ~TFxBackgroundProvider() = default;
    virtual bool CanPaintChildBackground() const = 0;
    // Paints the background behind rect of a child placed at childPosition,
    // onto the child's canvas (child coordinates).
    virtual void PaintChildBackground(TCanvas* canvas, const TRect& rect, TPoint childPosition) = 0;
};

enum TFxBoundsChangeFlag { bcSize, bcMove };  // values 1 and 2 in the flag word
using TFxBoundsChange = Set<TFxBoundsChangeFlag>;

class TFxBaseControl : public TGraphicControl {
public:
    explicit TFxBaseControl(TComponent* owner);
    ~TFxBaseControl() override;

    TFxImageList* ImageList() const { return imageList_; }
    void SetImageList(TFxImageList* list);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int index);

    // Design-time label of the library; no behaviour.
    const TFxAboutVar& About() const { return about_; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

protected:
    friend class TFxImageList;
    using TGraphicControl::BoundsChanged;

    // Position or size changed (not while loading).
    virtual void BoundsChanged(TFxBoundsChange changes);
    // Whether the parent paints the background under this control.
    virtual bool UsesParentBackground() const { return false; }
    // Something the control shows changed; source is the object that did.
    virtual void ContentChanged(TObject* source);
    virtual bool IsEmptyContent() const { return true; }
    virtual void ImageListChanged();
    virtual void MouseEnter();
    virtual void MouseExit();

private:
    void DetachImageList();

    TFxImageList* imageList_ = nullptr;
    int imageIndex_ = 0;
    int listIndex_ = 0;
    TFxAboutVar about_;
};

// A windowless effect control that is transparent unless told otherwise and
// repaints itself at once when its content changes.
class TFxBaseGraphicControl : public TFxBaseControl {
public:
    explicit TFxBaseGraphicControl(TComponent* owner);

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    void WndProc(TMessage& message) override;

protected:
    // Invalidates a transparent (or designed) control; repaints an opaque one
    // now, together with whatever lies over it. Within its own paint it only
    // invalidates.
    void PaintNow();
    bool UsesParentBackground() const override;
    void ContentChanged(TObject* source) override;
    // The parent's background under rect, through its background provider.
    void PaintParentBackground(TCanvas* canvas, const TRect& rect);

    // Set while the control paints: guards against painting re-entered.
    bool painting_ = false;

private:
    bool transparent_ = true;
};

// Sets a flag for the life of the object and clears it on every exit.
class TFxFlagScope {
public:
    explicit TFxFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFxFlagScope() { flag_ = false; }
    TFxFlagScope(const TFxFlagScope&) = delete;
    TFxFlagScope& operator=(const TFxFlagScope&) = delete;

private:
    bool& flag_;
};
