// The status bar over the system control: panels as the system reports them,
// the simple text, the size grip, children and owner-drawn panels.

#include "GridTestSupport.h"

#include "framework/FormReader.h"
#include "framework/Screenshot.h"
#include "framework/StatusBar.h"

#include <vector>

namespace {

class StatusBarTest : public testing::Test {
  protected:
    void SetUp() override {
        bar = new TStatusBar(host.get());
        bar->SetName(L"Status");
        bar->SetParent(host.get());
        TStatusPanel& a = bar->Panels().Add();
        a.SetWidth(300);
        a.SetText(L"作者：蓝桉");
        TStatusPanel& b = bar->Panels().Add();
        b.SetWidth(50);
        b.SetText(L"  欢迎反馈使用意见及建议！");
        host.Show();
    }
    HWND Wnd() { return bar->Handle(); }
    std::vector<int> Parts() {
        int edges[16] = {};
        int n = int(SendMessageW(Wnd(), SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
        return std::vector<int>(edges, edges + n);
    }
    std::wstring TextOf(int part) {
        wchar_t buffer[256] = {};
        LRESULT r = SendMessageW(Wnd(), SB_GETTEXTLENGTHW, WPARAM(part), 0);
        if (LOWORD(r) >= 255) return L"(too long)";
        SendMessageW(Wnd(), SB_GETTEXTW, WPARAM(part), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    HostForm host{600, 200};
    TStatusBar* bar = nullptr;
};

TEST_F(StatusBarTest, PanelsReachTheSystemControl) {
    EXPECT_EQ(bar->Align(), alBottom);
    EXPECT_EQ(bar->Top() + bar->Height(), host->ClientHeight());
    EXPECT_EQ(bar->Width(), host->ClientWidth());
    // The last panel reaches to the end, so its long text is not cut at 50 pixels.
    EXPECT_EQ(Parts(), (std::vector<int>{300, -1}));
    EXPECT_EQ(TextOf(0), L"作者：蓝桉");
    EXPECT_EQ(TextOf(1), L"  欢迎反馈使用意见及建议！");

    bar->Panels()[0].SetWidth(120);
    bar->Panels()[1].SetText(L"就绪");
    bar->Panels().Add().SetWidth(80);
    EXPECT_EQ(Parts(), (std::vector<int>{120, 170, -1}));
    EXPECT_EQ(TextOf(1), L"就绪");
    bar->Panels().Delete(2);
    EXPECT_EQ(Parts(), (std::vector<int>{120, -1}));
    bar->Panels()[0].SetAlignment(taRightJustify);
    EXPECT_NE(TextOf(0).find(L"作者：蓝桉"), std::wstring::npos);

    bar->Panels().Clear();
    EXPECT_EQ(Parts().size(), 1u);
    EXPECT_THROW(bar->Panels().Delete(0), EInvalidOperation);
}

TEST_F(StatusBarTest, SimplePanelShowsOneTextAndKeepsThePanels) {
    bar->SetSimpleText(L"正在计算…");
    bar->SetSimplePanel(true);
    EXPECT_TRUE(SendMessageW(Wnd(), SB_ISSIMPLE, 0, 0));
    bar->SetSimplePanel(false);
    EXPECT_FALSE(SendMessageW(Wnd(), SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(Parts(), (std::vector<int>{300, -1}));
    EXPECT_EQ(TextOf(0), L"作者：蓝桉");
}

TEST_F(StatusBarTest, SizeGripComesAndGoesAndChildrenStay) {
    auto* child = new TPanel(host.get());
    child->SetBounds(310, 1, 60, bar->Height() - 2);
    child->SetParent(bar);
    Pump();
    ASSERT_TRUE(GetWindowLongPtrW(Wnd(), GWL_STYLE) & SBARS_SIZEGRIP);
    auto hitAtCorner = [&] {
        RECT w;
        GetWindowRect(Wnd(), &w);
        return SendMessageW(Wnd(), WM_NCHITTEST, 0, MAKELPARAM(w.right - 2, w.bottom - 2));
    };
    EXPECT_EQ(hitAtCorner(), HTBOTTOMRIGHT);

    bar->SetSizeGrip(false);
    EXPECT_FALSE(GetWindowLongPtrW(Wnd(), GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_NE(hitAtCorner(), HTBOTTOMRIGHT);
    // The window was made anew: panels and children come back with it.
    EXPECT_EQ(Parts(), (std::vector<int>{300, -1}));
    EXPECT_EQ(GetParent(child->Handle()), Wnd());
    EXPECT_TRUE(IsWindowVisible(child->Handle()));
    bar->SetSizeGrip(true);
    EXPECT_EQ(hitAtCorner(), HTBOTTOMRIGHT);
}

TEST_F(StatusBarTest, OwnerDrawnPanelsGoThroughTheHook) {
    std::vector<TStatusPanel*> asked;
    bar->OnDrawPanel = [&](TStatusBar*, TStatusPanel* p, TCanvas& canvas, const RECT& r) {
        asked.push_back(p);
        canvas.Brush().SetColor(clBlue);
        canvas.FillRect(r);
    };
    bar->Panels()[1].SetStyle(psOwnerDraw);
    bar->SetColor(RGBToColor(0xE7, 0xE7, 0xE7));
    RedrawWindow(Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), &bar->Panels()[1]);

    TBitmap shot;
    CaptureWindow(Wnd(), shot, true);
    SaveScreenshot(shot, L"controls-statusbar-owner-draw");
    EXPECT_EQ(shot.Pixel(400, bar->ClientHeight() / 2), clBlue);
    EXPECT_EQ(shot.Pixel(200, bar->ClientHeight() / 2), RGBToColor(0xE7, 0xE7, 0xE7)); // its colour
}

TEST_F(StatusBarTest, DescriptionSetsPanelsAsACollection) {
    TOwned<TForm> form(new TForm(Application));
    ReadComponentText(*form,
                      L"object F: TForm\n"
                      L"  object S: TStatusBar\n"
                      L"    SizeGrip = False\n"
                      L"    Panels = <\n"
                      L"      item\n"
                      L"        Width = 200\n"
                      L"        Text = '左'\n"
                      L"      end\n"
                      L"      item\n"
                      L"        Alignment = taCenter\n"
                      L"        Text = '右'\n"
                      L"      end>\n"
                      L"  end\n"
                      L"end\n",
                      L"status test");
    auto* s = dynamic_cast<TStatusBar*>(form->FindComponent(L"S"));
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->Panels().Count(), 2);
    EXPECT_EQ(s->Panels()[0].Width(), 200);
    EXPECT_EQ(s->Panels()[1].Text(), L"右");
    EXPECT_EQ(s->Panels()[1].Alignment(), taCenter);
    EXPECT_FALSE(s->SizeGrip());
}

} // namespace
