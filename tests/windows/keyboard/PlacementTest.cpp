// Where the windows open: centred as stored, but with the title bar inside
// the work area, here that of a 1366 × 768 panel at 125 % (1093 × 614).

#include "MainWindowTestSupport.h"

#include "app/Uabout.h"
#include "../support/Rects.h"

using namespace main_window_test;

namespace {

// The work area every window sees while it lives.
class FakeWorkArea {
  public:
    explicit FakeWorkArea(RECT area) : previous_(TForm::MonitorWorkArea) {
        area_ = area;
        TForm::MonitorWorkArea = [](const RECT&) { return area_; };
    }
    FakeWorkArea(const FakeWorkArea&) = delete;
    FakeWorkArea& operator=(const FakeWorkArea&) = delete;
    ~FakeWorkArea() { TForm::MonitorWorkArea = previous_; }

  private:
    static inline RECT area_{};
    RECT (*previous_)(const RECT&);
};

RECT WindowRect(TForm* form) {
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    return r;
}

} // namespace

TEST(Placement, OnTheFullScreenTheMainWindowIsCentred) {
    MainWindow w;
    EXPECT_EQ((RECT{183, 153, 183 + 913, 153 + 718}), WindowRect(w.get()));
}

// Each window keeps its stored size; its top-left corner lies in the work
// area, at its top-left where the window is taller or wider.
TEST(Placement, OnASmallWorkAreaEveryWindowOpensWithItsTitleBarInside) {
    struct Case {
        RECT work;
        RECT main, about; // expected window rectangles
    };
    const Case cases[] = {
        {{0, 0, 1093, 614}, {180, 0, 180 + 913, 718}, {407, 131, 407 + 466, 614}},
        {{100, 40, 900, 1024}, {100, 153, 100 + 913, 153 + 718}, {407, 270, 407 + 466, 753}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.work.left);
        FakeWorkArea work(c.work);
        MainWindow w;
        EXPECT_EQ(c.main, WindowRect(w.get()));
        RECT about{}, message{};
        TScopedModalHook hook([&](TModalRequest& r) {
            (r.form->ClassName() == L"TfrmAbout" ? about : message) = WindowRect(r.form);
            r.form->SetModalResult(mrOk);
        });
        ClickTool(w->ToolButton1);
        EXPECT_EQ(c.about, about);
        w->suiMessageDialog1->SetText(L"OK");
        w->suiMessageDialog1->Execute();
        EXPECT_GE(message.left, c.work.left);
        EXPECT_GE(message.top, c.work.top);
        EXPECT_LE(message.right, c.work.right);
        EXPECT_LE(message.bottom, c.work.bottom);
    }
}
