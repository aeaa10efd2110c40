// 关于 on the tool bar: a fresh About window every time, closed by a double
// click on its text, and the main window working on afterwards.

#include "../support/MainWindow.h"

#include "app/Uabout.h"
#include "framework/Graphics.h"

#include <functional>

using namespace main_window_test;

namespace {

// Clicks 关于 and runs whileOpen once the About window's loop runs; the
// window must be closed by then.
void OpenAbout(TForm1* f, const std::function<void(TfrmAbout&)>& whileOpen) {
    int opened = 0;
    TScopedModalHook hook([&](TModalRequest& r) {
        auto* about = dynamic_cast<TfrmAbout*>(r.form);
        if (!about) {
            ADD_FAILURE() << "an unexpected modal window";
            if (r.form) r.form->SetModalResult(mrCancel);
            r.answered = true;
            r.result = IDCANCEL;
            return;
        }
        ++opened;
        EXPECT_EQ(about, frmAbout);
        EXPECT_EQ(about->Owner(), f);
        EXPECT_FALSE(IsWindowEnabled(f->Handle())) << "the main window takes no input";
        Pump();
        whileOpen(*about);
        if (!PumpUntil([&] { return about->ModalResult() != mrNone; }, 2000)) {
            ADD_FAILURE() << "the About window stayed open";
            about->SetModalResult(mrAbort);
        }
    });
    ClickTool(f->ToolButton1);
    Pump(); // the window is freed after the message that ended its loop
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(frmAbout, nullptr);
}

int OwnedAboutWindows(TForm1* f) {
    int n = 0;
    for (int i = 0; i < f->ComponentCount(); ++i)
        n += dynamic_cast<TfrmAbout*>(f->Components(i)) != nullptr;
    return n;
}

} // namespace

TEST(MainWindowAbout, EachClickOpensAFreshWindowClosedByADoubleClick) {
    MainWindow w;
    std::wstring original, edited, second;
    TfrmAbout* firstWindow = nullptr;
    OpenAbout(w.get(), [&](TfrmAbout& about) {
        firstWindow = &about;
        original = about.suiMemo1->Text();
        // Typed at the start of the text: the memo is not read-only.
        about.suiMemo1->SetFocus();
        Pump();
        SendMessageW(about.suiMemo1->Handle(), EM_SETSEL, 0, 0);
        for (wchar_t ch : std::wstring(L"改过"))
            SendMessageW(about.suiMemo1->Handle(), WM_CHAR, ch, 1);
        edited = about.suiMemo1->Text();
        DoubleClickAt(about.suiMemo1->Handle(), 60, 40);
    });
    EXPECT_FALSE(original.empty());
    EXPECT_EQ(edited, L"改过" + original);
    EXPECT_EQ(OwnedAboutWindows(w.get()), 0);

    OpenAbout(w.get(), [&](TfrmAbout& about) {
        second = about.suiMemo1->Text();
        DoubleClickAt(about.suiMemo1->Handle(), 60, 40);
    });
    EXPECT_EQ(second, original);
    EXPECT_EQ(OwnedAboutWindows(w.get()), 0);

    // The main window goes on as before.
    EXPECT_TRUE(IsWindowEnabled(w->Handle()));
    Messages messages(w.get());
    TypeInto(w->suiNEdkze, L"100000");
    TypeInto(w->suiNEajqs, L"12");
    TypeInto(w->suiNEnll, L"6");
    ClickTool(w->TBjs);
    EXPECT_EQ(messages.Take(), L"");
    EXPECT_EQ(w->suiNEyhke->Text(), L"8606.64");
    ClickTab(w->suiPageControl1, 2);
    EXPECT_TRUE(w->TBbcnll->Visible());
    EXPECT_TRUE(w->ToolButton1->Visible());
}

TEST(MainWindowAbout, OpeningItAgainLeavesNoGdiObjectBehind) {
    MainWindow w;
    auto once = [&] {
        OpenAbout(w.get(), [](TfrmAbout& about) {
            UpdateWindow(about.Handle());
            Pump();
            DoubleClickAt(about.suiMemo1->Handle(), 60, 40);
        });
    };
    once(); // classes and caches settle first
    const int before = ProcessGdiObjectCount();
    for (int i = 0; i < 4; ++i)
        once();
    Pump();
    EXPECT_EQ(ProcessGdiObjectCount(), before);
    EXPECT_EQ(OwnedAboutWindows(w.get()), 0);
}
