// Controls: alignment and anchors through resizes, tab order, dialog keys
// and accelerators, replaced window procedures, painting into a given DC,
// mouse through windowless children, and errors from event handlers.

#include "FrameworkTestSupport.h"

#include "../support/Rects.h"

#include "framework/Controls.h"
#include "framework/Utils.h"

namespace {

TPanel* NewPanel(TWinControl* parent, TAlign align, int size, const wchar_t* name = L"") {
    auto* p = new TPanel(parent);
    p->SetName(name);
    p->SetParent(parent);
    p->SetAlign(align);
    if (align == alTop || align == alBottom) p->SetHeight(size);
    if (align == alLeft || align == alRight) p->SetWidth(size);
    return p;
}

TEST(Alignment, EdgesFirstThenClientThroughResizes) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    TPanel* top2 = NewPanel(form.get(), alTop, 20);
    top2->SetTop(100); // below the other top panel
    TPanel* top1 = NewPanel(form.get(), alTop, 50);
    top1->SetTop(0);
    TPanel* bottom = NewPanel(form.get(), alBottom, 30);
    TPanel* left = NewPanel(form.get(), alLeft, 80);
    TPanel* right = NewPanel(form.get(), alRight, 60);
    TPanel* client = NewPanel(form.get(), alClient, 0);
    form->HandleNeeded();

    EXPECT_EQ(RECT(0, 0, 400, 50), top1->BoundsRect());
    EXPECT_EQ(RECT(0, 50, 400, 70), top2->BoundsRect());
    EXPECT_EQ(RECT(0, 270, 400, 300), bottom->BoundsRect());
    EXPECT_EQ(RECT(0, 70, 80, 270), left->BoundsRect());
    EXPECT_EQ(RECT(340, 70, 400, 270), right->BoundsRect());
    EXPECT_EQ(RECT(80, 70, 340, 270), client->BoundsRect());

    form->SetClientWidth(500);
    form->SetClientHeight(400);
    EXPECT_EQ(form->ClientWidth(), 500);
    EXPECT_EQ(RECT(0, 370, 500, 400), bottom->BoundsRect());
    EXPECT_EQ(RECT(440, 70, 500, 370), right->BoundsRect());
    EXPECT_EQ(RECT(80, 70, 440, 370), client->BoundsRect());

    // A hidden control gives its room away; a taller one takes more.
    top2->Hide();
    top1->SetHeight(60);
    EXPECT_EQ(RECT(0, 60, 80, 370), left->BoundsRect());
    // Constraints hold inside the layout too.
    client->Constraints().SetMaxWidth(100);
    EXPECT_EQ(client->Width(), 100);
}

TEST(Alignment, InsideBevelsAndBorders) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    TPanel* outer = NewPanel(form.get(), alClient, 0);
    outer->SetBevelOuter(bvRaised);
    outer->SetBevelInner(bvLowered);
    outer->SetBorderWidth(3);
    TPanel* inner = NewPanel(outer, alClient, 0);
    // 1 + 3 + 1 pixels in from every side.
    EXPECT_EQ(RECT(5, 5, 295, 195), inner->BoundsRect());
}

TEST(Anchors, KeepDistancesWhenTheParentResizes) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    auto* box = Make<TPanel>(form.get(), 0, 0, 200, 100);
    auto make = [&](int l, int t, int w, int h, TAnchors a) {
        auto* p = Make<TPanel>(form.get(), box, l, t, w, h);
        p->SetAnchors(a);
        return p;
    };
    TPanel* corner = make(150, 60, 40, 30, {akRight, akBottom});
    TPanel* stretch = make(10, 10, 180, 20, {akLeft, akTop, akRight});
    TPanel* fixed = make(10, 40, 20, 20, {akLeft, akTop});
    TPanel* centred = make(80, 40, 40, 20, {akTop});

    box->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(RECT(250, 110, 290, 140), corner->BoundsRect());
    EXPECT_EQ(RECT(10, 10, 290, 30), stretch->BoundsRect());
    EXPECT_EQ(RECT(10, 40, 30, 60), fixed->BoundsRect());
    EXPECT_EQ(RECT(130, 40, 170, 60), centred->BoundsRect());

    // Back again: the same places as at first, nothing drifts.
    box->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(RECT(150, 60, 190, 90), corner->BoundsRect());
    EXPECT_EQ(RECT(10, 10, 190, 30), stretch->BoundsRect());

    // Moved by hand, the new place is what the anchors keep.
    corner->SetLeft(100);
    box->SetWidth(250);
    EXPECT_EQ(corner->Left(), 150);
}

// ---------------------------------------------------------------------------
// Focus, tab order, dialog keys, accelerators

class TFocusBox : public TCustomControl {
  public:
    explicit TFocusBox(TComponent* owner) : TCustomControl(owner) {
        SetTabStop(true);
        SetBounds(0, 0, 40, 20);
    }
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TFocusBox>(L"TFocusBox", &TCustomControl::StaticClass()).Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }

    bool DialogKey(WORD key, TShiftState shift) override {
        if (key == VK_RETURN && isDefault) {
            ++pressed;
            return true;
        }
        return TCustomControl::DialogKey(key, shift);
    }
    bool DialogChar(wchar_t ch, TShiftState) override {
        if (!IsAccel(ch, Caption()) || !Enabled()) return false;
        ++pressed;
        return true;
    }
    bool isDefault = false;
    int pressed = 0;
};

struct FocusForm {
    TOwned<TForm> form{new TForm(nullptr)};
    TFocusBox* Add(TWinControl* parent, const wchar_t* name) {
        auto* b = new TFocusBox(form.get());
        b->SetName(name);
        b->SetParent(parent);
        return b;
    }
};

std::wstring FocusedName() {
    TWinControl* c = TWinControl::FindControl(GetFocus());
    return c ? c->Name() : L"(none)";
}

void PostKey(UINT msg, WPARAM key) {
    PostMessageW(GetFocus(), msg, key, 0);
    Pump();
}

TEST(Focus, TabFollowsTabOrderAcrossContainers) {
    FocusForm f;
    TFocusBox* a = f.Add(f.form.get(), L"A");
    auto* group = Make<TPanel>(f.form.get(), f.form.get());
    TFocusBox* c1 = f.Add(group, L"C1");
    TFocusBox* c2 = f.Add(group, L"C2");
    TFocusBox* b = f.Add(f.form.get(), L"B");
    TFocusBox* off = f.Add(f.form.get(), L"Off");
    off->SetTabStop(false);
    TFocusBox* disabled = f.Add(f.form.get(), L"Disabled");
    disabled->SetEnabled(false);
    b->SetTabOrder(0); // B first, then A, then the panel's children
    c2->SetTabOrder(0);
    (void)a;
    (void)c1;

    ASSERT_TRUE(ShowActive(*f.form));
    EXPECT_EQ(FocusedName(), L"B"); // the first in tab order takes the focus
    std::vector<std::wstring> order;
    for (int i = 0; i < 5; ++i) {
        PostKey(WM_KEYDOWN, VK_TAB);
        order.push_back(FocusedName());
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"A", L"C2", L"C1", L"B", L"A"}));
    EXPECT_EQ(f.form->ActiveControl(), a);

    // Shift+Tab goes back; arrows move among siblings only.
    f.form->DialogKey(VK_TAB, TShiftState{ssShift});
    EXPECT_EQ(FocusedName(), L"B");
    c1->SetFocus();
    f.form->DialogKey(VK_DOWN, {});
    EXPECT_EQ(FocusedName(), L"C2"); // C1 and C2 share the panel; the arrow wraps within it
    f.form->DialogKey(VK_DOWN, {});
    EXPECT_EQ(FocusedName(), L"C1");
    EXPECT_TRUE(c1->Focused());
}

TEST(Focus, EnterEscapeAndAcceleratorsReachTheForm) {
    FocusForm f;
    TFocusBox* save = f.Add(f.form.get(), L"Save");
    save->SetCaption(L"&Save");
    TFocusBox* quit = f.Add(f.form.get(), L"Quit");
    quit->SetCaption(L"Save && &Quit");
    quit->isDefault = true;
    ASSERT_TRUE(ShowActive(*f.form));
    save->SetFocus();

    PostKey(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(quit->pressed, 1); // the default control answers Enter wherever the focus is

    PostKey(WM_SYSCHAR, L'q'); // Alt+Q
    EXPECT_EQ(quit->pressed, 2);
    PostKey(WM_CHAR, L's'); // a plain letter where the focus takes no typing
    EXPECT_EQ(save->pressed, 1);
    PostKey(WM_SYSCHAR, L'&'); // "&&" is no accelerator
    PostKey(WM_SYSCHAR, L'a');
    EXPECT_EQ(save->pressed + quit->pressed, 3);
    save->SetEnabled(false);
    PostKey(WM_SYSCHAR, L's');
    EXPECT_EQ(save->pressed, 1);

    EXPECT_TRUE(IsAccel(L'S', L"&save"));
    EXPECT_FALSE(IsAccel(L'a', L"a&&b"));
    EXPECT_EQ(StripAccel(L"Save && &Quit"), L"Save & Quit");
}

TEST(Focus, KeyPreviewLetsTheFormSeeAndDiscardKeysFirst) {
    FocusForm f;
    TFocusBox* box = f.Add(f.form.get(), L"Box");
    std::vector<std::wstring> seen;
    f.form->SetKeyPreview(true);
    f.form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        seen.push_back(L"form");
        if (key == VK_F2) key = 0;
    };
    f.form->OnKeyPress = [&](TObject*, wchar_t& ch) {
        if (ch == L'x') ch = 0;
    };
    box->OnKeyDown = [&](TObject*, WORD&, TShiftState) { seen.push_back(L"box"); };
    std::wstring typed;
    box->OnKeyPress = [&](TObject*, wchar_t& ch) { typed += ch; };
    ASSERT_TRUE(ShowActive(*f.form));
    box->SetFocus();
    PostKey(WM_KEYDOWN, VK_F1);
    PostKey(WM_KEYDOWN, VK_F2);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"form", L"box", L"form"}));
    PostKey(WM_CHAR, L'x');
    PostKey(WM_CHAR, L'y');
    EXPECT_EQ(typed, L"y");
}

// ---------------------------------------------------------------------------
// Window procedures

TEST(WindowProc, ReplacedAndChainedThenRestored) {
    TOwned<TForm> form(new TForm(nullptr));
    TPanel* child = NewPanel(form.get(), alClient, 0);
    HWND wnd = form->Handle();
    std::vector<UINT> seen;
    TWndMethod previous = form->WindowProc();
    form->SetWindowProc([&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER + 1) {
            m.Result = 42; // ours alone
            return;
        }
        previous(m); // everything else as before
        if (m.Msg == WM_NCHITTEST && m.Result == HTCLIENT) m.Result = HTCAPTION;
    });
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 42);
    SetWindowTextW(wnd, L"链");
    EXPECT_EQ(form->Caption(), L"链");
    form->SetClientWidth(333); // the chained procedure still lays out
    EXPECT_EQ(child->Width(), 333);
    form->Perform(CM_TEXTCHANGED);
    EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(CM_TEXTCHANGED)), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_SIZE)), seen.end());

    form->SetWindowProc(previous);
    EXPECT_EQ(SendMessageW(wnd, WM_USER + 1, 0, 0), 0);
}

// ---------------------------------------------------------------------------
// Painting

class TSwatch : public TGraphicControl {
  public:
    using TGraphicControl::TGraphicControl;
    int clicks = 0, enters = 0, leaves = 0;
    POINT lastDown{-1, -1};

  protected:
    void Paint() override {
        Canvas().Brush().SetColor(clBlue);
        Canvas().FillRect({0, 0, Width() + 50, Height() + 50}); // clipped to our bounds
    }
    void Click() override { ++clicks; }
    void MouseDown(TMouseButton, TShiftState, int x, int y) override { lastDown = {x, y}; }
    void MouseEnter() override { ++enters; }
    void MouseLeave() override { ++leaves; }
};

TEST(Painting, IntoAGivenDeviceContext) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* panel = Make<TPanel>(form.get(), 0, 0, 60, 40);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clRed);
    Make<TSwatch>(form.get(), panel, 30, 10, 20, 20);
    panel->HandleNeeded();

    TBitmap bmp(80, 60);
    bmp.Fill(clWhite);
    HDC dc = bmp.Canvas().Handle();
    SendMessageW(panel->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    bmp.Canvas().Deselect();
    EXPECT_EQ(bmp.Pixel(5, 5), clRed);
    EXPECT_EQ(bmp.Pixel(35, 15), clBlue);
    EXPECT_EQ(bmp.Pixel(55, 35), clRed); // the swatch stayed inside its bounds
    EXPECT_EQ(bmp.Pixel(70, 50), clWhite);

    // The DC's origin is respected, as a transparent child painting its parent needs.
    bmp.Fill(clWhite);
    {
        SavedDCState state(dc);
        SetViewportOrgEx(dc, -30, -10, nullptr);
        SendMessageW(panel->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    }
    bmp.Canvas().Deselect();
    EXPECT_EQ(bmp.Pixel(5, 5), clBlue);
    EXPECT_EQ(bmp.Pixel(25, 5), clRed);
}

TEST(Mouse, WindowlessChildrenGetItThroughTheirParent) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* swatch = Make<TSwatch>(form.get(), 50, 40, 30, 30);
    int formClicks = 0;
    form->OnClick = [&](TObject*) { ++formClicks; };
    HWND wnd = form->Handle();
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(60, 50));
    EXPECT_EQ(swatch->enters, 1);
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 50));
    EXPECT_EQ(swatch->lastDown.x, 10);
    EXPECT_EQ(swatch->lastDown.y, 10);
    EXPECT_TRUE(swatch->MouseCapture());
    // Released outside: captured, so it still goes to the swatch, but is no click.
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(swatch->clicks, 0);
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 50));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(61, 51));
    EXPECT_EQ(swatch->clicks, 1);
    EXPECT_EQ(formClicks, 0);
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(swatch->leaves, 1);
    ClickAt(wnd, 5, 5);
    EXPECT_EQ(formClicks, 1);
}

TEST(Mouse, DoubleClicksWheelAndControlsThatTakeDoubleClicksAsTwo) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* box = Make<TFocusBox>(form.get(), form.get());
    std::vector<std::wstring> seen;
    box->OnClick = [&](TObject*) { seen.push_back(L"click"); };
    box->OnDblClick = [&](TObject*) { seen.push_back(L"dbl"); };
    box->OnMouseWheel = [&](TObject*, TShiftState, int delta, POINT, bool& handled) {
        seen.push_back(L"wheel " + std::to_wstring(delta));
        handled = true;
    };
    HWND wnd = box->Handle();
    auto press = [&](UINT down) {
        SendMessageW(wnd, down, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    };
    press(WM_LBUTTONDOWN);
    press(WM_LBUTTONDBLCLK);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"click", L"dbl", L"click"}));
    EXPECT_EQ(SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0), 1);

    // Without csDoubleClicks the second press is just another click.
    seen.clear();
    TControlStyle style = box->ControlStyle();
    box->SetControlStyle(style.Exclude(csDoubleClicks));
    press(WM_LBUTTONDOWN);
    press(WM_LBUTTONDBLCLK);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"click", L"click"}));
    EXPECT_EQ(seen.size(), 2u);
}

TEST(Inheritance, ColourAndFontFollowTheParentUntilSetOwn) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* parent = Make<TPanel>(form.get(), form.get());
    auto* child = new TPanel(form.get());
    child->SetParentColor(true);
    child->SetParent(parent);
    parent->SetColor(clYellow);
    parent->Font().SetStyle({fsBold});
    EXPECT_EQ(child->Color(), clYellow);
    EXPECT_TRUE(child->ParentFont());
    EXPECT_TRUE(child->Font().Style().Contains(fsBold));
    child->SetColor(clLime);
    child->Font().SetHeight(-20);
    parent->SetColor(clAqua);
    parent->Font().SetStyle({});
    EXPECT_EQ(child->Color(), clLime);
    EXPECT_FALSE(child->ParentFont());
    EXPECT_TRUE(child->Font().Style().Contains(fsBold));
}

class TTextWatcher : public TCustomControl {
  public:
    using TCustomControl::TCustomControl;
    int changes = 0;

  protected:
    void TextChanged() override {
        ++changes;
        TCustomControl::TextChanged();
    }
};

TEST(Text, ChangeNotifiedOnceAndKeptAcrossWindowRecreation) {
    TOwned<TForm> form(new TForm(nullptr));
    auto* w = Make<TTextWatcher>(form.get(), form.get());
    w->SetText(L"一");
    w->SetText(L"一");
    EXPECT_EQ(w->changes, 1);
    form->HandleNeeded();
    w->SetCaption(L"二");
    EXPECT_EQ(w->changes, 2);
    form->DestroyHandle();
    EXPECT_FALSE(w->HandleAllocated());
    EXPECT_EQ(w->Text(), L"二");
    form->HandleNeeded();
    EXPECT_TRUE(w->HandleAllocated());
    EXPECT_EQ(WindowText(w->Handle()), L"二");
}

// ---------------------------------------------------------------------------
// Errors

TEST(Errors, AnExceptionInAHandlerReachesTheErrorReportAndTheProgramGoesOn) {
    MessageBoxRecorder rec;
    TOwned<TForm> form(new TForm(nullptr));
    auto* box = Make<TFocusBox>(form.get(), form.get());
    box->OnClick = [](TObject*) { StrToFloat(L"abc", L'.'); };
    HWND wnd = box->Handle();
    ClickAt(wnd, 2, 2);
    ASSERT_EQ(rec.seen.size(), 1u);
    EXPECT_EQ(rec.seen[0].text, L"'abc' is not a valid floating point value");
    EXPECT_EQ(rec.seen[0].caption, Application->Title());
    EXPECT_EQ(rec.seen[0].flags & MB_ICONMASK, UINT(MB_ICONERROR));

    // The window still works, and a standard exception reads the same way.
    box->OnClick = [](TObject*) { throw std::runtime_error("plain error"); };
    ClickAt(wnd, 2, 2);
    ASSERT_EQ(rec.seen.size(), 2u);
    EXPECT_EQ(rec.seen[1].text, L"plain error");

    // OnException takes the report over.
    std::wstring reported;
    Application->OnException = [&](TObject* sender, const std::exception& e) {
        reported = ExceptionMessage(e) + L" from " + static_cast<TComponent*>(sender)->ClassName();
    };
    PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Pump();
    Application->OnException = nullptr;
    EXPECT_EQ(reported, L"plain error from TFocusBox");
    EXPECT_EQ(rec.seen.size(), 2u);
}

} // namespace
