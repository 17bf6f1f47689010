#include "framework/controls/Application.h"

#include "framework/controls/Forms.h"
#include "framework/controls/Hints.h"
#include "framework/controls/Screen.h"
#include "framework/windows/SystemEvents.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QMessageBox>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

TApplication* Application = nullptr;

namespace {
constexpr std::uintptr_t HintShowTimer = 1;
constexpr std::uintptr_t HintHideTimer = 2;
// Distance of a hint below the pointer's hot spot: a classic pointer's height.
constexpr int HintCursorOffset = 20;

// A control without a hint of its own shows its parent's (the halves of a
// composite control show the control's).
std::string HintOf(const TControl* control)
{
    for (; control != nullptr; control = control->Parent())
        if (!control->Hint().empty())
            return control->Hint();
    return {};
}
} // namespace

TApplication::TApplication() : TComponent(nullptr)
{
    Application = this;
    // From now on the window layer's guard reports through HandleException.
    previousErrorHandler_ = SetErrorHandler(
        [this](TObject* sender, const std::exception& error) { HandleException(sender, error); });
    if (auto* qt = qobject_cast<QApplication*>(QCoreApplication::instance()))
        qt->setQuitOnLastWindowClosed(false);
    screen_ = std::make_unique<TScreen>(nullptr);
    systemEvents_ = std::make_unique<TSystemEvents>();
    systemEvents_->OnColorsChanged = [this] { BroadcastToForms(WM_SYSCOLORCHANGE); };
    systemEvents_->OnClockSet = [this] { BroadcastToForms(WM_TIMECHANGE); };
    hintTimerWindow_ = AllocateHWnd(MakeWindowProc([this](HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        return HintWindowProcedure(window, msg, wParam, lParam);
    }));
}

TApplication::~TApplication()
{
    systemEvents_->OnColorsChanged = nullptr;
    systemEvents_->OnClockSet = nullptr;
    systemEvents_.reset();
    DestroyForms();
    DestroyComponents();
    hintWindow_.reset();
    DeallocateHWnd(hintTimerWindow_);
    screen_.reset();
    SetErrorHandler(std::move(previousErrorHandler_));
    if (Application == this)
        Application = nullptr;
}

void TApplication::PrepareEnvironment()
{
    // The framework draws classic pixel sizes itself: one logical pixel is one device pixel.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // Top-level windows are placed by the program (centring, drags, shadows),
    // which a Wayland compositor does not allow: use X11 through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    QGuiApplication::setApplicationDisplayName(QString::fromStdString(title));
}

void TApplication::SetDesktopFileName(const std::string& id)
{
    QGuiApplication::setDesktopFileName(QString::fromStdString(id));
}

void TApplication::SetIcon(const TBitmap* icon)
{
    if (icon == nullptr) {
        icon_.reset();
        return;
    }
    icon_ = std::make_unique<TBitmap>();
    icon_->Assign(icon);
    icon_->SetTransparent(true);
    // The desktop shows it for every window (task switchers, window lists).
    QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon_->Image())));
}

int TApplication::Run()
{
    terminated_ = false;
    if (mainForm_ != nullptr && !mainForm_->Visible())
        RunGuarded(mainForm_, [this] { mainForm_->Show(); });
    if (terminated_)
        return 0;
    running_ = true;
    QApplication::exec();
    running_ = false;
    return 0;
}

void TApplication::Terminate()
{
    terminated_ = true;
    QCoreApplication::exit(0);
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents();
}

void TApplication::DestroyForms()
{
    CancelHint();
    while (!forms_.empty()) {
        TCustomForm* newest = forms_.back();
        if (newest == mainForm_)
            mainForm_ = nullptr;
        newest->BeforeDestruction();
        delete newest; // leaves forms_ through FormDestroyed
    }
}

void TApplication::FormCreated(TCustomForm* form)
{
    forms_.push_back(form);
}

void TApplication::FormDestroyed(TCustomForm* form)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (form == mainForm_)
        mainForm_ = nullptr;
}

void TApplication::MainFormClosed()
{
    Terminate();
}

void TApplication::BroadcastToForms(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // A form may go while an earlier one handles the message: only live ones get it.
    for (TCustomForm* form : std::vector<TCustomForm*>(forms_))
        if (std::find(forms_.begin(), forms_.end(), form) != forms_.end() && form->HandleAllocated())
            RunGuarded(form, [form, msg, wParam, lParam] { SendMessage(form->Handle(), msg, wParam, lParam); });
}

void TApplication::HandleException(TObject* sender, const std::exception& error)
{
    if (OnException) {
        OnException(sender, error);
        return;
    }
    ShowException(error);
}

void TApplication::ShowException(const std::exception& error)
{
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(title_), QString::fromUtf8(error.what()),
                    QMessageBox::Ok);
    box.exec();
}

// ---------------------------------------------------------------------------
// Hints

void TApplication::SetShowHint(bool showHint)
{
    if (showHint == showHint_)
        return;
    showHint_ = showHint;
    CancelHint();
    hintWindow_.reset();
    if (showHint_ && AppHintWindowType.Create)
        hintWindow_ = AppHintWindowType.Create();
}

void TApplication::StartHintTimer(std::uintptr_t id, unsigned milliseconds)
{
    SetTimer(hintTimerWindow_, id, milliseconds);
}

void TApplication::HintMouseMessage(TControl* control, TPoint cursor)
{
    if (control == hintControl_) {
        hintCursor_ = cursor;
        return;
    }
    // Moving on from a control whose hint is showing: the next one comes quickly.
    const bool hintShowing = hintActive_;
    HideHint();
    KillTimer(hintTimerWindow_, HintShowTimer);
    KillTimer(hintTimerWindow_, HintHideTimer);
    hintControl_ = control;
    hintCursor_ = cursor;
    hintActive_ = false;
    if (control == nullptr || !showHint_ || !control->ShowHint() || HintOf(control).empty()) {
        return;
    }
    hintActive_ = hintShowing;
    StartHintTimer(HintShowTimer, hintShowing ? HintShortPause : HintPause);
}

void TApplication::CancelHint()
{
    if (hintTimerWindow_ != nullptr) {
        KillTimer(hintTimerWindow_, HintShowTimer);
        KillTimer(hintTimerWindow_, HintHideTimer);
    }
    HideHint();
    hintActive_ = false;
    hintControl_ = nullptr;
}

void TApplication::HideHint()
{
    if (hintWindow_ != nullptr && hintWindow_->Active())
        hintWindow_->ReleaseHint();
}

void TApplication::ControlDestroyed(TControl* control)
{
    if (control == hintControl_)
        CancelHint();
}

void TApplication::ActivateHint()
{
    KillTimer(hintTimerWindow_, HintShowTimer);
    TControl* control = hintControl_;
    if (control == nullptr || !showHint_)
        return;
    std::string hint = HintOf(control);
    bool canShow = control->ShowHint() && !hint.empty();
    if (canShow && control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&hint)) != 0)
        canShow = false;
    if (canShow && OnShowHint)
        OnShowHint(hint, canShow, control);
    if (!canShow || hint.empty())
        return;
    if (hintWindow_ == nullptr && AppHintWindowType.Create)
        hintWindow_ = AppHintWindowType.Create();
    if (hintWindow_ == nullptr)
        return;
    hintWindow_->SetColor(HintColor);
    const int screenWidth = Screen != nullptr ? Screen->Width() : 640;
    TRect rect = hintWindow_->CalcHintRect(screenWidth, hint);
    rect = OffsetRect(rect, hintCursor_.X, hintCursor_.Y + HintCursorOffset);
    // Keep the hint on the screen.
    if (Screen != nullptr) {
        if (rect.Right > Screen->Width())
            rect = OffsetRect(rect, Screen->Width() - rect.Right, 0);
        if (rect.Bottom > Screen->Height())
            rect = OffsetRect(rect, 0, hintCursor_.Y - rect.Height() - rect.Top);
        if (rect.Left < 0)
            rect = OffsetRect(rect, -rect.Left, 0);
    }
    hintWindow_->ActivateHint(rect, hint);
    hintActive_ = true;
    StartHintTimer(HintHideTimer, HintHidePause);
}

LRESULT TApplication::HintWindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_TIMER)
        return DefWindowProc(window, msg, wParam, lParam);
    RunGuarded(this, [this, wParam] {
        if (wParam == HintShowTimer) {
            ActivateHint();
        } else if (wParam == HintHideTimer) {
            KillTimer(hintTimerWindow_, HintHideTimer);
            HideHint();
            hintActive_ = false;
            // The hint stays gone until the pointer reaches another control.
        }
    });
    return 0;
}
