// A handler throws in a call from Windows: the error report shows, the window goes on.

#include "FrameworkTestSupport.h"
#include "../support/MenuItems.h"

#include "framework/Callbacks.h"
#include "framework/Timer.h"

constexpr UINT kProbe = WM_APP + 7;
using TFail = std::function<void()>;

// Each has Windows call fail() twice from its entry; true: the second call did its work.
const std::pair<const char*, std::function<bool(TForm&, const TFail&)>> kCases[] = {
    {"window procedure",
     [](TForm& form, const TFail& fail) {
         form.SetWindowProc([fail, previous = form.WindowProc()](TMessage& m) {
             if (m.Msg != kProbe) return previous(m);
             fail();
             m.Result = 1;
         });
         SendMessageW(form.Handle(), kProbe, 0, 0);
         return SendMessageW(form.Handle(), kProbe, 0, 0) == 1;
     }},
    {"timer",
     [](TForm&, const TFail& fail) {
         TOwned<TTimer> timer(new TTimer(nullptr));
         int ticks = 0;
         timer->OnTimer = [&](TObject*) { fail(), ++ticks; };
         timer->SetInterval(10);
         return PumpUntil([&] { return ticks >= 1; });
     }},
    {"menu callback",
     [](TForm&, const TFail& fail) {
         TOwned<TPopupMenu> menu(new TPopupMenu(nullptr));
         TMenuItem* item = NewItem(menu->Items(), L"项");
         int clicks = 0;
         item->OnClick = [&](TObject*) { fail(), ++clicks; };
         for (int i = 0; i < 2; ++i)
             SendMessageW(PopupListWindow(), WM_COMMAND, item->Command(), 0);
         return clicks == 1;
     }},
    {"hook",
     [](TForm& form, const TFail& fail) {
         auto seen = std::make_shared<int>(0);
         form.SetWindowProc([seen, previous = form.WindowProc()](TMessage& m) {
             *seen += m.Msg == kProbe;
             previous(m);
         });
         TThreadHook hook(WH_GETMESSAGE, [&](int, WPARAM removing, LPARAM msg) {
             if (removing == PM_REMOVE && reinterpret_cast<MSG*>(msg)->message == kProbe) fail();
             return false;
         });
         for (int i = 0; i < 2; ++i)
             PostMessageW(form.Handle(), kProbe, 0, 0);
         return PumpUntil([&] { return *seen == 2; });
     }},
};

TEST(CallbackGuard, EachEntryReportsTheErrorAndTheWindowGoesOn) {
    for (const auto& [kind, run] : kCases) {
        SCOPED_TRACE(kind);
        MessageBoxRecorder boxes;
        bool thrown = false;
        const TFail fail = [&] {
            if (!std::exchange(thrown, true)) throw Exception(L"处理出错");
        };
        TOwned<TForm> form(new TForm(nullptr));
        EXPECT_TRUE(run(*form, fail));
        ASSERT_EQ(1u, boxes.seen.size());
        EXPECT_EQ(L"处理出错", boxes.seen[0].text);
        EXPECT_TRUE(boxes.seen[0].flags & MB_ICONERROR);
    }
}

TEST(ScopedMessageHook, ChainsWhatWasThereAndPutsBackOnlyItsOwn) {
    const auto saved = Application->OnMessage;
    std::wstring calls;
    auto note = [&calls](wchar_t c) { return [&calls, c](MSG&, bool&) { calls += c; }; };
    Application->OnMessage = note(L'0');
    auto first = std::make_unique<TScopedMessageHook>(note(L'1'));
    auto second = std::make_unique<TScopedMessageHook>(note(L'2'));
    MSG msg{};
    bool handled = false;
    auto deliver = [&] { return calls.clear(), Application->OnMessage(msg, handled), calls; };
    EXPECT_EQ(L"210", deliver());
    first.reset(); // ended under another: steps aside
    EXPECT_EQ(L"20", deliver());
    second.reset(); // ended on top: puts back what it found
    EXPECT_EQ(L"0", deliver());
    Application->OnMessage = saved;
}
