// The frame, tool bar, status bar and scrolling controls as a window's
// description stores them: every property arrives through its setter, the
// style travels from the frame to the controls, theme references are dropped
// when the theme goes, and the title reaches the window.

#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIForm.h"
#include "skin/controls/SUIListControls.h"
#include "skin/controls/SUIStatusBar.h"
#include "skin/controls/SUIToolBar.h"

#include "framework/ModalHook.h"

#include "../support/HostForm.h"
#include "../support/Painted.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class TStubsForm : public TForm {
  public:
    explicit TStubsForm(TComponent* owner) : TForm(owner) {}
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TStubsForm>(L"TStubsForm", &TForm::StaticClass())
                .Handler(L"FrameHelp", &TStubsForm::FrameHelp)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    void FrameHelp(TObject*) { ++helps; }
    int helps = 0;

    template <class T> T* Find(const wchar_t* name) {
        auto* c = dynamic_cast<T*>(FindComponent(name));
        EXPECT_NE(nullptr, c) << WideToUtf8(name);
        return c;
    }
};

// Stored the way the main window stores its controls.
const wchar_t kDescription[] = LR"(object StubsForm: TStubsForm
  Caption = 'stored caption'
  Left = 40
  Top = 40
  Width = 640
  Height = 480
  object PopupMenu1: TPopupMenu
  end
  object MainMenu1: TMainMenu
  end
  object suiForm1: TsuiForm
    TitleBarCustom = False
    UIStyle = BlueGlass
    UIStyleAutoUpdateSub = False
    BorderColor = $00123456
    BorderWidth = 3
    TitleBarVisible = True
    BiDiMode = bdLeftToRight
    Color = $00E7E7E7
    Caption = '蓝桉房贷按揭计算器V1.0'
    FormPanel = Inner
    TitleBarButtons = <
      item
        ButtonType = suiControlBox
        ControlBoxMenu = PopupMenu1
      end
      item
        ButtonType = suiClose
        Top = 4
      end
      item
        ButtonType = suiMax
        Visible = False
      end
      item
        ButtonType = suiMin
        Transparent = True
      end>
    TitleBarSections = <
      item
        Align = suiLeft
        AutoSize = True
      end
      item
        Align = suiClient
        Width = 30
      end>
    TitleBarDrawAppIcon = True
    CaptionFont.Name = 'Tahoma'
    CaptionFont.Style = [fsBold]
    CaptionFont.Color = clWhite
    CaptionFont.Height = -11
    Menu = MainMenu1
    MenuBarColor = $00E7E7E8
    MenuBarHeight = 24
    RoundCorner = 11
    PopupMenu = PopupMenu1
    Version = '1.0'
    OnTitleBarHelpBtnClick = FrameHelp
    object suiToolBar1: TsuiToolBar
      Height = 52
      ButtonHeight = 52
      ButtonWidth = 39
      ShowCaptions = True
      Flat = True
      UIStyle = MacOS
      ButtonColor = $00EFEFEF
      ButtonBorderColor = $00474747
      ButtonDownColor = $00D8D8D8
      object TBjs: TToolButton
        Caption = '计算'
      end
    end
    object suiStatusBar1: TsuiStatusBar
      Panels = <
        item
          Width = 300
          Text = 'author'
        end
        item
          Width = 50
          Text = '  欢迎反馈使用意见及建议！'
        end>
    end
    object Inner: TPanel
      Align = alClient
      object suiComboBox1: TsuiComboBox
        Left = 8
        Top = 8
        Width = 80
        Items = (
          '9'
          '8')
        ItemIndex = 1
        ArrowColor = clRed
        ButtonColor = $00ABCDEF
      end
      object suiListBox1: TsuiListBox
        Left = 8
        Top = 40
        Width = 120
        Height = 80
        BorderColor = clNavy
        MultiSelect = True
      end
      object suiMemo1: TsuiMemo
        Left = 140
        Top = 40
        Width = 160
        Height = 80
        Lines = (
          '■软件说明'
          '    first')
        ScrollBars = ssVertical
        BorderColor = clMaroon
      end
      object suiSG1: TsuiStringGrid
        Left = 8
        Top = 130
        Width = 400
        Height = 120
        ColCount = 6
        DefaultColWidth = 60
        RowCount = 4
        FixedCols = 0
        Color = $00E7E7E7
        FixedColor = $00EC5E5E
        FixedFontColor = clWhite
        FocusedColor = clLime
        SelectedColor = $00F0CAA6
        BorderColor = clBlack
      end
    end
  end
end
)";

TOwned<TStubsForm> LoadStubs() {
    TOwned<TStubsForm> form(new TStubsForm(nullptr));
    form->LoadDescriptionText(kDescription, L"skin stubs");
    return form;
}

} // namespace

TEST(SkinStubs, FrameTakesEveryStoredProperty) {
    auto form = LoadStubs();
    auto* frame = form->Find<TsuiForm>(L"suiForm1");
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(form.get(), frame->OwnerForm());
    // Stored aligned, but the frame places itself inside the window's border.
    EXPECT_EQ(alNone, frame->Align());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, frame->UIStyle());
    // Stored after the style, so they win over its values.
    EXPECT_EQ(TColor(0x123456), frame->BorderColor());
    EXPECT_EQ(3, frame->BorderWidth());
    EXPECT_EQ(TColor(0xE7E7E8), frame->MenuBarColor());
    EXPECT_EQ(24, frame->MenuBarHeight());
    EXPECT_EQ(11, frame->RoundCorner());
    EXPECT_TRUE(frame->TitleBarDrawAppIcon());
    EXPECT_EQ(L"蓝桉房贷按揭计算器V1.0", frame->Caption());
    EXPECT_EQ(L"Tahoma", frame->CaptionFont().Name());
    EXPECT_TRUE(frame->CaptionFont().Style().Contains(fsBold));
    EXPECT_EQ(clWhite, frame->CaptionFont().Color());
    // The title font is not the panel's: the controls inside keep theirs.
    EXPECT_NE(clWhite, frame->Font().Color());
    EXPECT_EQ(L"4.20", GetPropertyValue(*frame, L"Version").text);
    EXPECT_EQ(form->FindComponent(L"Inner"), frame->FormPanel());
    EXPECT_EQ(form->FindComponent(L"MainMenu1"), frame->Menu());
    EXPECT_EQ(form->FindComponent(L"PopupMenu1"), frame->PopupMenu());
    ASSERT_TRUE(frame->OnTitleBarHelpBtnClick);
    frame->OnTitleBarHelpBtnClick(frame);
    EXPECT_EQ(1, form->helps);

    ASSERT_EQ(4, frame->TitleBarButtonCount());
    EXPECT_EQ(suiControlBox, frame->TitleBarButtons(0).ButtonType());
    EXPECT_EQ(frame->PopupMenu(), frame->TitleBarButtons(0).ControlBoxMenu());
    EXPECT_EQ(suiClose, frame->TitleBarButtons(1).ButtonType());
    EXPECT_EQ(4, frame->TitleBarButtons(1).Top());
    EXPECT_FALSE(frame->TitleBarButtons(2).Visible());
    EXPECT_TRUE(frame->TitleBarButtons(3).Transparent());
    ASSERT_EQ(2, frame->TitleBarSectionCount());
    EXPECT_TRUE(frame->TitleBarSections(0).AutoSize());
    EXPECT_EQ(suiClient, frame->TitleBarSections(1).Align());
    EXPECT_TRUE(frame->TitleBarSections(1).Stretch()); // a client section always stretches
    EXPECT_EQ(30, frame->TitleBarSections(1).Width());
}

TEST(SkinStubs, ControlsTakeTheirStoredPropertiesAndTheFrameStyle) {
    auto form = LoadStubs();

    auto* bar = form->Find<TsuiToolBar>(L"suiToolBar1");
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(TsuiUIStyle::MacOS, bar->UIStyle());
    EXPECT_TRUE(bar->Transparent()); // MacOS is see-through
    EXPECT_EQ(TColor(0xEFEFEF), bar->ButtonColor());
    EXPECT_EQ(TColor(0x474747), bar->ButtonBorderColor());
    EXPECT_EQ(TColor(0xD8D8D8), bar->ButtonDownColor());
    EXPECT_EQ(1, bar->ButtonCount());

    // Not stored: taken from the frame when created.
    auto* status = form->Find<TsuiStatusBar>(L"suiStatusBar1");
    ASSERT_NE(nullptr, status);
    EXPECT_EQ(TsuiUIStyle::BlueGlass, status->UIStyle());
    EXPECT_EQ(TColor(0xE7E7E7), status->PanelColor());
    EXPECT_EQ(status->Color(), status->PanelColor());
    ASSERT_EQ(2, status->Panels().Count());
    EXPECT_EQ(300, status->Panels()[0].Width());

    auto* combo = form->Find<TsuiComboBox>(L"suiComboBox1");
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(TsuiUIStyle::BlueGlass, combo->UIStyle());
    EXPECT_EQ(clRed, combo->ArrowColor());
    EXPECT_EQ(TColor(0xABCDEF), combo->ButtonColor());
    EXPECT_EQ(clBlack, combo->BorderColor());
    EXPECT_EQ(1, combo->ItemIndex());

    auto* list = form->Find<TsuiListBox>(L"suiListBox1");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(clNavy, list->BorderColor());
    EXPECT_TRUE(list->MultiSelect());

    auto* memo = form->Find<TsuiMemo>(L"suiMemo1");
    ASSERT_NE(nullptr, memo);
    EXPECT_EQ(clMaroon, memo->BorderColor());
    EXPECT_EQ(2, memo->Lines().Count());
    EXPECT_EQ(msVertical, memo->ScrollBars());

    auto* grid = form->Find<TsuiStringGrid>(L"suiSG1");
    ASSERT_NE(nullptr, grid);
    EXPECT_EQ(TColor(0xE7E7E7), grid->BGColor());
    EXPECT_EQ(TColor(0xEC5E5E), grid->FixedBGColor());
    EXPECT_EQ(clWhite, grid->FixedFontColor());
    EXPECT_EQ(clLime, grid->FocusedColor());
    EXPECT_EQ(TColor(0xF0CAA6), grid->SelectedColor());
    EXPECT_FALSE(GetPropertyValue(*grid, L"Ctl3D").boolean);
}

TEST(SkinStubs, StylesGiveTheTableColours) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* frame = Make<TsuiForm>(form.get(), form.get());
    EXPECT_EQ(TsuiUIStyle::DeepBlue, frame->UIStyle());
    frame->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(clBlack, frame->BorderColor());
    EXPECT_EQ(1, frame->BorderWidth());
    EXPECT_EQ(TColor(0xE7E7E7), frame->Color());
    EXPECT_EQ(frame->Color(), frame->MenuBarColor());

    auto* grid = Make<TsuiStringGrid>(form.get(), form.get());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, grid->UIStyle());
    EXPECT_EQ(TColor(0xEC5E5E), grid->FixedBGColor());
    EXPECT_EQ(clWhite, grid->FixedFontColor());
    EXPECT_EQ(TColor(0xE7E7E7), grid->BGColor());
    EXPECT_EQ(clBlack, grid->FontColor());

    auto* bar = Make<TsuiToolBar>(form.get(), form.get());
    EXPECT_FALSE(bar->Transparent()); // opaque in BlueGlass
    bar->SetUIStyle(TsuiUIStyle::Protein);
    EXPECT_TRUE(bar->Transparent());
    EXPECT_EQ(esNone, bar->EdgeInner());
}

TEST(SkinStubs, OwnerFormStyleIsThatOfTheFrame) {
    TOwned<TForm> form(new TForm(nullptr));
    EXPECT_EQ(TsuiUIStyle::DeepBlue, GetOwnerFormStyle(form.get()));
    auto* frame = Make<TsuiForm>(form.get(), form.get());
    frame->SetUIStyle(TsuiUIStyle::WinXP);
    EXPECT_EQ(TsuiUIStyle::WinXP, GetOwnerFormStyle(form.get()));
    frame->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(TsuiUIStyle::BlueGlass, GetOwnerFormStyle(form.get()));
    auto* memo = new TsuiMemo(form.get());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, memo->UIStyle());
}

TEST(SkinStubs, AutoUpdateSubRestylesTheControlsInside) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* frame = Make<TsuiForm>(form.get(), form.get());
    auto* group = Make<TPanel>(form.get(), frame);
    auto* button = Make<TsuiButton>(form.get(), group);
    auto* grid = Make<TsuiStringGrid>(form.get(), frame);
    ASSERT_EQ(TsuiUIStyle::DeepBlue, button->UIStyle());

    frame->SetUIStyle(TsuiUIStyle::WinXP); // without the switch: only the frame
    EXPECT_EQ(TsuiUIStyle::DeepBlue, button->UIStyle());

    frame->SetUIStyleAutoUpdateSub(true);
    frame->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(TsuiUIStyle::BlueGlass, button->UIStyle());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, grid->UIStyle());
    EXPECT_EQ(TColor(0xEC5E5E), grid->FixedBGColor());
}

TEST(SkinStubs, RemovedThemeIsDroppedEverywhere) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* frame = Make<TsuiForm>(form.get(), form.get());
    auto* button = Make<TsuiButton>(form.get(), frame);
    auto* bar = Make<TsuiToolBar>(form.get(), frame);
    auto* status = Make<TsuiStatusBar>(form.get(), frame);
    auto* combo = new TsuiComboBox(form.get());
    auto* list = new TsuiListBox(form.get());
    auto* memo = new TsuiMemo(form.get());
    auto* grid = new TsuiStringGrid(form.get());
    // Owned elsewhere, so each control has to ask to hear of its end.
    TOwned<TComponent> holder(new TComponent(nullptr));
    auto* theme = new TsuiFileTheme(holder.get());

    // Each control with the theme, and the style some of them were given after it.
    const std::pair<IsuiStyled*, TsuiUIStyle> themed[] = {
        {frame, TsuiUIStyle::WinXP},    {button, TsuiUIStyle::DeepBlue},
        {bar, TsuiUIStyle::MacOS},      {status, TsuiUIStyle::BlueGlass},
        {combo, TsuiUIStyle::DeepBlue}, {list, TsuiUIStyle::DeepBlue},
        {memo, TsuiUIStyle::DeepBlue},  {grid, TsuiUIStyle::BlueGlass}};
    for (auto [control, style] : themed) {
        control->SetFileTheme(theme);
        if (style != TsuiUIStyle::DeepBlue) control->SetUIStyle(style);
    }

    theme->Free();
    // The frame hands DeepBlue down even with UIStyleAutoUpdateSub off.
    for (size_t i = 0; i < std::size(themed); ++i) {
        EXPECT_EQ(nullptr, themed[i].first->FileTheme()) << i;
        EXPECT_EQ(TsuiUIStyle::DeepBlue, themed[i].first->UIStyle()) << i;
    }
}

TEST(SkinStubs, FrameDropsRemovedMenusAndPanel) {
    TOwned<TComponent> holder(new TComponent(nullptr));
    TOwned<TForm> form(new TForm(nullptr));
    auto* frame = new TsuiForm(form.get());
    auto* menu = new TMainMenu(holder.get());
    auto* popup = new TPopupMenu(holder.get());
    auto* panel = new TPanel(holder.get());
    frame->SetMenu(menu);
    frame->SetPopupMenu(popup);
    frame->TitleBarButtons(0).SetControlBoxMenu(popup);
    frame->SetFormPanel(panel);
    menu->Free();
    popup->Free();
    panel->Free();
    EXPECT_EQ(nullptr, frame->Menu());
    EXPECT_EQ(nullptr, frame->PopupMenu());
    EXPECT_EQ(nullptr, frame->TitleBarButtons(0).ControlBoxMenu());
    EXPECT_EQ(nullptr, frame->FormPanel());
}

TEST(SkinStubs, FrameRefusesWhatCannotBe) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* frame = new TsuiForm(form.get());
    std::vector<std::wstring> boxes;
    TScopedModalHook hook([&](TModalRequest& r) {
        if (r.kind != TModalKind::MessageBox) return;
        EXPECT_TRUE(r.flags & MB_ICONERROR);
        boxes.push_back(r.text);
        r.result = IDOK;
        r.answered = true;
    });

    frame->SetFormPanel(frame);
    EXPECT_EQ(nullptr, frame->FormPanel());
    // Four default buttons, the control box first.
    ASSERT_EQ(4, frame->TitleBarButtonCount());
    EXPECT_EQ(suiControlBox, frame->TitleBarButtons(0).ButtonType());
    EXPECT_EQ(suiMin, frame->TitleBarButtons(3).ButtonType());
    frame->TitleBarButtons(3).SetButtonType(suiControlBox);
    EXPECT_EQ(suiMin, frame->TitleBarButtons(3).ButtonType());
    frame->ClearTitleBarSections(); // the style's sections include a client one
    frame->AddTitleBarSection().SetAlign(suiClient);
    auto& second = frame->AddTitleBarSection();
    second.SetAlign(suiClient);
    EXPECT_EQ(suiLeft, second.Align());
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ(L"Sorry, you can't select the Form assign to FormPanel property", boxes[0]);
    EXPECT_EQ(L"Sorry, only one button's ButtonType property can be \"suiControlBox\"", boxes[1]);
    EXPECT_EQ(L"Sorry, only one section's Align property can be \"suiClient\"", boxes[2]);

    try {
        new TsuiForm(form.get());
        ADD_FAILURE() << "a second frame was created";
    } catch (const EComponentError& e) {
        EXPECT_EQ(L"Sorry, You can create only one TsuiForm component in one form!",
                  std::wstring(e.Message()));
    }
    EXPECT_EQ(1, form->ComponentCount());
}

TEST(SkinStubs, FrameCaptionIsTheWindowTitle) {
    auto form = LoadStubs();
    auto* frame = form->Find<TsuiForm>(L"suiForm1");
    ASSERT_NE(nullptr, frame);
    form->Show();
    Pump();
    EXPECT_EQ(L"蓝桉房贷按揭计算器V1.0", WindowText(form->Handle()));
    frame->SetCaption(L"关于");
    EXPECT_EQ(L"关于", WindowText(form->Handle()));
    EXPECT_EQ(L"关于", form->Caption());
    // The panel shows no title of its own in the middle.
    EXPECT_EQ(L" ", frame->Text());

    // A new frame starts with the window's title.
    TOwned<TForm> other(new TForm(nullptr));
    other->SetCaption(L"温馨提示");
    TOwned<TsuiForm> fresh(new TsuiForm(other.get()));
    EXPECT_EQ(L"温馨提示", fresh->Caption());
}

TEST(SkinStubs, GridPaintsCellsInItsColours) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetBounds(30, 30, 400, 300);
    auto* grid = Make<TsuiStringGrid>(form.get(), 0, 0, 300, 200);
    grid->SetUIStyle(TsuiUIStyle::BlueGlass);
    grid->SetSelectedColor(0xF0CAA6);
    grid->SetCells(0, 0, L"还款时间");
    auto* other = Make<TEdit>(form.get(), 0, 220, 100, 20);
    form->Show();
    Pump();

    const RECT fixed = grid->CellRect(0, 0);
    const RECT current = grid->CellRect(1, 1);
    const RECT plain = grid->CellRect(2, 2);
    grid->SetFocus();
    Pump();
    ASSERT_TRUE(grid->Focused());
    auto focused = Painted(*grid);
    EXPECT_EQ(clLime, focused->Pixel(current.left + 3, current.top + 3));
    EXPECT_EQ(TColor(0xE7E7E7), focused->Pixel(plain.left + 3, plain.top + 3));
    EXPECT_EQ(TColor(0xEC5E5E), focused->Pixel(fixed.right - 3, fixed.bottom - 3));
    // Fixed text in the fixed font colour somewhere in the header cell.
    bool white = false;
    for (int x = fixed.left; x < fixed.right && !white; ++x)
        for (int y = fixed.top; y < fixed.bottom && !white; ++y)
            white = focused->Pixel(x, y) == clWhite;
    EXPECT_TRUE(white);

    other->SetFocus();
    Pump();
    ASSERT_FALSE(grid->Focused());
    EXPECT_EQ(TColor(0xF0CAA6), Painted(*grid)->Pixel(current.left + 3, current.top + 3));

    // The frame's one pixel lies outside the client area.
    RECT client{};
    GetClientRect(grid->Handle(), &client);
    RECT window{};
    GetWindowRect(grid->Handle(), &window);
    const int barWidth = (GetWindowLongW(grid->Handle(), GWL_STYLE) & WS_VSCROLL)
                             ? GetSystemMetrics(SM_CXVSCROLL)
                             : 0;
    EXPECT_EQ(window.right - window.left - 2 - barWidth, client.right);
}

TEST(SkinStubs, MemoAndListKeepTwoPixelsForTheirFrame) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* memo = Make<TsuiMemo>(form.get(), 10, 10, 120, 60);
    auto* list = Make<TsuiListBox>(form.get(), 10, 80, 120, 60);
    form->Show();
    Pump();
    for (TWinControl* c : std::vector<TWinControl*>{memo, list}) {
        RECT client{};
        GetClientRect(c->Handle(), &client);
        EXPECT_EQ(116, client.right);
        EXPECT_EQ(56, client.bottom);
        EXPECT_EQ(0, GetWindowLongW(c->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    }
}
