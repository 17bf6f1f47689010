#include "effects/FxControls.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TFxImageList

TFxImageList::~TFxImageList()
{
    // The controls let go of the list before it goes; they reload without it.
    const std::vector<TFxBaseControl*> clients = clients_;
    clients_.clear();
    for (TFxBaseControl* client : clients) {
        client->imageList_ = nullptr;
        if (!client->IsDestroying())
            client->ImageListChanged();
    }
}

void TFxImageList::Changed()
{
    const std::vector<TFxBaseControl*> clients = clients_;
    for (TFxBaseControl* client : clients)
        client->ImageListChanged();
}

// ---------------------------------------------------------------------------
// TFxBaseControl

TFxBaseControl::TFxBaseControl(TComponent* owner) : TGraphicControl(owner)
{
}

TFxBaseControl::~TFxBaseControl()
{
    DetachImageList();
}

void TFxBaseControl::DetachImageList()
{
    if (imageList_ == nullptr)
        return;
    auto& clients = imageList_->clients_;
    clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
    imageList_ = nullptr;
}

void TFxBaseControl::SetImageList(TFxImageList* list)
{
    if (list == imageList_)
        return;
    DetachImageList();
    imageList_ = list;
    if (imageList_ != nullptr)
        imageList_->clients_.push_back(this);
    ImageListChanged();
}

void TFxBaseControl::SetImageIndex(int index)
{
    if (index == imageIndex_)
        return;
    imageIndex_ = index;
    ImageListChanged();
}

void TFxBaseControl::SetListIndex(int index)
{
    if (index == listIndex_)
        return;
    listIndex_ = index;
    ImageListChanged();
}

void TFxBaseControl::SetBounds(int left, int top, int width, int height)
{
    TFxBoundsChange changes;
    if (width != Width() || height != Height())
        changes.Include(bcSize);
    if (left != Left() || top != Top())
        changes.Include(bcMove);
    TGraphicControl::SetBounds(left, top, width, height);
    if (!changes.Empty() && !IsLoading())
        BoundsChanged(changes);
}

void TFxBaseControl::BoundsChanged(TFxBoundsChange)
{
}

void TFxBaseControl::ContentChanged(TObject*)
{
    if (!IsLoading())
        Invalidate();
}

void TFxBaseControl::ImageListChanged()
{
    ContentChanged(imageList_);
}

void TFxBaseControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TFxBaseControl::MouseExit()
{
    if (OnMouseExit)
        OnMouseExit(this);
}

void TFxBaseControl::WndProc(TMessage& message)
{
    TGraphicControl::WndProc(message);
    switch (message.Msg) {
    case CM_MOUSEENTER: MouseEnter(); break;
    case CM_MOUSELEAVE: MouseExit(); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// TFxBaseGraphicControl

TFxBaseGraphicControl::TFxBaseGraphicControl(TComponent* owner) : TFxBaseControl(owner)
{
    ControlStyle.Exclude(csOpaque);
    SetBounds(Left(), Top(), 30, 30);
}

void TFxBaseGraphicControl::SetTransparent(bool transparent)
{
    if (transparent == transparent_)
        return;
    transparent_ = transparent;
    if (transparent_)
        ControlStyle.Exclude(csOpaque);
    else
        ControlStyle.Include(csOpaque);
    Perform(CM_FXPAINTNOW);
}

void TFxBaseGraphicControl::PaintNow()
{
    if (transparent_ || IsDesigning() || painting_)
        Invalidate();
    else
        Repaint();
}

bool TFxBaseGraphicControl::UsesParentBackground() const
{
    if (!transparent_)
        return false;
    auto* provider = dynamic_cast<TFxBackgroundProvider*>(Parent());
    return provider != nullptr && Parent()->HandleAllocated() && provider->CanPaintChildBackground();
}

void TFxBaseGraphicControl::PaintParentBackground(TCanvas* canvas, const TRect& rect)
{
    if (auto* provider = dynamic_cast<TFxBackgroundProvider*>(Parent()))
        provider->PaintChildBackground(canvas, rect, {Left(), Top()});
}

void TFxBaseGraphicControl::ContentChanged(TObject*)
{
    PaintNow();
}

void TFxBaseGraphicControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_FXPAINTNOW:
        PaintNow();
        return;
    case CM_FXPARENTBACKGROUNDCHANGED:
        if (!IsLoading() && UsesParentBackground())
            ContentChanged(Parent());
        return;
    default:
        TFxBaseControl::WndProc(message);
    }
}
