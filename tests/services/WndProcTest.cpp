// Window hooks on a real form: message-sequence tables of a chain of three
// hooking components, disabled and destroyed windows, hooking twice, the
// activation rules, and unhooking in and out of order.
#include "services/FxWndProc.h"

#include "framework/controls/Forms.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

// A message a test sends through the chain; each enabled hook stamps its bit
// into WParam, so a procedure below can tell which hooks it passed.
constexpr UINT WM_STAMP = WM_USER + 1;

// One line of the message log: which procedure saw which message, and with
// which stamps.
struct TSeen {
    std::string Who;
    UINT Msg = 0;
    WPARAM Stamps = 0;
    friend bool operator==(const TSeen&, const TSeen&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TSeen& seen)
    {
        return out << "{" << seen.Who << ", 0x" << std::hex << seen.Msg << ", " << seen.Stamps << std::dec << "}";
    }
};
using TMessageLog = std::vector<TSeen>;

// The log entries whose message is among msgs (stamps kept only for WM_STAMP).
TMessageLog Only(const TMessageLog& log, std::initializer_list<UINT> msgs)
{
    TMessageLog result;
    for (const TSeen& seen : log)
        if (std::find(msgs.begin(), msgs.end(), seen.Msg) != msgs.end())
            result.push_back({seen.Who, seen.Msg, seen.Msg == WM_STAMP ? seen.Stamps : 0});
    return result;
}

class TRecordingHook : public TFxWndProcComponent {
public:
    TRecordingHook(TComponent* owner, std::string name, WPARAM stamp, TMessageLog& log,
                   std::vector<std::string>& frees)
        : TFxWndProcComponent(owner), name_(std::move(name)), stamp_(stamp), log_(log), frees_(frees)
    {
    }
    ~TRecordingHook() override
    {
        // Freed while on top of the chain: the reverse order of hooking.
        const bool onTop = Hooked() && GetWindowProc(window_) == ProcThunk();
        frees_.push_back(name_ + (onTop ? " on top" : " below"));
    }
    void Activate() override
    {
        TFxWndProcComponent::Activate();
        if (Hooked())
            window_ = HookTarget();
    }
    // As a component on an MDI child form would be.
    void OwnedByAnMdiChild() { OwnerMDIKind = mkMDIChild; }

protected:
    void WndProc(TMessage& message) override
    {
        if (!Enabled()) {
            TFxWndProcComponent::WndProc(message);
            return;
        }
        log_.push_back({name_, message.Msg, message.WParam});
        if (message.Msg == WM_STAMP)
            message.WParam |= stamp_;
        TFxWndProcComponent::WndProc(message);
    }

private:
    std::string name_;
    WPARAM stamp_;
    TMessageLog& log_;
    std::vector<std::string>& frees_;
    HWND window_ = nullptr;
};

// Created before the hooks, so freed after them: sees whether the chain is
// back to the form's own procedure.
class TLastFreed : public TComponent {
public:
    TLastFreed(TComponent* owner, std::vector<std::string>& frees) : TComponent(owner), frees_(frees) {}
    ~TLastFreed() override
    {
        frees_.push_back(GetWindowProc(Window) == Bottom ? "form's own procedure back" : "chain left behind");
    }
    HWND Window = nullptr;
    WNDPROC Bottom;

private:
    std::vector<std::string>& frees_;
};

// A form whose own procedure is logged as "form", with three hooks A, B, C
// made in that order while it loads.
class THookedForm : public TForm {
public:
    THookedForm(TMessageLog& log, std::vector<std::string>& frees, bool enableB = true) : TForm(nullptr)
    {
        BeginLoad();
        last = new TLastFreed(this, frees);
        // The logger sits directly on the form's own procedure, below every hook.
        const HWND window = Handle();
        WNDPROC own = GetWindowProc(window);
        Bottom = MakeWindowProc([&log, own](HWND w, UINT msg, WPARAM wp, LPARAM lp) {
            log.push_back({"form", msg, wp});
            return CallWindowProc(own, w, msg, wp, lp);
        });
        SetWindowProc(window, Bottom);
        last->Window = window;
        last->Bottom = Bottom;
        A = new TRecordingHook(this, "A", 1, log, frees);
        B = new TRecordingHook(this, "B", 2, log, frees);
        C = new TRecordingHook(this, "C", 4, log, frees);
        B->SetEnabled(enableB);
        OnShow = [this](TObject*) { ++shows; };
        EndLoad();
    }
    TRecordingHook* A;
    TRecordingHook* B;
    TRecordingHook* C;
    TLastFreed* last;
    WNDPROC Bottom;
    int shows = 0;
};

class WindowHooks : public ::testing::Test {
protected:
    TMessageLog log;
    std::vector<std::string> frees;
};

// ---------------------------------------------------------------------------
// Expected sequences

const TMessageLog StampThroughAll = {
    {"C", WM_STAMP, 0}, {"B", WM_STAMP, 4}, {"A", WM_STAMP, 6}, {"form", WM_STAMP, 7}};
const TMessageLog StampPastDisabledB = {{"C", WM_STAMP, 0}, {"A", WM_STAMP, 4}, {"form", WM_STAMP, 5}};
const TMessageLog ShowThroughAll = {
    {"C", WM_SHOWWINDOW}, {"B", WM_SHOWWINDOW}, {"A", WM_SHOWWINDOW}, {"form", WM_SHOWWINDOW}};
const TMessageLog CloseThroughAll = {{"C", WM_CLOSE}, {"B", WM_CLOSE}, {"A", WM_CLOSE}, {"form", WM_CLOSE}};
// WM_DESTROY still goes all the way down; from then on the newest hook drops everything.
const TMessageLog DestroyThenDropped = {{"C", WM_DESTROY},
                                        {"B", WM_DESTROY},
                                        {"A", WM_DESTROY},
                                        {"form", WM_DESTROY},
                                        {"C", WM_NCDESTROY}};
const std::vector<std::string> FreedInReverse = {"C on top", "B on top", "A on top", "form's own procedure back"};

// ---------------------------------------------------------------------------

TEST_F(WindowHooks, NewestHookSeesEveryMessageFirstAndEachPassesItDown)
{
    THookedForm form(log, frees);
    const HWND window = form.Handle();
    EXPECT_EQ(GetWindowProc(window), form.C->ProcThunk());
    EXPECT_EQ(form.C->SavedWndProc(), form.B->ProcThunk());
    EXPECT_EQ(form.B->SavedWndProc(), form.A->ProcThunk());
    EXPECT_EQ(form.A->SavedWndProc(), form.Bottom);

    log.clear();
    EXPECT_EQ(SendMessage(window, WM_STAMP), 0);
    EXPECT_EQ(Only(log, {WM_STAMP}), StampThroughAll);
}

TEST_F(WindowHooks, TheFormStillBehavesUnderThreeHooks)
{
    THookedForm form(log, frees);
    log.clear();
    form.Show();
    QTest::qWait(20);
    EXPECT_EQ(Only(log, {WM_SHOWWINDOW}), ShowThroughAll);
    EXPECT_EQ(form.shows, 1);
    EXPECT_TRUE(form.Widget()->isVisible());
    // The form's frame painting and hit testing reach it too.
    EXPECT_EQ(SendMessage(form.Handle(), WM_NCHITTEST, 0, MakeLParam(form.Left() + form.Width() / 2, form.Top() + 8)),
              HTCAPTION);

    log.clear();
    SendMessage(form.Handle(), WM_CLOSE);
    EXPECT_EQ(Only(log, {WM_CLOSE}), CloseThroughAll);
    EXPECT_FALSE(form.Widget()->isVisible());
}

TEST_F(WindowHooks, FreeingTheFormUnhooksInReverseOrder)
{
    {
        THookedForm form(log, frees);
    }
    EXPECT_EQ(frees, FreedInReverse);
}

TEST_F(WindowHooks, ADisabledHookStaysInTheChainAndPassesMessagesUnchanged)
{
    THookedForm form(log, frees);
    form.B->SetEnabled(false);
    EXPECT_TRUE(form.B->Hooked());
    EXPECT_EQ(form.C->SavedWndProc(), form.B->ProcThunk());

    log.clear();
    SendMessage(form.Handle(), WM_STAMP);
    EXPECT_EQ(Only(log, {WM_STAMP}), StampPastDisabledB);

    // Enabling again activates without a second hook.
    const WNDPROC thunk = form.B->ProcThunk();
    form.B->SetEnabled(true);
    EXPECT_EQ(form.B->ProcThunk(), thunk);
    log.clear();
    SendMessage(form.Handle(), WM_STAMP);
    EXPECT_EQ(Only(log, {WM_STAMP}), StampThroughAll);
}

TEST_F(WindowHooks, AfterWmDestroyNothingReachesTheProceduresBelow)
{
    THookedForm form(log, frees);
    log.clear();
    EXPECT_TRUE(DestroyWindow(form.Handle()));
    EXPECT_EQ(Only(log, {WM_DESTROY, WM_NCDESTROY}), DestroyThenDropped);
    EXPECT_TRUE(form.C->WindowDestroyed());
}

TEST_F(WindowHooks, HookingTwiceInstallsOneHook)
{
    THookedForm form(log, frees);
    const WNDPROC thunk = form.C->ProcThunk();
    EXPECT_FALSE(form.C->HookWindow());
    EXPECT_EQ(form.C->ProcThunk(), thunk);
    EXPECT_EQ(GetWindowProc(form.Handle()), thunk);
    log.clear();
    SendMessage(form.Handle(), WM_STAMP);
    EXPECT_EQ(Only(log, {WM_STAMP}), StampThroughAll);
}

TEST_F(WindowHooks, UnhookingOutOfOrderLeavesTheOtherHooksWorking)
{
    THookedForm form(log, frees);
    delete form.B;
    log.clear();
    SendMessage(form.Handle(), WM_STAMP);
    EXPECT_EQ(Only(log, {WM_STAMP}), StampPastDisabledB);

    delete form.A;
    log.clear();
    SendMessage(form.Handle(), WM_STAMP);
    EXPECT_EQ(Only(log, {WM_STAMP}), (TMessageLog{{"C", WM_STAMP, 0}, {"form", WM_STAMP, 4}}));
}

TEST_F(WindowHooks, ADisabledComponentHooksOnlyWhenEnabled)
{
    THookedForm form(log, frees, /*enableB=*/false);
    EXPECT_FALSE(form.B->Hooked());
    EXPECT_EQ(form.C->SavedWndProc(), form.A->ProcThunk());
    form.B->SetEnabled(true);
    // Hooked now, on top of C.
    EXPECT_EQ(GetWindowProc(form.Handle()), form.B->ProcThunk());
    EXPECT_EQ(form.B->SavedWndProc(), form.C->ProcThunk());
}

TEST_F(WindowHooks, NoHookWhileDesigningWithoutAWindowedOwnerOrBeforeActivation)
{
    TForm form(nullptr);
    auto* notLoaded = new TRecordingHook(&form, "made after loading", 1, log, frees);
    EXPECT_FALSE(notLoaded->Hooked());
    EXPECT_FALSE(notLoaded->OwnerReady());
    EXPECT_FALSE(form.HandleAllocated()) << "asking does not make the window";

    notLoaded->SetDesigning(true);
    EXPECT_FALSE(notLoaded->HookWindow());
    notLoaded->SetDesigning(false);
    notLoaded->Activate();
    EXPECT_TRUE(notLoaded->Hooked());
    EXPECT_TRUE(notLoaded->OwnerReady());
    EXPECT_EQ(notLoaded->OwnerForm(), &form);

    TComponent plainOwner(nullptr);
    auto* windowless = new TRecordingHook(&plainOwner, "windowless", 1, log, frees);
    EXPECT_EQ(windowless->HookTarget(), nullptr);
    EXPECT_FALSE(windowless->HookWindow());
    EXPECT_FALSE(windowless->OwnerReady());
    EXPECT_EQ(windowless->OwnerForm(), nullptr);
}

// An MDI child's hook lets its window's end through to the procedures
// below, then goes: what follows reaches the next hook down.
TEST_F(WindowHooks, AnMdiChildsHookGoesWithItsWindow)
{
    THookedForm form(log, frees);
    form.C->OwnedByAnMdiChild();
    log.clear();
    EXPECT_TRUE(DestroyWindow(form.Handle()));
    EXPECT_EQ(Only(log, {WM_DESTROY, WM_NCDESTROY}), (TMessageLog{{"C", WM_DESTROY},
                                                                  {"B", WM_DESTROY},
                                                                  {"A", WM_DESTROY},
                                                                  {"form", WM_DESTROY},
                                                                  {"B", WM_NCDESTROY}}));
    EXPECT_FALSE(form.C->Hooked());
}

// Gone with the end it heard of, the hook starts afresh when it hooks again.
TEST_F(WindowHooks, AHookThatWentWithAnEndStartsAfreshWhenItHooksAgain)
{
    THookedForm form(log, frees);
    form.C->OwnedByAnMdiChild();
    SendMessage(form.Handle(), WM_DESTROY);
    ASSERT_FALSE(form.C->Hooked());
    form.C->Activate();
    ASSERT_TRUE(form.C->Hooked());
    log.clear();
    SendMessage(form.Handle(), WM_STAMP);
    ASSERT_FALSE(Only(log, {WM_STAMP}).empty());
    EXPECT_EQ(Only(log, {WM_STAMP}).front(), (TSeen{"C", WM_STAMP, 0}));
}

// The owner is ready once it has a window and the component has finished loading.
TEST_F(WindowHooks, TheOwnerIsNotReadyWhileTheComponentLoads)
{
    TForm form(nullptr);
    form.BeginLoad();
    form.Handle();
    auto* hook = new TRecordingHook(&form, "loading", 1, log, frees);
    EXPECT_TRUE(form.HandleAllocated());
    EXPECT_FALSE(hook->OwnerReady());
    form.EndLoad();
    EXPECT_TRUE(hook->OwnerReady());
}

} // namespace
