// The gallery window of the standard controls, built from its description,
// used a little, and photographed for a person to look at.

#include "../support/HostForm.h"

#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Menus.h"
#include "framework/Screenshot.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

class TControlsGallery2 : public TForm {
  public:
    explicit TControlsGallery2(TComponent* owner) : TForm(owner) {
        LoadDescription(L"CONTROLSGALLERY2");
        // The form has no Menu property: the bar is set on its window.
        SetFormMenu(this, MainMenu1);
    }
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TControlsGallery2>(L"TControlsGallery2", &TForm::StaticClass())
                .Field(L"MainMenu1", &TControlsGallery2::MainMenu1)
                .Field(L"PopupMenu1", &TControlsGallery2::PopupMenu1)
                .Field(L"SaveDialog1", &TControlsGallery2::SaveDialog1)
                .Field(L"ListBox1", &TControlsGallery2::ListBox1)
                .Field(L"Splitter1", &TControlsGallery2::Splitter1)
                .Field(L"Label1", &TControlsGallery2::Label1)
                .Field(L"Edit1", &TControlsGallery2::Edit1)
                .Field(L"ComboBox1", &TControlsGallery2::ComboBox1)
                .Field(L"Edit2", &TControlsGallery2::Edit2)
                .Field(L"Image1", &TControlsGallery2::Image1)
                .Field(L"Memo1", &TControlsGallery2::Memo1)
                .Handler(L"MenuClick", &TControlsGallery2::MenuClick)
                .Handler(L"ListBox1Click", &TControlsGallery2::ListBox1Click)
                .Handler(L"Edit1Change", &TControlsGallery2::Edit1Change)
                .Handler(L"ComboBox1Click", &TControlsGallery2::ComboBox1Click)
                .Handler(L"Memo1DblClick", &TControlsGallery2::Memo1DblClick)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }

    void MenuClick(TObject* sender) { menuClicks.push_back(sender); }
    void ListBox1Click(TObject*) { ++listClicks; }
    void Edit1Change(TObject*) { ++editChanges; }
    void ComboBox1Click(TObject*) { ++comboClicks; }
    void Memo1DblClick(TObject*) { ++memoDblClicks; }

    TMainMenu* MainMenu1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TListBox* ListBox1 = nullptr;
    TSplitter* Splitter1 = nullptr;
    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TEdit* Edit2 = nullptr;
    TImage* Image1 = nullptr;
    TMemo* Memo1 = nullptr;
    std::vector<TObject*> menuClicks;
    int listClicks = 0, editChanges = 0, comboClicks = 0, memoDblClicks = 0;
};

TEST(StdCtrlsGallery, DescriptionBuildsEveryControlAndTheScreenshotIsSaved) {
    auto* form = new TControlsGallery2(Application);
    TOwned<TForm> owned(form);
    ASSERT_NE(form->ListBox1, nullptr);
    ASSERT_NE(form->Memo1, nullptr);
    ASSERT_NE(form->MainMenu1, nullptr);

    // Stored properties arrived, and the loading raised no user events.
    EXPECT_EQ(form->ListBox1->Items()[0], L"2009年12月  <=>  50000.00元");
    EXPECT_EQ(form->ListBox1->Items().Values(L"2010年01月  <"), L">  2.50元");
    EXPECT_EQ(form->ComboBox1->Text(), L"20");
    EXPECT_EQ(form->Label1->FocusControl(), form->Edit1);
    EXPECT_EQ(form->Edit2->PasswordChar(), L'*');
    EXPECT_EQ(form->Image1->Width(), 32);
    EXPECT_EQ(form->Memo1->Lines().Count(), 7);
    EXPECT_EQ(form->SaveDialog1->DefaultExt(), L"xls");
    EXPECT_EQ(form->MainMenu1->Items()->Count(), 2);
    EXPECT_EQ(form->listClicks + form->comboClicks, 0);

    form->Show();
    SetForegroundWindow(form->Handle());
    PumpUntil([&] { return form->Active(); });
    EXPECT_EQ(GetMenu(form->Handle()), form->MainMenu1->Handle());
    EXPECT_EQ(form->Splitter1->Left(), form->ListBox1->Width());

    // Menus bound to the form's handlers by the description.
    TMenuItem* calc = form->MainMenu1->Items()->Items(0)->Items(0);
    SendMessageW(form->Handle(), WM_COMMAND, calc->Command(), 0);
    ASSERT_EQ(form->menuClicks.size(), 1u);
    EXPECT_EQ(form->menuClicks[0], calc);
    EXPECT_TRUE(form->MainMenu1->IsShortCut(VK_F1, {}));
    EXPECT_EQ(form->menuClicks.size(), 2u);

    form->ListBox1->SetSelected(1, true);
    form->ListBox1->SetSelected(3, true);
    form->Edit1->SetFocus();
    form->Edit1->SetText(L"450000.00");
    EXPECT_EQ(form->editChanges, 2);
    Pump();

    auto file = SaveWindowScreenshot(form->Handle(), L"controls-gallery-standard");
    EXPECT_TRUE(std::filesystem::exists(file));
}

} // namespace

namespace {

// Photographs the open popup once its first item is highlighted, then closes it.
struct PopupCamera {
    static inline int ticks = 0;
    static inline std::filesystem::path file;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND menu = FindWindowW(L"#32768", nullptr);
        ++ticks;
        if (menu && IsWindowVisible(menu) && ticks == 3) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);
        if (menu && IsWindowVisible(menu) && ticks == 8) {
            TBitmap shot;
            CaptureWindow(menu, shot);
            file = SaveScreenshot(shot, L"controls-gallery-standard-popup");
        }
        if (ticks >= 9) EndMenu();
    }
};

TEST(StdCtrlsGallery, OwnerDrawnPopupWithPicturesIsPhotographed) {
    auto* form = new TControlsGallery2(Application);
    TOwned<TForm> owned(form);
    form->Show();
    SetForegroundWindow(form->Handle());
    PumpUntil([&] { return form->Active(); });
    EXPECT_TRUE(form->PopupMenu1->IsOwnerDraw());
    PopupCamera::ticks = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 40, &PopupCamera::Tick);
    POINT at = form->ClientToScreen({300, 150});
    form->PopupMenu1->Popup(at.x, at.y);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(form->menuClicks.empty());
    EXPECT_TRUE(std::filesystem::exists(PopupCamera::file));
}

TEST(StdCtrlsGallery, ShowingAndFreeingTheWindowLeavesNoGdiObjects) {
    auto once = [] {
        auto* form = new TControlsGallery2(Application);
        form->Show();
        Pump();
        UpdateWindow(form->Handle());
        form->ComboBox1->SetDroppedDown(true);
        Pump();
        form->ComboBox1->SetDroppedDown(false);
        form->Free();
        Pump();
    };
    once(); // fonts and brushes cached for the process come with the first
    int before = ProcessGdiObjectCount();
    for (int i = 0; i < 3; ++i)
        once();
    EXPECT_LE(ProcessGdiObjectCount(), before + 2);
}

} // namespace
