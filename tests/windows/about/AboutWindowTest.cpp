// The About window: its description, its text, and its life as a modal
// window that frees itself when it closes, by a double click on the text or
// by the title bar.

#include "app/Uabout.h"

#include "framework/ModalHook.h"
#include "framework/Screenshot.h"

#include "../support/MessagePump.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The main window's part: an owner that stays while About windows come and go.
struct Owner {
    TOwned<TForm> form{new TForm(nullptr)};
    Owner() {
        form->SetBounds(20, 20, 300, 200);
        form->Show();
        Pump();
    }
};

// Runs ShowAboutWindow with `whileOpen` called once its modal loop runs.
TModalResult OpenAbout(TComponent* owner, const std::function<void(TfrmAbout&)>& whileOpen) {
    int calls = 0;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.kind != TModalKind::Form) {
            ADD_FAILURE() << "an unexpected modal window: " << WideToUtf8(r.text);
            r.result = IDCANCEL;
            r.answered = true;
            return;
        }
        ++calls;
        auto* about = dynamic_cast<TfrmAbout*>(r.form);
        ASSERT_NE(nullptr, about);
        EXPECT_EQ(about, frmAbout);
        whileOpen(*about);
        // A window that stays open fails the test instead of waiting for a person.
        if (!PumpUntil([&] { return about->ModalResult() != mrNone; }, 2000)) {
            ADD_FAILURE() << "the About window stayed open";
            about->SetModalResult(mrAbort);
        }
    });
    TModalResult result = ShowAboutWindow(owner);
    EXPECT_EQ(1, calls);
    return result;
}

std::vector<std::wstring> Headings(TfrmAbout& about) {
    std::vector<std::wstring> out;
    for (const std::wstring& line : about.suiMemo1->Lines().ToVector())
        if (!line.empty() && line[0] == L'■') out.push_back(line);
    return out;
}

} // namespace

TEST(AboutWindow, DescriptionGivesTheStoredWindow) {
    TOwned<TfrmAbout> about(new TfrmAbout(nullptr));
    EXPECT_EQ(L"frmAbout", about->Name());
    EXPECT_EQ(L"关于", about->Caption());
    EXPECT_EQ(466, about->Width());
    EXPECT_EQ(483, about->Height());
    EXPECT_EQ(poScreenCenter, about->Position());
    EXPECT_FALSE(about->Scaled());

    ASSERT_NE(nullptr, about->suiForm1);
    EXPECT_EQ(TsuiUIStyle::BlueGlass, about->suiForm1->UIStyle());
    EXPECT_EQ(L"关于", about->suiForm1->Caption());
    EXPECT_EQ(11, about->suiForm1->RoundCorner());
    ASSERT_EQ(4, about->suiForm1->TitleBarButtonCount());
    const TsuiTitleBarBtnType order[] = {suiControlBox, suiClose, suiMax, suiMin};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(order[i], about->suiForm1->TitleBarButtons(i).ButtonType()) << i;

    TsuiMemo* memo = about->suiMemo1;
    ASSERT_NE(nullptr, memo);
    EXPECT_EQ(about->suiForm1, memo->Parent());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, memo->UIStyle());
    EXPECT_EQ(crHandPoint, memo->Cursor());
    EXPECT_FALSE(memo->ReadOnly());
    EXPECT_TRUE(memo->WordWrap());
    EXPECT_EQ(msVertical, memo->ScrollBars());
    EXPECT_EQ((TAnchors{akLeft, akTop, akRight, akBottom}), memo->Anchors());
    EXPECT_TRUE(memo->OnDblClick);
    EXPECT_TRUE(about->OnClose);
}

TEST(AboutWindow, TextHasTheFourSectionsInOrder) {
    TOwned<TfrmAbout> about(new TfrmAbout(nullptr));
    const std::vector<std::wstring> headings = Headings(*about);
    ASSERT_EQ(4u, headings.size());
    EXPECT_EQ(L"■软件说明", headings[0]);
    EXPECT_EQ(L"■使用方法", headings[1]);
    EXPECT_EQ(L"■版本信息", headings[2]);

    const std::vector<std::wstring> lines = about->suiMemo1->Lines().ToVector();
    bool inSection = false, versionFollows = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        if (line == L"■版本信息")
            versionFollows = i + 1 < lines.size() && lines[i + 1] == L"    软件版本：V1.0";
        if (line.empty()) continue;
        if (line[0] == L'■') {
            inSection = true;
            continue;
        }
        EXPECT_TRUE(inSection) << "text before the first heading";
        EXPECT_EQ(L"    ", line.substr(0, 4)) << WideToUtf8(line);
        EXPECT_NE(L' ', line.at(4)) << WideToUtf8(line);
    }
    EXPECT_TRUE(versionFollows);
    // The wording covers both methods, the yearly rates and the plan.
    const std::wstring text = about->suiMemo1->Lines().Text();
    for (const wchar_t* word :
         {L"等额本息", L"等额本金", L"Excel", L"年利率", L"提前还贷", L"安装"})
        EXPECT_NE(std::wstring::npos, text.find(word)) << WideToUtf8(word);
}

TEST(AboutWindow, WidthFollowsItsLimitsAndTheTextFollowsTheWindow) {
    Owner owner;
    OpenAbout(owner.form.get(), [](TfrmAbout& about) {
        TsuiMemo& memo = *about.suiMemo1;
        const int rightGap = about.suiForm1->ClientWidth() - memo.Left() - memo.Width();
        const int bottomGap = about.suiForm1->ClientHeight() - memo.Top() - memo.Height();
        EXPECT_EQ(16, memo.Left());
        EXPECT_EQ(48, memo.Top());

        about.SetBounds(about.Left(), about.Top(), 600, 700);
        Pump();
        EXPECT_EQ(466, about.Width());
        EXPECT_EQ(483, about.Height());
        about.SetBounds(about.Left(), about.Top(), 100, 300);
        Pump();
        EXPECT_EQ(270, about.Width());
        EXPECT_EQ(483, about.Height());
        // Anchored on all sides: the margins stay as they were.
        EXPECT_EQ(16, memo.Left());
        EXPECT_EQ(rightGap, about.suiForm1->ClientWidth() - memo.Left() - memo.Width());
        EXPECT_EQ(bottomGap, about.suiForm1->ClientHeight() - memo.Top() - memo.Height());
        about.Close();
    });
    Pump();
}

TEST(AboutWindow, DoubleClickOnTheTextClosesAndFreesTheWindow) {
    Owner owner;
    bool destroyed = false;
    const TModalResult result = OpenAbout(owner.form.get(), [&](TfrmAbout& about) {
        about.OnDestroy = [&](TObject*) { destroyed = true; };
        DoubleClickAt(about.suiMemo1->Handle(), 60, 40);
    });
    EXPECT_EQ(mrCancel, result);
    EXPECT_TRUE(IsWindowEnabled(owner.form->Handle()));
    Pump(); // freed after the message that ended the loop
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(nullptr, frmAbout);
    EXPECT_EQ(0, owner.form->ComponentCount());
}

TEST(AboutWindow, SingleClickLeavesItOpenAndTheTitleBarClosesIt) {
    Owner owner;
    bool stillOpen = false, destroyed = false;
    const TModalResult result = OpenAbout(owner.form.get(), [&](TfrmAbout& about) {
        about.OnDestroy = [&](TObject*) { destroyed = true; };
        HWND memo = about.suiMemo1->Handle();
        SendMessageW(memo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 40));
        SendMessageW(memo, WM_LBUTTONUP, 0, MAKELPARAM(60, 40));
        Pump();
        stillOpen =
            about.Modal() && about.ModalResult() == mrNone && IsWindowVisible(about.Handle());
        PostMessageW(about.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(mrCancel, result);
    Pump();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(nullptr, frmAbout);
}

TEST(AboutWindow, EachOpeningShowsTheInitialText) {
    Owner owner;
    std::wstring first, second;
    OpenAbout(owner.form.get(), [&](TfrmAbout& about) {
        first = about.suiMemo1->Text();
        about.suiMemo1->SetText(L"edited");
        EXPECT_EQ(L"edited", about.suiMemo1->Text());
        about.Close();
    });
    Pump();
    OpenAbout(owner.form.get(), [&](TfrmAbout& about) {
        second = about.suiMemo1->Text();
        DoubleClickAt(about.suiMemo1->Handle(), 30, 30);
    });
    Pump();
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, second);
    EXPECT_EQ(0, owner.form->ComponentCount());
}

TEST(AboutWindow, LeavesNoGdiObjectBehind) {
    Owner owner;
    auto once = [&] {
        OpenAbout(owner.form.get(), [](TfrmAbout& about) {
            Pump();
            UpdateWindow(about.Handle());
            about.Close();
        });
        Pump();
    };
    once(); // classes and caches settle first
    const int before = ProcessGdiObjectCount();
    for (int i = 0; i < 5; ++i)
        once();
    EXPECT_EQ(before, ProcessGdiObjectCount());
}

TEST(AboutWindow, Screenshot) {
    Owner owner;
    OpenAbout(owner.form.get(), [](TfrmAbout& about) {
        about.BringToFrontWindow();
        PumpUntil([&] { return about.Active(); }, 1000);
        Pump();
        SaveWindowScreenshot(about.Handle(), L"about-window");
        about.Close();
    });
    Pump();
}
