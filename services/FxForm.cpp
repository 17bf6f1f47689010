#include "services/FxForm.h"

#include "services/FxApplication.h"
#include "services/FxExplode.h"
#include "services/OneInstance.h"

#include "framework/controls/Forms.h"
#include "framework/controls/Screen.h"
#include "framework/runtime/sysutils.h"
#include "framework/windows/FileDrops.h"

namespace {

// The longest name a drop may carry; longer ones are skipped.
constexpr UINT MaxDroppedName = 254;
constexpr LRESULT PWR_FAIL = -1;
constexpr WPARAM PWR_SUSPENDREQUEST = 1;
constexpr WPARAM PWR_SUSPENDRESUME = 2;
constexpr WPARAM PWR_CRITICALRESUME = 3;

bool IsAcross(TFxSizeIndex index)
{
    return index == siTrackMaxWidth || index == siTrackMinWidth || index == siMaximizedWidth ||
           index == siMaximizedPosX;
}

// The default value name: the owner form's class name without its "T".
std::string DefaultIniKey(TComponent* owner)
{
    auto* form = dynamic_cast<TCustomForm*>(owner);
    if (form == nullptr)
        return "Form";
    // The class's own name: a form class declared in a namespace keeps the
    // same value name as one declared outside.
    std::string name = form->ClassName();
    if (const std::size_t scope = name.rfind("::"); scope != std::string::npos)
        name = name.substr(scope + 2);
    return name.size() > 1 ? name.substr(1) : std::string{};
}

void NotifyIfSet(const TNotifyEvent& event, TObject* sender)
{
    if (event)
        event(sender);
}

// Scales the bounds of every control inside parent (and inside its windowed
// controls) by m / d.
void ScaleChildren(TWinControl* parent, int m, int d)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        control->SetBounds(MulDiv(control->Left(), m, d), MulDiv(control->Top(), m, d),
                           MulDiv(control->Width(), m, d), MulDiv(control->Height(), m, d));
        if (auto* windowed = dynamic_cast<TWinControl*>(control))
            ScaleChildren(windowed, m, d);
    }
}

} // namespace

int ResolveSize(int value, int dimension)
{
    return value >= 0 ? value : dimension / -value;
}

TFxSizeLimits ComputeSizeLimits(const std::array<int, 8>& p, int screenWidth, int screenHeight)
{
    TFxSizeLimits l;
    l.MaxWidth = ResolveSize(p[siTrackMaxWidth], screenWidth);
    l.MaxHeight = ResolveSize(p[siTrackMaxHeight], screenHeight);
    l.MinWidth = ResolveSize(p[siTrackMinWidth], screenWidth);
    l.MinHeight = ResolveSize(p[siTrackMinHeight], screenHeight);
    if (screenWidth < l.MaxWidth)
        l.MaxWidth = screenWidth;
    if (screenHeight < l.MaxHeight)
        l.MaxHeight = screenHeight;
    if (l.MaxWidth != 0 && l.MaxWidth < l.MinWidth)
        l.MinWidth = l.MaxWidth;
    if (l.MaxHeight != 0 && l.MaxHeight < l.MinHeight)
        l.MinHeight = l.MaxHeight;
    l.MaxLeft = ResolveSize(p[siMaximizedPosX], screenWidth);
    l.MaxTop = ResolveSize(p[siMaximizedPosY], screenHeight);
    l.MaxedWidth = ResolveSize(p[siMaximizedWidth], screenWidth);
    l.MaxedHeight = ResolveSize(p[siMaximizedHeight], screenHeight);
    return l;
}

TFxForm::TFxForm(TComponent* owner) : TFxWndProcComponent(owner)
{
    if (IsDesigning() && OneInstanceCheck(owner, &IsOfClass<TFxForm>, false))
        RaiseOneInstError(this);
    if (Screen != nullptr) {
        screenWidth_ = Screen->Width();
        screenHeight_ = Screen->Height();
    }
    HookFrameWindow = true;
    IniKey = DefaultIniKey(owner);
    // Finds the form's one settings store, if it has exactly one.
    NotifyInserted();
}

TFxForm::~TFxForm()
{
    // The form keeps no handler that calls a freed component.
    if (TCustomForm* form = OwnerForm(); form != nullptr && takenOver_) {
        form->OnShow = savedOnShow_;
        form->OnDestroy = savedOnDestroy_;
    }
    SetIniLink(nullptr);
}

void TFxForm::Loaded()
{
    // Handlers the form set before its components finished loading are the
    // ones kept and called on.
    if (!IsDesigning() && Enabled()) {
        if (TCustomForm* form = OwnerForm()) {
            restored_ = false;
            savedOnShow_ = form->OnShow;
            form->OnShow = [this](TObject* sender) { ShowHandler(sender); };
            savedOnDestroy_ = form->OnDestroy;
            form->OnDestroy = [this](TObject* sender) { DestroyHandler(sender); };
            takenOver_ = true;
        }
    }
    TFxWndProcComponent::Loaded();
}

void TFxForm::Activate()
{
    TFxWndProcComponent::Activate();
    if (Enabled() && !IsDesigning()) {
        DragAcceptFiles(HookTarget(), acceptFiles_);
        RecomputeLimits();
    }
}

void TFxForm::Deactivate()
{
    if (!IsDesigning())
        DragAcceptFiles(HookTarget(), false);
    TFxWndProcComponent::Deactivate();
}

void TFxForm::SetAcceptFiles(bool accept)
{
    if (accept == acceptFiles_)
        return;
    acceptFiles_ = accept;
    if (!IsDesigning() && Enabled())
        DragAcceptFiles(HookTarget(), accept);
}

void TFxForm::RecomputeLimits()
{
    limits_ = ComputeSizeLimits(sizes_, screenWidth_, screenHeight_);
}

void TFxForm::SetSizeProperty(TFxSizeIndex index, int value)
{
    if (value == sizes_[index] || value < -100)
        return;
    const int pixels = ResolveSize(value, IsAcross(index) ? screenWidth_ : screenHeight_);
    switch (index) {
    case siTrackMaxHeight:
        if (pixels != 0 && pixels < limits_.MinHeight)
            return;
        limits_.MaxHeight = pixels;
        break;
    case siTrackMaxWidth:
        if (pixels != 0 && pixels < limits_.MinWidth)
            return;
        limits_.MaxWidth = pixels;
        break;
    case siTrackMinHeight:
        if (pixels != 0 && limits_.MaxHeight > 0 && limits_.MaxHeight < pixels)
            return;
        limits_.MinHeight = pixels;
        break;
    case siTrackMinWidth:
        if (pixels != 0 && limits_.MaxWidth > 0 && limits_.MaxWidth < pixels)
            return;
        limits_.MinWidth = pixels;
        break;
    case siMaximizedHeight: limits_.MaxedHeight = pixels; break;
    case siMaximizedWidth: limits_.MaxedWidth = pixels; break;
    case siMaximizedPosX: limits_.MaxLeft = pixels; break;
    case siMaximizedPosY: limits_.MaxTop = pixels; break;
    }
    sizes_[index] = value;
}

void TFxForm::ShowHandler(TObject* sender)
{
    TCustomForm* form = OwnerForm();
    // With foRestoreOnce only the first show restores the placement and applies
    // the limits; later shows leave the window as the user left it. The form's
    // own OnShow still runs on every show, on purpose: it belongs to the form,
    // and an option about the placement must not silence it.
    if (!IsDesigning() && Enabled() && form != nullptr && !(Options.Contains(foRestoreOnce) && restored_)) {
        RestorePlacement();
        restored_ = true;
        const TFxSizeLimits& l = limits_;
        if (form->WindowState() == wsMaximized) {
            if (l.MaxLeft > 0)
                form->SetLeft(l.MaxLeft);
            if (l.MaxTop > 0)
                form->SetTop(l.MaxTop);
            if (l.MaxedWidth > 0)
                form->SetWidth(l.MaxedWidth);
            if (l.MaxedHeight > 0)
                form->SetHeight(l.MaxedHeight);
        } else if (form->WindowState() == wsNormal) {
            if (l.MaxWidth > 0 && form->Width() > l.MaxWidth)
                form->SetWidth(l.MaxWidth);
            if (l.MaxHeight > 0 && form->Height() > l.MaxHeight)
                form->SetHeight(l.MaxHeight);
            if (l.MinWidth > 0 && form->Width() < l.MinWidth)
                form->SetWidth(l.MinWidth);
            if (l.MinHeight > 0 && form->Height() < l.MinHeight)
                form->SetHeight(l.MinHeight);
        }
        if (Options.Contains(foTryAdaptRes))
            AdaptResolution();
    }
    if (savedOnShow_)
        savedOnShow_(sender);
}

void TFxForm::DestroyHandler(TObject* sender)
{
    if (Enabled() && !IsDesigning())
        SavePlacement();
    if (savedOnDestroy_)
        savedOnDestroy_(sender);
}

void TFxForm::AdaptResolution()
{
    TCustomForm* form = OwnerForm();
    if (adapted_ || form == nullptr || !form->Scaled())
        return;
    adapted_ = true;
    if (Screen != nullptr)
        form->SetPixelsPerInch(Screen->PixelsPerInch());
    const int screenPPI = form->PixelsPerInch();
    if (screenPPI == DesignPPI || DesignPPI <= 0)
        return;
    // Laid out for DesignPPI: the controls grow by screen / design, keeping
    // their size in inches on a denser screen. The ratio the other way round
    // (design / screen) would shrink them exactly where the screen needs more
    // pixels for the same size; this direction is a deliberate mend of it.
    ScaleChildren(form, screenPPI, DesignPPI);
}

void TFxForm::ApplyMinMaxInfo(TMinMaxInfo& info)
{
    const TFxSizeLimits& l = limits_;
    if (OnTrackInfo) {
        OnTrackInfo(this, info.ptMinTrackSize.X, info.ptMinTrackSize.Y, info.ptMaxTrackSize.X,
                    info.ptMaxTrackSize.Y);
    } else {
        if (l.MaxWidth > 0)
            info.ptMaxTrackSize.X = l.MaxWidth;
        if (l.MaxHeight > 0)
            info.ptMaxTrackSize.Y = l.MaxHeight;
        if (l.MinWidth > 0)
            info.ptMinTrackSize.X = l.MinWidth;
        if (l.MinHeight > 0)
            info.ptMinTrackSize.Y = l.MinHeight;
    }
    if (OnMaximizeInfo) {
        OnMaximizeInfo(this, info.ptMaxPosition.X, info.ptMaxPosition.Y, info.ptMaxSize.X, info.ptMaxSize.Y);
    } else {
        if (l.MaxLeft > 0)
            info.ptMaxPosition.X = l.MaxLeft;
        if (l.MaxTop > 0)
            info.ptMaxPosition.Y = l.MaxTop;
        if (l.MaxedWidth > 0)
            info.ptMaxSize.X = l.MaxedWidth;
        if (l.MaxedHeight > 0)
            info.ptMaxSize.Y = l.MaxedHeight;
    }
}

void TFxForm::DropFiles(WPARAM handle)
{
    const auto drop = reinterpret_cast<HDROP>(handle);
    const UINT count = DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0);
    if (count == 0)
        return;
    TPoint point;
    DragQueryPoint(drop, point);
    std::vector<std::string> files;
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFile(drop, i, nullptr, 0);
        if (length > MaxDroppedName)
            continue;
        std::string name(length + 1, '\0');
        name.resize(DragQueryFile(drop, i, name.data(), length + 1));
        // Linux names are case-sensitive: the name stays as the drop gave it.
        files.push_back(std::move(name));
    }
    OnFMDragDrop(this, static_cast<int>(count), point.X, point.Y, files);
}

void TFxForm::WndProc(TMessage& m)
{
    if (!Enabled()) {
        TFxWndProcComponent::WndProc(m);
        return;
    }
    bool suspendRefused = false;
    switch (m.Msg) {
    case WM_MOVE:
        NotifyIfSet(OnMove, this);
        break;
    case WM_SIZE:
        if (OnSize)
            OnSize(this, LoWord(static_cast<std::uintptr_t>(m.LParam)), HiWord(static_cast<std::uintptr_t>(m.LParam)),
                   LoWord(m.WParam));
        break;
    case WM_SYSCOLORCHANGE:
        NotifyIfSet(OnSysColorChange, this);
        break;
    case WM_SHOWWINDOW:
        // Shown by an explicit call (LParam 0), not because an owner opened or
        // was restored: the trail runs to its end before the window is visible.
        if (m.WParam != 0 && m.LParam == 0) {
            const int delay = ApplicationServices != nullptr ? ApplicationServices->EffectDelay : 3;
            if (Effect == deExplode)
                ExplodeEffect(OwnerForm(), -1, 0, delay, 40);
            else if (Effect == deExplodeExt)
                ExplodeExtEffect(OwnerForm(), -1, 0, 40, 20, 10, delay, true);
        }
        break;
    case WM_WININICHANGE:
        if (OnIniChange)
            OnIniChange(this, m.LParam != 0 ? reinterpret_cast<const char*>(m.LParam) : "");
        break;
    case WM_DEVMODECHANGE:
        if (OnDevModeChange)
            OnDevModeChange(this, m.LParam != 0 ? reinterpret_cast<const char*>(m.LParam) : "");
        break;
    case WM_FONTCHANGE:
        NotifyIfSet(OnFontChange, this);
        break;
    case WM_TIMECHANGE:
        NotifyIfSet(OnTimeChange, this);
        break;
    case WM_GETMINMAXINFO:
        if (m.LParam != 0)
            ApplyMinMaxInfo(*reinterpret_cast<TMinMaxInfo*>(m.LParam));
        break;
    case WM_PAINTICON:
        NotifyIfSet(OnPaintIcon, this);
        break;
    case WM_SPOOLERSTATUS:
        if (OnSpoolerStatus)
            OnSpoolerStatus(this, LoWord(static_cast<std::uintptr_t>(m.LParam)));
        break;
    case WM_COMPACTING:
        if (OnCompacting)
            OnCompacting(this, static_cast<int>(m.WParam));
        break;
    case WM_WINDOWPOSCHANGING:
        if (OnMoving && m.LParam != 0) {
            auto& position = *reinterpret_cast<TWindowPos*>(m.LParam);
            bool cancel = false;
            OnMoving(this, position.x, position.y, cancel);
            if (cancel)
                position.flags |= SWP_NOMOVE;
        }
        break;
    case WM_POWER:
        if (m.WParam == PWR_SUSPENDREQUEST) {
            if (OnAPMSuspendRequest) {
                bool cancel = false;
                OnAPMSuspendRequest(this, cancel);
                suspendRefused = cancel;
            }
        } else if (m.WParam == PWR_SUSPENDRESUME) {
            NotifyIfSet(OnAPMResume, this);
        } else if (m.WParam == PWR_CRITICALRESUME) {
            NotifyIfSet(OnAPMCriticalResume, this);
        }
        break;
    case WM_DISPLAYCHANGE: {
        const auto size = static_cast<std::uintptr_t>(m.LParam);
        screenWidth_ = LoWord(size);
        screenHeight_ = HiWord(size);
        RecomputeLimits();
        if (OnDisplayChange)
            OnDisplayChange(this, screenWidth_, screenHeight_, static_cast<int>(m.WParam));
        break;
    }
    case WM_DROPFILES:
        if (OnFMDragDrop)
            DropFiles(m.WParam);
        break;
    default:
        break;
    }
    TFxWndProcComponent::WndProc(m);
    if (suspendRefused)
        m.Result = PWR_FAIL;
}
