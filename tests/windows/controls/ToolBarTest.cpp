// The tool bar over the system control: layout of visible buttons, clicks
// that never take the focus, hints, and the custom-draw hooks seen on screen.

#include "GridTestSupport.h"

#include "framework/Screenshot.h"
#include "framework/ToolBar.h"

#include <vector>

namespace {

// A system edit box, the focus a tool-bar click must leave alone.
class TTestEdit : public TWinControl {
  public:
    explicit TTestEdit(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

  protected:
    void CreateParams(TCreateParams& params) override {
        TWinControl::CreateParams(params);
        CreateSubClass(params, L"EDIT");
        params.Style |= WS_TABSTOP;
    }
};

class ToolBarTest : public testing::Test {
  protected:
    void SetUp() override {
        images = new TCustomImageList(host.get());
        images->SetWidth(32);
        images->SetHeight(32);
        const TColor faces[] = {clRed, clGreen, clBlue, clOlive};
        for (TColor face : faces) {
            TBitmap b(32, 32);
            b.Fill(clFuchsia); // the key colour, bottom-left
            for (int y = 4; y < 28; ++y)
                for (int x = 4; x < 28; ++x)
                    b.SetPixel(x, y, face);
            images->Images().AddMasked(b, clDefault);
        }
        bar = new TToolBar(host.get());
        bar->SetName(L"Bar");
        bar->SetParent(host.get());
        bar->SetImages(images);
        bar->SetShowCaptions(true);
        bar->SetButtonWidth(39);
        bar->SetButtonHeight(52);
        bar->SetFlat(true);
        bar->SetAutoSize(true);
        bar->SetShowHint(true);
        const wchar_t* captions[] = {L"计算", L"存档", L"导出", L"关于"};
        for (int i = 0; i < 4; ++i) {
            auto* b = new TToolButton(host.get());
            b->SetCaption(captions[i]);
            b->SetHint(std::wstring(L"提示") + captions[i]);
            b->SetImageIndex(i);
            b->SetParent(bar);
            b->OnClick = [this](TObject* s) { clicks.push_back(s); };
            buttons.push_back(b);
        }
        edit = new TTestEdit(host.get());
        edit->SetBounds(10, 80, 150, 22);
        edit->SetParent(host.get());
        host.Show();
    }
    HWND Wnd() { return bar->Handle(); }
    void ClickAt(POINT p) {
        SendMessageW(Wnd(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(p.x, p.y));
        SendMessageW(Wnd(), WM_LBUTTONUP, 0, PointParam(p.x, p.y));
        Pump();
    }

    HostForm host{400, 200};
    TCustomImageList* images = nullptr;
    TToolBar* bar = nullptr;
    TTestEdit* edit = nullptr;
    std::vector<TToolButton*> buttons;
    std::vector<TObject*> clicks;
};

TEST_F(ToolBarTest, ButtonsAreLaidOutAndHiddenOnesLeaveNoGap) {
    ASSERT_EQ(SendMessageW(Wnd(), TB_BUTTONCOUNT, 0, 0), 4);
    EXPECT_EQ(bar->Height(), 52); // AutoSize follows the buttons
    std::vector<RECT> before;
    for (auto* b : buttons) {
        RECT r = bar->ButtonRect(b);
        EXPECT_EQ(r.right - r.left, 39);
        EXPECT_EQ(r.bottom - r.top, 52);
        EXPECT_EQ(b->Left(), r.left); // the button controls mirror the system's layout
        EXPECT_EQ(b->Width(), 39);
        before.push_back(r);
    }
    EXPECT_EQ(before[1].left, before[0].right);

    buttons[1]->SetVisible(false);
    RECT hidden = bar->ButtonRect(buttons[1]);
    EXPECT_TRUE(IsRectEmpty(&hidden));
    EXPECT_EQ(bar->ButtonRect(buttons[2]).left, before[1].left);
    EXPECT_EQ(bar->ButtonRect(buttons[3]).left, before[2].left);
    EXPECT_EQ(buttons[3]->Left(), before[2].left);

    // The main window's switch: 存档 only on the rate tab.
    buttons[1]->SetVisible(true);
    buttons[0]->SetVisible(false);
    buttons[2]->SetVisible(false);
    EXPECT_EQ(bar->ButtonRect(buttons[1]).left, before[0].left);
    EXPECT_EQ(bar->ButtonRect(buttons[3]).left, before[1].left);
    buttons[0]->SetVisible(true);
    buttons[2]->SetVisible(true);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bar->ButtonRect(buttons[size_t(i)]).left, before[size_t(i)].left);

    // Captions and images reach the system control.
    wchar_t text[32] = {};
    SendMessageW(Wnd(), TB_GETBUTTONTEXTW, WPARAM(buttons[2]->CommandId()),
                 reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"导出");
    buttons[2]->SetCaption(L"输出");
    SendMessageW(Wnd(), TB_GETBUTTONTEXTW, WPARAM(buttons[2]->CommandId()),
                 reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"输出");
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    SendMessageW(Wnd(), TB_GETBUTTONINFOW, WPARAM(buttons[3]->CommandId()),
                 reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.iImage, 3);

    // A button freed by its owner leaves the bar.
    buttons[3]->Free();
    buttons.pop_back();
    EXPECT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(SendMessageW(Wnd(), TB_BUTTONCOUNT, 0, 0), 3);
}

TEST_F(ToolBarTest, ClickRunsOnClickAndLeavesTheFocusInTheEdit) {
    edit->SetFocus();
    ASSERT_EQ(GetFocus(), edit->Handle());
    ClickAt(Centre(bar->ButtonRect(buttons[0])));
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], buttons[0]);
    EXPECT_EQ(GetFocus(), edit->Handle());

    // Releasing outside the button is no click; a disabled button gives none either.
    POINT p = Centre(bar->ButtonRect(buttons[1]));
    SendMessageW(Wnd(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(p.x, p.y));
    SendMessageW(Wnd(), WM_LBUTTONUP, 0, PointParam(p.x, 200));
    Pump();
    buttons[2]->SetEnabled(false);
    EXPECT_FALSE(SendMessageW(Wnd(), TB_ISBUTTONENABLED, WPARAM(buttons[2]->CommandId()), 0));
    ClickAt(Centre(bar->ButtonRect(buttons[2])));
    EXPECT_EQ(clicks.size(), 1u);

    // Even a focus handed to the bar goes straight back.
    SetFocus(Wnd());
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_FALSE(bar->TabStop());
}

TEST_F(ToolBarTest, HintsComeFromTheButtonsWhileShowHintIsOn) {
    EXPECT_NE(SendMessageW(Wnd(), TB_GETTOOLTIPS, 0, 0), 0);
    auto ask = [&](TToolButton* b) {
        NMTTDISPINFOW di{};
        di.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(Wnd(), TB_GETTOOLTIPS, 0, 0));
        di.hdr.idFrom = UINT_PTR(b->CommandId());
        di.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(Wnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&di));
        return std::wstring(di.lpszText ? di.lpszText : L"");
    };
    EXPECT_EQ(ask(buttons[2]), L"提示导出");
    buttons[2]->SetHint(L"导出分期还款表");
    EXPECT_EQ(ask(buttons[2]), L"导出分期还款表");
    bar->SetShowHint(false);
    EXPECT_EQ(ask(buttons[2]), L"");
}

TEST_F(ToolBarTest, CustomDrawHooksPaintTheBarAndChosenButtons) {
    std::vector<std::pair<TToolButton*, TToolButtonDrawState>> drawn;
    bar->OnCustomDraw = [](TToolBar*, TCanvas& canvas, const RECT& r) {
        canvas.Brush().SetColor(clLime);
        canvas.FillRect(r);
        return true;
    };
    bar->OnCustomDrawButton = [&](TToolBar*, TToolButton* b, TCanvas& canvas, const RECT& r,
                                  TToolButtonDrawState state) {
        drawn.emplace_back(b, state);
        if (b != buttons[1]) return false;
        canvas.Brush().SetColor(clFuchsia);
        canvas.FillRect(r);
        return true;
    };
    buttons[3]->SetEnabled(false);
    buttons[2]->SetStyle(tbsCheck);
    buttons[2]->SetDown(true);
    RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    TBitmap shot;
    CaptureWindow(Wnd(), shot, true);
    SaveScreenshot(shot, L"controls-toolbar-custom-draw");
    RECT r0 = bar->ButtonRect(buttons[0]), r1 = bar->ButtonRect(buttons[1]);
    POINT c1 = Centre(r1);
    EXPECT_EQ(shot.Pixel(c1.x, c1.y), clFuchsia); // the hook drew button 1
    EXPECT_EQ(shot.Pixel(c1.x, r1.bottom - 2), clFuchsia);
    EXPECT_EQ(shot.Pixel(bar->ClientWidth() - 5, 10), clLime); // the bar beyond the buttons
    EXPECT_EQ(shot.Pixel(r0.left + 20, r0.top + 20), clRed);   // the system drew button 0's image
    EXPECT_EQ(shot.Pixel(r0.left + 1, r0.bottom - 3), clLime); // on the hook's background

    auto stateOf = [&](TToolButton* b) {
        TToolButtonDrawState s;
        for (auto& d : drawn)
            if (d.first == b) s = d.second;
        return s;
    };
    ASSERT_GE(drawn.size(), 4u);
    EXPECT_TRUE(stateOf(buttons[3]).Contains(cdsDisabled));
    EXPECT_FALSE(stateOf(buttons[0]).Contains(cdsDisabled));
    EXPECT_TRUE(stateOf(buttons[2]).Contains(cdsChecked));
    EXPECT_FALSE(stateOf(buttons[0]).Contains(cdsChecked));

    // A checked button's click reads its new state back from the system.
    ClickAt(Centre(bar->ButtonRect(buttons[2])));
    EXPECT_FALSE(buttons[2]->Down());
}

TEST_F(ToolBarTest, TransparentBarShowsItsParentWithoutHooks) {
    host->SetColor(RGBToColor(0x12, 0x34, 0x56));
    bar->SetTransparent(true);
    RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    TBitmap shot;
    CaptureWindow(Wnd(), shot, true);
    EXPECT_EQ(shot.Pixel(bar->ClientWidth() - 5, 10), RGBToColor(0x12, 0x34, 0x56));

    bar->SetTransparent(false);
    bar->SetColor(clYellow);
    RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CaptureWindow(Wnd(), shot, true);
    EXPECT_EQ(shot.Pixel(bar->ClientWidth() - 5, 10), clYellow);
}

} // namespace
