// The gallery window: the grid, the tool bar and the status bar built from a
// form description, filled with a schedule, and photographed for a person.

#include "GridTestSupport.h"

#include "app/GridScheduleSink.h"
#include "framework/Grids.h"
#include "framework/Screenshot.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"

namespace {

class TControlsGallery1 : public TForm {
  public:
    explicit TControlsGallery1(TComponent* owner) : TForm(owner) {
        LoadDescription(L"CONTROLSGALLERY1");
    }
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TControlsGallery1>(L"TControlsGallery1", &TForm::StaticClass())
                .Field(L"ImageList1", &TControlsGallery1::ImageList1)
                .Field(L"ToolBar1", &TControlsGallery1::ToolBar1)
                .Field(L"TBjs", &TControlsGallery1::TBjs)
                .Field(L"TBdc", &TControlsGallery1::TBdc)
                .Field(L"StatusBar1", &TControlsGallery1::StatusBar1)
                .Field(L"Grid1", &TControlsGallery1::Grid1)
                .Handler(L"ToolButtonClick", &TControlsGallery1::ToolButtonClick)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }

    void ToolButtonClick(TObject* sender) { clicked.push_back(sender); }

    TCustomImageList* ImageList1 = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TToolButton* TBjs = nullptr;
    TToolButton* TBdc = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TStringGrid* Grid1 = nullptr;
    std::vector<TObject*> clicked;
};

struct NoTotals : calc::ResultBox {
    void SetValue(double) override {}
    void SetEnabled(bool) override {}
};

TEST(GridGallery, DescriptionBuildsTheThreeControlsAndTheScreenshotIsSaved) {
    auto* form = new TControlsGallery1(Application);
    TOwned<TForm> owned(form);
    ASSERT_NE(form->Grid1, nullptr);
    ASSERT_NE(form->ToolBar1, nullptr);
    ASSERT_NE(form->StatusBar1, nullptr);
    EXPECT_EQ(form->ToolBar1->Images(), form->ImageList1);
    EXPECT_EQ(form->ImageList1->Count(), 4);
    ASSERT_EQ(form->ToolBar1->ButtonCount(), 4);
    EXPECT_EQ(form->ToolBar1->Buttons(0), form->TBjs);
    EXPECT_EQ(form->TBdc->Index(), 2);
    EXPECT_EQ(form->StatusBar1->Panels().Count(), 2);
    EXPECT_EQ(form->StatusBar1->Panels()[0].Width(), 300);
    EXPECT_EQ(form->Grid1->ColCount(), 6);
    EXPECT_FALSE(form->Grid1->Options().Contains(goEditing));

    for (int c = 0; c < calc::kScheduleColumns; ++c)
        form->Grid1->SetCells(c, 0, calc::ScheduleHeaders()[size_t(c)]);
    TGridScheduleSink sink(*form->Grid1);
    NoTotals a, b, c;
    calc::ScheduleOutputs out{sink, a, b, c, [](const std::wstring&) {}};
    calc::ScheduleInputs in;
    in.loan = 300000;
    in.periods = 240;
    in.mode = calc::RateMode::Fixed;
    in.fixedRate = 5.94;
    in.firstYear = 2008;
    in.firstMonth = 1;
    ASSERT_TRUE(calc::CalcEqualInstalment(in, out));

    form->Show();
    SetForegroundWindow(form->Handle());
    form->Grid1->SetFocus();
    form->Grid1->SetSelection({1, 2, 3, 3});
    Pump();

    // Laid out as described: bar on top at the buttons' height, status bar at the bottom.
    EXPECT_EQ(form->ToolBar1->Top(), 0);
    EXPECT_EQ(form->ToolBar1->Height(), 52);
    EXPECT_EQ(form->StatusBar1->Top() + form->StatusBar1->Height(), form->ClientHeight());
    EXPECT_EQ(form->Grid1->Top(), 52);
    RECT r = form->ToolBar1->ButtonRect(form->TBjs);
    EXPECT_EQ(r.right - r.left, 39);
    EXPECT_EQ(r.bottom - r.top, 52);

    auto file = SaveWindowScreenshot(form->Handle(), L"controls-gallery-grid-toolbar-statusbar");
    EXPECT_TRUE(std::filesystem::exists(file));

    // A click on 导出 reaches the form's handler.
    RECT d = form->ToolBar1->ButtonRect(form->TBdc);
    POINT p = Centre(d);
    SendMessageW(form->ToolBar1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(p.x, p.y));
    SendMessageW(form->ToolBar1->Handle(), WM_LBUTTONUP, 0, PointParam(p.x, p.y));
    Pump();
    ASSERT_EQ(form->clicked.size(), 1u);
    EXPECT_EQ(form->clicked[0], form->TBdc);
}

TEST(GridGallery, ShowingAndFreeingTheWindowLeavesNoGdiObjects) {
    auto showOnce = [] {
        TOwned<TControlsGallery1> form(new TControlsGallery1(Application));
        form->Grid1->SetRowCount(361);
        for (int r = 1; r < 361; ++r)
            form->Grid1->SetCells(0, r, L"2008年01月");
        form->Show();
        form->Grid1->SetFocus();
        SendMessageW(form->Grid1->Handle(), WM_KEYDOWN, VK_NEXT, 1);
        form->StatusBar1->SetColor(RGBToColor(0xE7, 0xE7, 0xE7));
        RedrawWindow(form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
    };
    showOnce(); // the first run fills the system's own caches
    const int before = ProcessGdiObjectCount();
    for (int i = 0; i < 3; ++i)
        showOnce();
    EXPECT_EQ(ProcessGdiObjectCount(), before);
}

} // namespace
