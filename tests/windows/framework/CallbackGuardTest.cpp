// What a handler throws inside a call from Windows reaches the general error
// report, and the window goes on answering: one case per kind of entry.

#include "FrameworkTestSupport.h"
#include "../support/MenuItems.h"

#include "framework/Callbacks.h"
#include "framework/Exceptions.h"
#include "framework/Menus.h"
#include "framework/Timer.h"

namespace {

constexpr UINT kProbe = WM_APP + 7;

// Each case makes Windows call fail() from its kind of entry at least twice
// and says whether the call after the failed one still did its work.
struct CallbackCase {
    const char* kind;
    std::function<bool(TForm& form, const std::function<void()>& fail)> run;
};

const CallbackCase kCases[] = {
    {"window procedure",
     [](TForm& form, const std::function<void()>& fail) {
         const TWndMethod previous = form.WindowProc();
         form.SetWindowProc([&](TMessage& m) {
             if (m.Msg != kProbe) return previous(m);
             fail();
             m.Result = 1;
         });
         SendMessageW(form.Handle(), kProbe, 0, 0);
         const LRESULT second = SendMessageW(form.Handle(), kProbe, 0, 0);
         form.SetWindowProc(previous);
         return second == 1;
     }},
    {"timer",
     [](TForm&, const std::function<void()>& fail) {
         TOwned<TTimer> timer(new TTimer(nullptr));
         int ticks = 0;
         timer->OnTimer = [&](TObject*) {
             fail();
             ++ticks;
         };
         timer->SetInterval(10);
         timer->SetEnabled(true);
         return PumpUntil([&] { return ticks >= 2; });
     }},
    {"menu callback",
     [](TForm&, const std::function<void()>& fail) {
         TOwned<TPopupMenu> menu(new TPopupMenu(nullptr));
         TMenuItem* item = NewItem(menu->Items(), L"项");
         int clicks = 0;
         item->OnClick = [&](TObject*) {
             fail();
             ++clicks;
         };
         for (int i = 0; i < 2; ++i)
             SendMessageW(PopupListWindow(), WM_COMMAND, item->Command(), 0);
         return clicks == 1;
     }},
    {"hook",
     [](TForm& form, const std::function<void()>& fail) {
         int seen = 0;
         const TWndMethod previous = form.WindowProc();
         form.SetWindowProc([&](TMessage& m) {
             if (m.Msg == kProbe) ++seen;
             previous(m);
         });
         TThreadHook hook(WH_GETMESSAGE, [&](int, WPARAM removing, LPARAM lParam) {
             if (removing == PM_REMOVE && reinterpret_cast<MSG*>(lParam)->message == kProbe) fail();
             return false;
         });
         for (int i = 0; i < 2; ++i)
             PostMessageW(form.Handle(), kProbe, 0, 0);
         const bool delivered = PumpUntil([&] { return seen == 2; });
         form.SetWindowProc(previous);
         return delivered;
     }},
};

TEST(CallbackGuard, EachEntryReportsTheErrorAndTheWindowGoesOn) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.kind);
        TOwned<TForm> form(new TForm(nullptr));
        MessageBoxRecorder boxes;
        bool thrown = false;
        const bool answered = c.run(*form, [&] {
            if (std::exchange(thrown, true)) return;
            throw Exception(L"处理出错");
        });
        EXPECT_TRUE(answered);
        ASSERT_EQ(1u, boxes.seen.size());
        EXPECT_EQ(L"处理出错", boxes.seen[0].text);
        EXPECT_TRUE(boxes.seen[0].flags & MB_ICONERROR);
    }
}

TEST(CallbackGuard, WhatIsNoStandardExceptionIsReportedToo) {
    MessageBoxRecorder boxes;
    EXPECT_EQ(5, GuardedCall(nullptr, 5, []() -> int { throw 42; }));
    ASSERT_EQ(1u, boxes.seen.size());
    EXPECT_EQ(L"Unknown error", boxes.seen[0].text);
}

TEST(CallbackGuard, OneHookOfAKindAtATime) {
    TThreadHook first(WH_GETMESSAGE, [](int, WPARAM, LPARAM) { return false; });
    EXPECT_THROW(TThreadHook(WH_GETMESSAGE, [](int, WPARAM, LPARAM) { return false; }),
                 EInvalidOperation);
}

TEST(ScopedMessageHook, ChainsWhatWasThereAndPutsBackOnlyItsOwn) {
    const auto saved = Application->OnMessage;
    std::wstring calls;
    Application->OnMessage = [&](MSG&, bool&) { calls += L'0'; };
    auto first = std::make_unique<TScopedMessageHook>([&](MSG&, bool&) { calls += L'1'; });
    auto second = std::make_unique<TScopedMessageHook>([&](MSG& msg, bool& handled) {
        calls += L'2';
        handled = msg.message == WM_KEYDOWN;
    });
    auto deliver = [&](UINT message) {
        calls.clear();
        MSG msg{nullptr, message, 0, 0, 0, {}};
        bool handled = false;
        Application->OnMessage(msg, handled);
        return calls;
    };
    const struct {
        std::function<void()> step;
        UINT message;
        const wchar_t* want;
    } steps[] = {
        {[] {}, WM_NULL, L"210"},
        {[] {}, WM_KEYDOWN, L"2"},                // handled: the rest never see it
        {[&] { first.reset(); }, WM_NULL, L"20"}, // ended under another: steps aside
        {[&] { second.reset(); }, WM_NULL, L"0"}, // ended on top: puts back what it found
    };
    for (const auto& s : steps) {
        s.step();
        EXPECT_EQ(s.want, deliver(s.message));
    }
    Application->OnMessage = saved;
}

} // namespace
