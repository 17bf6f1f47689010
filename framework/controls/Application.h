// The application object: title, icon, the forms it owns and the main form, the
// message loop, the one exception guard, and hint timing.
//
// The guard. Every Qt event the framework turns into a message, every posted
// message, every timer tick and every click runs inside RunGuarded (or
// Application->Guarded): an exception of our Exception family or any
// std::exception is caught there and reported through HandleException, so no
// exception ever crosses Qt's event loop; the loop and the windows carry on.
//
// Start and end of a program:
//     TApplication::PrepareEnvironment();           // before QApplication
//     QApplication qt(argc, argv);
//     TApplication application;                     // sets Application and Screen
//     Application->SetTitle("...");
//     Application->CreateForm<TForm1>(&Form1);      // Form1 is set before TForm1's constructor runs
//     const int code = Application->Run();          // until the main form closes
//     Application->DestroyForms();                  // forms go, newest first, components newest first
//     // ... then the modules finish, in reverse order
#pragma once

#include "framework/graphics/Bitmap.h"
#include "framework/runtime/Classes.h"
#include "framework/graphics/Colors.h"
#include "framework/runtime/Types.h"
#include "framework/windows/ErrorGuard.h"
#include "framework/windows/Windows.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TCustomForm;
class THintWindow;
class TScreen;
class TSystemEvents;

using TExceptionEvent = std::function<void(TObject* sender, const std::exception& error)>;
// Before a hint shows: the text may be changed; setting canShow false suppresses it.
using TShowHintEvent = std::function<void(std::string& hint, bool& canShow, TControl* control)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Call before QApplication is constructed: the program draws its own
    // classic-size pixels (no Qt scaling) and positions its own top-level
    // windows, so on a Wayland session it asks for X11 (XWayland).
    static void PrepareEnvironment();

    const std::string& Title() const { return title_; }
    // Also Qt's application display name (window titles, task switchers).
    void SetTitle(const std::string& title);
    // The desktop entry's id (reverse-DNS, without ".desktop"), for the desktop
    // to match windows with their entry and icon.
    void SetDesktopFileName(const std::string& id);

    // The application icon; forms show it in their caption unless they have one,
    // and it is every window's icon on the desktop.
    TBitmap* Icon() const { return icon_.get(); }
    void SetIcon(const TBitmap* icon);

    // Creates a form the application owns and stores it in *reference before
    // the form's constructor runs. The first form created becomes MainForm.
    // The application is the form's owner (TComponent ownership).
    template <typename T>
    void CreateForm(T** reference)
    {
        T* form = CreateFormInstance<T>(reference);
        if (mainForm_ == nullptr)
            mainForm_ = form;
    }
    TCustomForm* MainForm() const { return mainForm_; }

    // Shows the main form and runs the message loop until the main form closes
    // or Terminate is called. Returns 0.
    int Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    void ProcessMessages();
    // Frees every form, newest first (the main form last when it was the first
    // created): each form's OnDestroy runs, then its components go newest first,
    // then its window. Run's caller does this before the modules end.
    void DestroyForms();

    void HandleException(TObject* sender, const std::exception& error);
    void ShowException(const std::exception& error);
    void Guarded(TObject* sender, const std::function<void()>& fn) noexcept { RunGuarded(sender, fn); }
    // Tests (and programs) replace the message box with their own handler.
    TExceptionEvent OnException;

    // Hints.
    bool ShowHint() const { return showHint_; }
    // Turning hints off frees the hint window; turning them on makes a new one
    // of the program-wide hint window type.
    void SetShowHint(bool showHint);
    unsigned HintPause = 500;        // rest before a hint appears
    unsigned HintShortPause = 50;    // moving on to another control while a hint shows
    unsigned HintHidePause = 2500;   // how long a hint stays
    TColor HintColor = clInfoBk;
    TShowHintEvent OnShowHint;
    THintWindow* HintWindow() const { return hintWindow_.get(); }
    void CancelHint();
    // Controls report pointer movement here (screen coordinates).
    void HintMouseMessage(TControl* control, TPoint cursor);
    // A control is being destroyed: forget it.
    void ControlDestroyed(TControl* control);

    // Forms register themselves (for Screen->Forms); used by TCustomForm.
    void FormCreated(TCustomForm* form);
    void FormDestroyed(TCustomForm* form);
    // The main form closed: the loop ends.
    void MainFormClosed();

    // Sends msg to every form with a window, each inside the guard: how the
    // desktop's changes (colours, the clock) reach the top-level windows.
    void BroadcastToForms(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

private:
    template <typename T>
    T* CreateFormInstance(T** reference);
    TErrorHandler previousErrorHandler_;
    void ActivateHint();
    void HideHint();
    LRESULT HintWindowProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void StartHintTimer(std::uintptr_t id, unsigned milliseconds);

    std::string title_;
    std::unique_ptr<TBitmap> icon_;
    std::unique_ptr<TScreen> screen_;
    std::unique_ptr<TSystemEvents> systemEvents_; // colour scheme and clock changes, broadcast to the forms
    std::vector<TCustomForm*> forms_; // every live form, in creation order
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool running_ = false;

    bool showHint_ = true;
    std::unique_ptr<THintWindow> hintWindow_;
    HWND hintTimerWindow_ = nullptr;
    TControl* hintControl_ = nullptr;
    TPoint hintCursor_;
    bool hintActive_ = false; // a hint is showing (or just showed) for the control
};

extern TApplication* Application;

// Allocates storage for a T, stores its address in *reference and constructs
// the form there, so the form's own construction can reach it by reference.
template <typename T>
T* TApplication::CreateFormInstance(T** reference)
{
    void* storage = ::operator new(sizeof(T));
    *reference = static_cast<T*>(storage);
    try {
        return new (storage) T(this);
    } catch (...) {
        *reference = nullptr;
        ::operator delete(storage);
        throw;
    }
}
