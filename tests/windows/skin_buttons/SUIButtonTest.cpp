// Push buttons: the style's frames per state, captions and focus, glyph
// layouts, mouse and keyboard input, the repeat timer, modal results, the
// image button, and what the form descriptions can set.

#include "ButtonTestSupport.h"

#include "framework/FormReader.h"

using namespace button_test;

namespace {

// The button face as it should look: the form's colour under frame `index`
// of the style's strip, stretched by the nine-part drawing.
std::unique_ptr<TBitmap> ExpectedFace(TsuiUIStyle style, int index, int w, int h,
                                      bool transparent) {
    TBitmap frame;
    GetBuiltInThemeBitmap(style, ThemeElement::ButtonImage, &frame, index, 3);
    frame.SetTransparent(transparent);
    auto out = std::make_unique<TBitmap>(w, h);
    out->Fill(kFormColor);
    DrawNinePart(frame, out->Canvas(), RECT{0, 0, w, h}, transparent);
    return out;
}

bool SameImage(const TBitmap& a, const TBitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           CountDifferent(a, b, RECT{0, 0, a.Width(), a.Height()}) == 0;
}

bool IsDark(TColor c) {
    return Brightness(c) < 3 * 0x60;
}

} // namespace

TEST(TsuiButton, BlueGlassShowsOneFrameOfTheStripPerState) {
    auto form = ShownForm();
    auto* b = Put<TsuiButton>(*form, 10, 10);
    b->SetUIStyle(TsuiUIStyle::BlueGlass);
    b->SetBounds(10, 10, 90, 27);
    EXPECT_TRUE(b->Transparent()); // the style says so

    auto face = [](int frame) { return ExpectedFace(TsuiUIStyle::BlueGlass, frame, 90, 27, true); };

    EXPECT_TRUE(SameImage(*face(1), *Painted(*b)));
    b->Perform(CM_MOUSEENTER);
    ASSERT_TRUE(b->Hot());
    EXPECT_TRUE(SameImage(*face(2), *Painted(*b)));
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    ASSERT_TRUE(b->Pressed());
    EXPECT_TRUE(SameImage(*face(3), *Painted(*b)));
    ReleaseCapture();
    b->SetEnabled(false);
    EXPECT_TRUE(SameImage(*face(1), *Painted(*b)));

    // The three frames really differ, or the test above proves nothing.
    for (int frame : {2, 3})
        EXPECT_GT(CountDifferent(*face(1), *face(frame), RECT{0, 0, 90, 27}), 20) << frame;
}

TEST(TsuiButton, DisabledCaptionIsGreyOverAWhiteShadow) {
    auto form = ShownForm();
    auto* b = Put<TsuiButton>(*form, 10, 10);
    b->SetUIStyle(TsuiUIStyle::BlueGlass);
    b->SetCaption(L"提交");
    b->Font().SetColor(clBlack);
    const auto enabled = Painted(*b);
    b->SetEnabled(false);
    const auto disabled = Painted(*b);

    b->SetCaption(L" ");
    const auto blank = Painted(*b);

    // Ink is where the caption changed the face; text is smoothed, so judge
    // by brightness: dark when enabled, only grey and white when disabled.
    const RECT inner{4, 4, b->Width() - 4, b->Height() - 4};
    EXPECT_GT(CountPixels(*enabled, IsDark, inner), 10);
    EXPECT_EQ(0, CountPixels(*disabled, IsDark, inner));
    int grey = 0, white = 0;
    for (int y = inner.top; y < inner.bottom; ++y)
        for (int x = inner.left; x < inner.right; ++x) {
            const TColor c = disabled->Pixel(x, y);
            if (c == blank->Pixel(x, y)) continue;
            if (Brightness(c) < Brightness(blank->Pixel(x, y)) - 30) ++grey;
            if (Brightness(c) > Brightness(blank->Pixel(x, y)) + 30) ++white;
        }
    EXPECT_GT(grey, 5);
    EXPECT_GT(white, 5); // the shadow is lighter than the face under it
}

TEST(TsuiButton, FocusBoldensTheBlueGlassCaptionAndFramesTheWinXPOne) {
    auto form = ShownForm();
    auto* glass = Put<TsuiButton>(*form, 10, 10);
    glass->SetUIStyle(TsuiUIStyle::BlueGlass);
    glass->SetCaption(L"WWW");
    glass->Font().SetColor(clBlack);
    auto* xp = Put<TsuiButton>(*form, 10, 60);
    xp->SetUIStyle(TsuiUIStyle::WinXP);
    xp->SetCaption(L"WWW");

    const auto glassPlain = Painted(*glass);
    const auto xpPlain = Painted(*xp);
    glass->SetFocus();
    ASSERT_TRUE(glass->Focused());
    const auto glassFocused = Painted(*glass);
    EXPECT_GT(CountPixels(*glassFocused, IsDark), CountPixels(*glassPlain, IsDark) + 5);
    // No focus rectangle: the edge two pixels in is untouched.
    const int w = glass->Width(), h = glass->Height();
    EXPECT_EQ(0, CountDifferent(*glassPlain, *glassFocused, RECT{2, 2, w - 2, 3}));
    EXPECT_EQ(0, CountDifferent(*glassPlain, *glassFocused, RECT{2, 2, 3, h - 2}));
    // The bold face was for that one paint while focused.
    xp->SetFocus();
    EXPECT_TRUE(SameImage(*glassPlain, *Painted(*glass)));

    const auto xpFocused = Painted(*xp);
    // A dotted rectangle from (2, 2) to (w - 3, h - 3): every other pixel changed.
    const int top = CountDifferent(*xpPlain, *xpFocused, RECT{2, 2, w - 2, 3});
    const int left = CountDifferent(*xpPlain, *xpFocused, RECT{2, 2, 3, h - 2});
    EXPECT_NEAR((w - 4) / 2, top, 2);
    EXPECT_NEAR((h - 4) / 2, left, 2);
    EXPECT_EQ(0, CountDifferent(*xpPlain, *xpFocused, RECT{0, 0, w, 2}));
    EXPECT_EQ(0, CountDifferent(*xpPlain, *xpFocused, RECT{3, 3, 6, h - 3}));
}

TEST(TsuiButton, MouseClickPressingAndSlidingOff) {
    auto form = ShownForm();
    auto* b = Put<TsuiButton>(*form, 10, 10);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };

    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_TRUE(b->Pressed());
    EXPECT_TRUE(b->Repeating());
    b->Perform(WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ(1, clicks);
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->Repeating());
    EXPECT_TRUE(b->Focused()); // a click takes the focus

    // Pressed, then off the edge: released without a click.
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(b->Width() + 1, 5));
    EXPECT_FALSE(b->Pressed());
    EXPECT_FALSE(b->Hot());
    b->Perform(WM_LBUTTONUP, 0, At(b->Width() + 1, 5));
    EXPECT_EQ(1, clicks);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(-1, 3));
    EXPECT_FALSE(b->Pressed());
    b->Perform(WM_LBUTTONUP, 0, At(-1, 3));

    // Leaving frees the repeat timer and tells OnMouseExit.
    int exits = 0;
    b->OnMouseExit = [&](TObject*) { ++exits; };
    b->Perform(CM_MOUSEENTER);
    EXPECT_TRUE(b->Hot());
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(1, exits);
    EXPECT_FALSE(b->Repeating());
    EXPECT_FALSE(b->Pressed());
    ReleaseCapture();
}

TEST(TsuiButton, AHeldButtonRepeatsUntilReleased) {
    auto form = ShownForm();
    auto* b = Put<TsuiButton>(*form, 10, 10);
    b->SetMouseContinuouslyDownInterval(20);
    int ticks = 0, clicks = 0;
    b->OnMouseContinuouslyDown = [&](TObject*) { ++ticks; };
    b->OnClick = [&](TObject*) { ++clicks; };

    // The pointer rests on the button, so moves the system makes up stay inside.
    const POINT centre = b->ClientToScreen(POINT{b->Width() / 2, b->Height() / 2});
    SetCursorPos(centre.x, centre.y);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    PumpFor(250);
    EXPECT_GE(ticks, 3);
    b->Perform(WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ(1, clicks);
    const int held = ticks;
    PumpFor(120);
    EXPECT_EQ(held, ticks);

    // At the usual 100 ms a quick click never repeats.
    b->SetMouseContinuouslyDownInterval(100);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    b->Perform(WM_LBUTTONUP, 0, At(5, 5));
    PumpFor(150);
    EXPECT_EQ(held, ticks);
    EXPECT_EQ(2, clicks);

    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

TEST(TsuiButton, ClickSetsTheModalResultOfItsForm) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetBounds(20, 20, 300, 200);
    auto* zero = Put<TsuiButton>(*form, 10, 10);
    auto* ok = Put<TsuiButton>(*form, 10, 50);
    ok->SetModalResult(mrOk);
    int zeroClicks = 0, okClicks = 0;
    zero->OnClick = [&](TObject*) { ++zeroClicks; };
    ok->OnClick = [&](TObject*) { ++okClicks; };

    TModalResult afterZero = -1;
    bool stillModal = false;
    TScopedModalHook hook([&](TModalRequest& r) {
        ASSERT_EQ(form.get(), r.form);
        zero->Click();
        afterZero = form->ModalResult();
        stillModal = form->Modal();
        ok->Click();
    });
    EXPECT_EQ(mrOk, form->ShowModal());
    EXPECT_EQ(mrNone, afterZero);
    EXPECT_TRUE(stillModal);
    EXPECT_EQ(1, zeroClicks);
    EXPECT_EQ(1, okClicks);
}

TEST(TsuiButton, KeyboardSpaceEnterDefaultCancelAndAccelerators) {
    auto form = ShownForm();
    auto* b = Put<TsuiButton>(*form, 10, 10);
    b->SetCaption(L"&Save");
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };

    // Keys do nothing to a button without the focus.
    b->Perform(WM_KEYDOWN, VK_SPACE);
    EXPECT_FALSE(b->Pressed());
    b->SetFocus();
    b->Perform(WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(b->Pressed());
    EXPECT_EQ(0, clicks);
    b->Perform(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(1, clicks);
    EXPECT_FALSE(b->Pressed());
    b->Perform(WM_KEYDOWN, VK_RETURN);
    b->Perform(WM_KEYUP, VK_RETURN);
    EXPECT_EQ(2, clicks);
    b->Perform(WM_KEYUP, VK_SPACE); // no press before it
    EXPECT_EQ(2, clicks);

    // Enter and Escape through the form reach Default and Cancel buttons.
    EXPECT_FALSE(form->Perform(CM_DIALOGKEY, VK_RETURN, 0));
    b->SetDefault(true);
    EXPECT_TRUE(form->Perform(CM_DIALOGKEY, VK_RETURN, 0));
    EXPECT_EQ(3, clicks);
    EXPECT_FALSE(form->Perform(CM_DIALOGKEY, VK_RETURN, LPARAM(TShiftState{ssCtrl}.Bits())));
    EXPECT_FALSE(form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0));
    b->SetCancel(true);
    EXPECT_TRUE(form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0));
    EXPECT_EQ(4, clicks);

    // The '&' letter, either case, while enabled.
    EXPECT_TRUE(form->Perform(CM_DIALOGCHAR, L's', 0));
    EXPECT_TRUE(form->Perform(CM_DIALOGCHAR, L'S', LPARAM(TShiftState{ssAlt}.Bits())));
    EXPECT_FALSE(form->Perform(CM_DIALOGCHAR, L'a', 0));
    EXPECT_EQ(6, clicks);
    b->SetEnabled(false);
    EXPECT_FALSE(form->Perform(CM_DIALOGCHAR, L's', 0));
    EXPECT_FALSE(form->Perform(CM_DIALOGKEY, VK_RETURN, 0));
    EXPECT_EQ(6, clicks);
}

TEST(TsuiButton, GlyphLayoutsPlaceGlyphAndText) {
    auto form = ShownForm();
    auto* b = Put<TsuiButton>(*form, 10, 10);
    b->SetUIStyle(TsuiUIStyle::WinXP);
    b->SetBounds(10, 10, 120, 60);
    b->SetCaption(L"Go");
    // Two frames of 16 x 16: red when enabled, blue when disabled, key in the corner.
    TBitmap glyph(32, 16);
    glyph.Fill(clRed);
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 32; ++x)
            glyph.SetPixel(x, y, clBlue);
    glyph.SetPixel(0, 0, clLime);
    glyph.SetPixel(16, 0, clLime);
    b->SetGlyph(glyph);

    TMemoryCanvas measure;
    measure.Font().Assign(b->Font());
    const SIZE t = measure.TextExtent(L"Go");
    const int W = 120, H = 60, gw = 16, gh = 16, sp = 4;
    struct Case {
        TButtonLayout layout;
        POINT glyph, text;
    };
    const int leftX = (W - gw - t.cx - sp) / 2, rightX = (W + t.cx + sp - gw) / 2;
    const int topY = (H - t.cy - gh - sp) / 2, bottomY = (H + t.cy + sp - gh) / 2;
    const Case cases[] = {
        {blGlyphLeft, {leftX, (H - gh) / 2}, {leftX + gw + sp, (H - t.cy) / 2}},
        {blGlyphRight, {rightX, (H - gh) / 2}, {rightX - t.cx - sp, (H - t.cy) / 2}},
        {blGlyphTop, {(W - gw) / 2, topY}, {(W - t.cx) / 2, topY + gh + sp}},
        {blGlyphBottom, {(W - gw) / 2, bottomY}, {(W - t.cx) / 2, bottomY - t.cy - sp}},
    };
    for (const Case& c : cases) {
        b->SetLayout(c.layout);
        const auto img = Painted(*b);
        EXPECT_EQ(c.glyph.x, b->GlyphPosition().x) << c.layout;
        EXPECT_EQ(c.glyph.y, b->GlyphPosition().y) << c.layout;
        EXPECT_EQ(c.text.x, b->TextPosition().x) << c.layout;
        EXPECT_EQ(c.text.y, b->TextPosition().y) << c.layout;
        EXPECT_EQ(clRed, img->Pixel(c.glyph.x + 5, c.glyph.y + 5)) << c.layout;
        EXPECT_NE(clLime, img->Pixel(c.glyph.x, c.glyph.y)) << "the corner colour is the key";
    }

    b->SetLayout(blGlyphLeft);
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    Painted(*b);
    EXPECT_EQ(leftX + 1, b->GlyphPosition().x);
    EXPECT_EQ((H - gh) / 2 + 1, b->GlyphPosition().y);
    EXPECT_EQ(leftX + gw + sp, b->TextPosition().x); // the caption moves while drawn
    b->Perform(WM_LBUTTONUP, 0, At(500, 500));
    ReleaseCapture();
    b->Perform(CM_MOUSELEAVE);

    b->SetEnabled(false);
    auto img = Painted(*b);
    EXPECT_EQ(clBlue, img->Pixel(leftX + 5, (H - gh) / 2 + 5));

    // One frame: greyed when disabled, so neither red nor blue.
    TBitmap single(16, 16);
    single.Fill(clRed);
    single.SetPixel(0, 0, clLime);
    b->SetGlyph(single);
    img = Painted(*b);
    EXPECT_NE(clRed, img->Pixel(leftX + 5, (H - gh) / 2 + 5));
    b->SetEnabled(true);
    EXPECT_EQ(clRed, Painted(*b)->Pixel(leftX + 5, (H - gh) / 2 + 5));
}

TEST(TsuiButton, AutoSizeTakesOneFrameOfTheBuiltInStrip) {
    TsuiButton b(nullptr);
    b.SetUIStyle(TsuiUIStyle::BlueGlass);
    b.SetAutoSize(true);
    EXPECT_EQ(77, b.Width());
    EXPECT_EQ(27, b.Height());
    b.SetAutoSize(false);
    b.SetUIStyle(TsuiUIStyle::WinXP);
    b.SetAutoSize(true);
    EXPECT_EQ(18, b.Width());
    EXPECT_EQ(21, b.Height());
    // No strip for FromThemeFile: 74 wide and 21 high stand in.
    b.SetUIStyle(TsuiUIStyle::FromThemeFile);
    b.SetAutoSize(true);
    EXPECT_EQ(74 / 3, b.Width());
    EXPECT_EQ(21, b.Height());
}

TEST(TsuiButton, StyleFromTheOwnerFormAndFallbackWhenTheThemeGoes) {
    TsuiButton lone(nullptr);
    EXPECT_EQ(TsuiUIStyle::DeepBlue, lone.UIStyle());
    EXPECT_FALSE(lone.Transparent());
    EXPECT_EQ(80, lone.Width());
    EXPECT_EQ(27, lone.Height());
    EXPECT_TRUE(lone.TabStop());

    TOwned<TForm> form(new TForm(nullptr));
    auto* theme = new TsuiFileTheme(form.get());
    auto* b = Put<TsuiButton>(*form, 0, 0);
    auto* box = Put<TsuiCheckBox>(*form, 0, 40);
    b->SetUIStyle(TsuiUIStyle::MacOS);
    b->SetFileTheme(theme);
    box->SetUIStyle(TsuiUIStyle::MacOS);
    box->SetFileTheme(theme);
    theme->Free();
    EXPECT_EQ(nullptr, b->FileTheme());
    EXPECT_EQ(TsuiUIStyle::DeepBlue, b->UIStyle());
    EXPECT_EQ(nullptr, box->FileTheme());
    EXPECT_EQ(TsuiUIStyle::DeepBlue, box->UIStyle());
}

TEST(TsuiImageButton, StatePicturesFallBackToTheNormalOne) {
    auto form = ShownForm();
    auto* b = Put<TsuiImageButton>(*form, 10, 10, 40, 20);
    EXPECT_EQ(TsuiUIStyle::FromThemeFile, b->UIStyle());
    b->SetUIStyle(TsuiUIStyle::WinXP);
    EXPECT_EQ(TsuiUIStyle::FromThemeFile, b->UIStyle());

    auto solid = [](TColor c) {
        auto bmp = std::make_unique<TBitmap>(20, 10);
        bmp->Fill(c);
        bmp->SetPixel(0, 0, clFuchsia); // the key comes from this corner
        return bmp;
    };
    b->PicNormal().SetGraphic(solid(clRed));
    auto img = Painted(*b);
    EXPECT_EQ(clRed, img->Pixel(5, 5));
    EXPECT_EQ(kFormColor, img->Pixel(0, 0));
    EXPECT_EQ(kFormColor, img->Pixel(30, 15));

    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(clRed, Painted(*b)->Pixel(5, 5));
    b->PicMouseOn().SetGraphic(solid(clGreen));
    EXPECT_EQ(clGreen, Painted(*b)->Pixel(5, 5));
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_EQ(clRed, Painted(*b)->Pixel(5, 5));
    b->PicMouseDown().SetGraphic(solid(clBlue));
    EXPECT_EQ(clBlue, Painted(*b)->Pixel(5, 5));
    b->Perform(CM_MOUSELEAVE);
    ReleaseCapture();
    b->SetEnabled(false);
    EXPECT_EQ(clRed, Painted(*b)->Pixel(5, 5));
    b->PicDisabled().SetGraphic(solid(clGray));
    EXPECT_EQ(clGray, Painted(*b)->Pixel(5, 5));

    b->SetStretch(true);
    EXPECT_EQ(clGray, Painted(*b)->Pixel(38, 18));
}

TEST(TsuiImageButton, FocusRectangleOnlyWhenAsked) {
    auto form = ShownForm();
    auto* b = Put<TsuiImageButton>(*form, 10, 10, 40, 20);
    auto pic = std::make_unique<TBitmap>(40, 20);
    pic->Fill(clWhite);
    pic->SetPixel(0, 0, clFuchsia);
    b->PicNormal().SetGraphic(std::move(pic));
    const auto plain = Painted(*b);
    b->SetFocus();
    EXPECT_EQ(0, CountDifferent(*plain, *Painted(*b), RECT{0, 0, 40, 20}));
    b->SetDrawFocused(true);
    EXPECT_GT(CountDifferent(*plain, *Painted(*b), RECT{0, 0, 40, 20}), 20);
}

TEST(SkinButtons, DescriptionsCreateEveryClassWithItsProperties) {
    TOwned<TForm> form(new TForm(nullptr));
    ReadComponentText(*form,
                      L"object F: TForm\n"
                      L"  object B: TsuiButton\n"
                      L"    Caption = '设定'\n"
                      L"    ModalResult = 1\n"
                      L"    UIStyle = WinXP\n"
                      L"    Layout = blGlyphTop\n"
                      L"    Spacing = 7\n"
                      L"    Default = True\n"
                      L"    MouseContinuouslyDownInterval = 50\n"
                      L"  end\n"
                      L"  object I: TsuiImageButton\n"
                      L"    Stretch = True\n"
                      L"  end\n"
                      L"  object C: TsuiCheckBox\n"
                      L"    Caption = 'c'\n"
                      L"    Checked = True\n"
                      L"  end\n"
                      L"  object R: TsuiRadioButton\n"
                      L"    GroupIndex = 2\n"
                      L"    State = cbChecked\n"
                      L"  end\n"
                      L"  object G: TsuiGroupBox\n"
                      L"    Caption = '输入'\n"
                      L"    UIStyle = BlueGlass\n"
                      L"    BorderColor = clRed\n"
                      L"  end\n"
                      L"  object RG: TsuiRadioGroup\n"
                      L"    Columns = 2\n"
                      L"    ItemIndex = 1\n"
                      L"    Items = ( 'a' 'b' )\n"
                      L"  end\n"
                      L"  object CG: TsuiCheckGroup\n"
                      L"    Items = ( 'x' )\n"
                      L"    TopMargin = 3\n"
                      L"  end\n"
                      L"end\n",
                      L"test");
    auto* b = dynamic_cast<TsuiButton*>(form->FindComponent(L"B"));
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(L"设定", b->Caption());
    EXPECT_EQ(mrOk, b->ModalResult());
    EXPECT_EQ(TsuiUIStyle::WinXP, b->UIStyle());
    EXPECT_EQ(blGlyphTop, b->Layout());
    EXPECT_EQ(7, b->Spacing());
    EXPECT_TRUE(b->Default());
    EXPECT_EQ(50, b->MouseContinuouslyDownInterval());
    auto* i = dynamic_cast<TsuiImageButton*>(form->FindComponent(L"I"));
    ASSERT_NE(nullptr, i);
    EXPECT_TRUE(i->Stretch());
    auto* c = dynamic_cast<TsuiCheckBox*>(form->FindComponent(L"C"));
    ASSERT_NE(nullptr, c);
    EXPECT_TRUE(c->Checked());
    auto* r = dynamic_cast<TsuiRadioButton*>(form->FindComponent(L"R"));
    ASSERT_NE(nullptr, r);
    EXPECT_EQ(2, r->GroupIndex());
    EXPECT_EQ(cbChecked, r->State());
    auto* g = dynamic_cast<TsuiGroupBox*>(form->FindComponent(L"G"));
    ASSERT_NE(nullptr, g);
    EXPECT_EQ(L"输入", g->Caption());
    EXPECT_EQ(clRed, g->BorderColor()); // stored after the style, so it wins
    auto* rg = dynamic_cast<TsuiRadioGroup*>(form->FindComponent(L"RG"));
    ASSERT_NE(nullptr, rg);
    EXPECT_EQ(2, rg->Columns());
    EXPECT_EQ(2, rg->ItemCount());
    EXPECT_EQ(1, rg->ItemIndex()); // stored before its items
    auto* cg = dynamic_cast<TsuiCheckGroup*>(form->FindComponent(L"CG"));
    ASSERT_NE(nullptr, cg);
    EXPECT_EQ(1, cg->ItemCount());
    EXPECT_EQ(3, cg->TopMargin());

    // Window classes carry the C++ names.
    EXPECT_EQ(L"TsuiRadioGroupButton", ClassNameOf(rg->ItemButton(0)->Handle()));
    EXPECT_EQ(L"TsuiButton", ClassNameOf(b->Handle()));
}

TEST(SkinButtons, PaintingLeavesNoGdiObjectsBehind) {
    auto round = [] {
        auto form = ShownForm();
        auto* b = Put<TsuiButton>(*form, 10, 10);
        b->SetUIStyle(TsuiUIStyle::BlueGlass);
        b->SetCaption(L"计算");
        auto* c = Put<TsuiCheckBox>(*form, 10, 50);
        c->SetCaption(L"box");
        auto* g = Put<TsuiRadioGroup>(*form, 10, 80);
        g->Items().Assign(std::vector<std::wstring>{L"a", L"b"});
        g->SetItemIndex(0);
        for (int i = 0; i < 5; ++i) {
            Painted(*b);
            Painted(*c);
            Painted(*g);
            b->SetFocus();
            Painted(*b);
        }
        form->Hide();
    };
    round(); // warms up caches (fonts, classes)
    const int before = ProcessGdiObjectCount();
    round();
    round();
    EXPECT_LE(ProcessGdiObjectCount(), before + 2);
}

TEST(SkinButtons, KeysThroughTheMessageLoopReachTheRightControl) {
    auto form = ShownForm(340, 160);
    auto* ok = Put<TsuiButton>(*form, 10, 10);
    ok->SetDefault(true);
    auto* box = Put<TsuiCheckBox>(*form, 10, 50);
    auto* group = Put<TsuiRadioGroup>(*form, 10, 80, 305, 49);
    group->SetColumns(2);
    group->Items().Assign(std::vector<std::wstring>{L"a", L"b"});
    group->SetItemIndex(1);
    int okClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    auto key = [](TWinControl& target, WORD vk) {
        PostMessageW(target.Handle(), WM_KEYDOWN, vk, 1);
        PostMessageW(target.Handle(), WM_KEYUP, vk, 0xC0000001);
        Application->ProcessMessages();
    };

    box->SetFocus();
    key(*box, VK_SPACE);
    EXPECT_TRUE(box->Checked());
    key(*box, VK_RETURN); // the form's default button takes Enter first
    EXPECT_EQ(1, okClicks);

    group->ItemButton(1)->SetFocus();
    ASSERT_TRUE(group->ItemButton(1)->Focused());
    ASSERT_EQ(group->ItemButton(1), form->ActiveControl());
    key(*group->ItemButton(1), VK_LEFT);
    EXPECT_EQ(group->ItemButton(0), form->ActiveControl());
    EXPECT_TRUE(group->ItemButton(0)->Focused());
    EXPECT_EQ(0, group->ItemIndex());

    ok->SetFocus();
    key(*ok, VK_SPACE);
    EXPECT_EQ(2, okClicks);
}
