// Shared helpers of the framework tests: a message recorder hooked into a
// window's procedure, an exception catcher, and waiting on the event loop.
#pragma once

#include "framework/controls/Application.h"
#include "framework/controls/Forms.h"
#include "framework/windows/Windows.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

// Records every message a window's procedure sees, then calls the procedure
// it replaced; unhooks (restoring exactly that procedure) when it goes.
class TMessageRecorder {
public:
    explicit TMessageRecorder(HWND window) : window_(window)
    {
        saved_ = SetWindowProc(window_, MakeWindowProc([this](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
                                   messages.push_back(msg);
                                   return CallWindowProc(saved_, w, msg, wp, lp);
                               }));
    }
    ~TMessageRecorder()
    {
        if (IsWindow(window_))
            SetWindowProc(window_, saved_);
    }
    // The recorded messages that are among the interesting ones, in order.
    std::vector<UINT> Only(std::initializer_list<UINT> interesting) const
    {
        std::vector<UINT> result;
        for (UINT m : messages)
            if (std::find(interesting.begin(), interesting.end(), m) != interesting.end())
                result.push_back(m);
        return result;
    }
    bool Saw(UINT msg) const { return std::find(messages.begin(), messages.end(), msg) != messages.end(); }
    void Clear() { messages.clear(); }

    std::vector<UINT> messages;

private:
    HWND window_;
    WNDPROC saved_;
};

// Collects what the application's exception report receives.
class TExceptionCatcher {
public:
    TExceptionCatcher()
    {
        Application->OnException = [this](TObject* sender, const std::exception& error) {
            senders.push_back(sender);
            texts.push_back(error.what());
        };
    }
    ~TExceptionCatcher() { Application->OnException = nullptr; }
    std::vector<TObject*> senders;
    std::vector<std::string> texts;
};

// Runs the event loop until done() or the time is up (real timers, generous limits).
template <typename Done>
bool WaitUntil(Done done, int milliseconds = 3000)
{
    return QTest::qWaitFor(done, milliseconds);
}

// Shows a form and waits until it is the active window. The offscreen platform
// does not activate a window shown a second time by itself, so the test does.
inline bool ShowActive(TCustomForm* form)
{
    form->Show();
    if (WaitUntil([form] { return form->Active(); }, 300))
        return true;
    QApplication::setActiveWindow(form->Widget());
    return WaitUntil([form] { return form->Active(); });
}

inline void Pump(int milliseconds = 20)
{
    QTest::qWait(milliseconds);
}
