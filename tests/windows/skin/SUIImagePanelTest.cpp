// The image panel painted through its window procedure into bitmaps and
// probed: draw styles, colour, transparency, caption, auto-size; and a
// window with one panel per style for a person to look at.

#include "SkinTestSupport.h"

#include "../support/HostForm.h"
#include "../support/Painted.h"

#include "framework/FormReader.h"
#include "framework/Screenshot.h"

using namespace skin_test;

namespace {

void SetCodedPicture(TsuiImagePanel& panel, int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h);
    FillCoded(*b);
    panel.Picture().SetGraphic(std::move(b));
}

} // namespace

TEST(TsuiImagePanel, NormalDrawsThePictureUnscaledAndColourAroundIt) {
    TsuiImagePanel panel(nullptr);
    panel.SetBounds(0, 0, 10, 8);
    panel.SetColor(clYellow);
    SetCodedPicture(panel, 4, 3);
    const auto img = Painted(panel);
    EXPECT_EQ(Coded(0, 0), img->Pixel(0, 0));
    EXPECT_EQ(Coded(3, 2), img->Pixel(3, 2));
    EXPECT_EQ(clYellow, img->Pixel(4, 0));
    EXPECT_EQ(clYellow, img->Pixel(9, 7));
}

TEST(TsuiImagePanel, StretchCoversTheClientAndTileRepeats) {
    TsuiImagePanel panel(nullptr);
    panel.SetBounds(0, 0, 8, 6);
    SetCodedPicture(panel, 4, 3);

    panel.SetDrawStyle(suiStretch);
    auto img = Painted(panel);
    EXPECT_EQ(Coded(0, 0), img->Pixel(0, 0));
    EXPECT_EQ(Coded(0, 0), img->Pixel(1, 1)); // doubled in both directions
    EXPECT_EQ(Coded(3, 2), img->Pixel(7, 5));
    EXPECT_EQ(Coded(2, 1), img->Pixel(4, 2));

    panel.SetDrawStyle(suiTile);
    img = Painted(panel);
    EXPECT_EQ(Coded(0, 0), img->Pixel(4, 3));
    EXPECT_EQ(Coded(3, 2), img->Pixel(7, 5));
    EXPECT_EQ(Coded(1, 1), img->Pixel(5, 1));
}

TEST(TsuiImagePanel, EmptyPictureShowsColourOrTheParentWhenTransparent) {
    TCustomControl parent(nullptr);
    parent.SetBounds(0, 0, 30, 20);
    parent.OnPaint = [&](TObject*) {
        FillControlRect(parent.Canvas(), RECT{0, 0, 30, 20}, clNavy);
        parent.Canvas().SetPixels(6, 5, clWhite);
    };
    TsuiImagePanel panel(nullptr);
    panel.SetParent(&parent);
    panel.SetBounds(4, 3, 8, 8);
    panel.SetColor(clMaroon);

    EXPECT_EQ(clMaroon, Painted(panel)->Pixel(2, 2));
    panel.SetTransparent(true);
    const auto img = Painted(panel);
    EXPECT_EQ(clWhite, img->Pixel(2, 2));
    EXPECT_EQ(clNavy, img->Pixel(0, 0));
    panel.SetParent(nullptr);
}

TEST(TsuiImagePanel, TransparencyOfThePictureFollowsThePanel) {
    TCustomControl parent(nullptr);
    parent.SetBounds(0, 0, 20, 20);
    parent.OnPaint = [&](TObject*) {
        FillControlRect(parent.Canvas(), RECT{0, 0, 20, 20}, clGreen);
    };
    TsuiImagePanel panel(nullptr);
    panel.SetParent(&parent);
    panel.SetBounds(0, 0, 4, 4);
    auto b = std::make_unique<TBitmap>(4, 4);
    b->Fill(clFuchsia); // bottom-left pixel: the automatic key
    b->SetPixel(1, 1, clRed);
    panel.Picture().SetGraphic(std::move(b));
    EXPECT_FALSE(panel.Picture().Graphic()->Transparent());
    EXPECT_EQ(clFuchsia, Painted(panel)->Pixel(0, 0));

    panel.SetTransparent(true);
    EXPECT_TRUE(panel.Picture().Graphic()->Transparent());
    auto img = Painted(panel);
    EXPECT_EQ(clGreen, img->Pixel(0, 0));
    EXPECT_EQ(clRed, img->Pixel(1, 1));

    // A new picture takes the panel's setting too.
    auto c = std::make_unique<TBitmap>(2, 2);
    c->Fill(clFuchsia);
    panel.Picture().SetGraphic(std::move(c));
    EXPECT_TRUE(panel.Picture().Graphic()->Transparent());
    panel.SetTransparent(false);
    EXPECT_FALSE(panel.Picture().Graphic()->Transparent());
    panel.SetParent(nullptr);
}

TEST(TsuiImagePanel, CaptionPlacementAndBlankCaptions) {
    TsuiImagePanel panel(nullptr);
    panel.SetBounds(0, 0, 120, 30);
    panel.SetColor(clWhite);
    panel.Font().SetColor(clBlack);

    panel.SetCaption(L"   ");
    auto img = Painted(panel);
    EXPECT_EQ(0, panel.CaptionRect().right - panel.CaptionRect().left);
    for (int y = 0; y < 30; y += 3)
        for (int x = 0; x < 120; x += 3)
            ASSERT_EQ(clWhite, img->Pixel(x, y)) << x << "," << y;

    auto inkBounds = [](const TBitmap& b) {
        RECT r{b.Width(), b.Height(), -1, -1};
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (b.Pixel(x, y) != clWhite) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r;
    };

    panel.SetCaption(L"Ab");
    panel.SetAlignment(taLeftJustify);
    RECT ink = inkBounds(*Painted(panel));
    RECT at = panel.CaptionRect();
    EXPECT_EQ(0, at.left);
    EXPECT_LT(ink.left, 4);
    EXPECT_NEAR((at.top + at.bottom) / 2, 15, 1); // vertically centred
    EXPECT_GE(ink.top, at.top);
    EXPECT_LE(ink.bottom, at.bottom);

    panel.SetAlignment(taRightJustify);
    ink = inkBounds(*Painted(panel));
    EXPECT_EQ(120, panel.CaptionRect().right);
    EXPECT_GT(ink.right, 112);

    panel.SetAlignment(taCenter);
    ink = inkBounds(*Painted(panel));
    EXPECT_NEAR((ink.left + ink.right) / 2, 60, 3);

    panel.SetCaptionPosition(70, 2);
    ink = inkBounds(*Painted(panel));
    EXPECT_EQ(70, panel.CaptionRect().left);
    EXPECT_EQ(2, panel.CaptionRect().top);
    EXPECT_GE(ink.left, 70);
    EXPECT_GE(ink.top, 2);
}

TEST(TsuiImagePanel, AutoSizeFollowsThePictureAsTheAlignmentAllows) {
    TPanel host(nullptr);
    host.SetBounds(0, 0, 200, 150);
    TsuiImagePanel unaligned(nullptr);
    unaligned.SetBounds(5, 6, 50, 50);
    SetCodedPicture(unaligned, 17, 9);
    unaligned.SetAutoSize(true);
    EXPECT_EQ(17, unaligned.Width());
    EXPECT_EQ(9, unaligned.Height());
    EXPECT_EQ(5, unaligned.Left());
    SetCodedPicture(unaligned, 21, 11); // a new picture resizes again
    EXPECT_EQ(21, unaligned.Width());
    EXPECT_EQ(11, unaligned.Height());

    TsuiImagePanel top(nullptr);
    top.SetParent(&host);
    top.SetAlign(alTop);
    top.SetAutoSize(true);
    const int widthByAlignment = top.Width();
    SetCodedPicture(top, 30, 13);
    EXPECT_EQ(13, top.Height());
    EXPECT_EQ(widthByAlignment, top.Width());

    TsuiImagePanel left(nullptr);
    left.SetParent(&host);
    left.SetAlign(alLeft);
    SetCodedPicture(left, 14, 5);
    const int heightByAlignment = left.Height();
    left.SetAutoSize(true);
    EXPECT_EQ(14, left.Width());
    EXPECT_EQ(heightByAlignment, left.Height());

    TsuiImagePanel client(nullptr);
    client.SetParent(&host);
    client.SetAlign(alClient);
    const SIZE before{client.Width(), client.Height()};
    SetCodedPicture(client, 3, 3);
    client.SetAutoSize(true);
    EXPECT_EQ(before.cx, client.Width());
    EXPECT_EQ(before.cy, client.Height());

    // Nothing to follow without a picture.
    TsuiImagePanel empty(nullptr);
    empty.SetBounds(0, 0, 40, 40);
    empty.SetAutoSize(true);
    EXPECT_EQ(40, empty.Width());
    for (TControl* c : {static_cast<TControl*>(&top), static_cast<TControl*>(&left),
                        static_cast<TControl*>(&client)})
        c->SetParent(nullptr);
}

TEST(TsuiImagePanel, IsKnownToFormDescriptions) {
    TBitmap pic(5, 4);
    pic.Fill(clTeal);
    std::wstring hex;
    for (std::uint8_t byte : pic.SaveToBytes()) {
        const wchar_t digits[] = L"0123456789ABCDEF";
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    TOwned<TForm> form(new TForm(nullptr));
    ReadComponentText(*form,
                      L"object F: TForm\n"
                      L"  object Img: TsuiImagePanel\n"
                      L"    Left = 3\n"
                      L"    Top = 4\n"
                      L"    DrawStyle = suiTile\n"
                      L"    Transparent = True\n"
                      L"    AutoSize = True\n"
                      L"    Picture = {" +
                          hex +
                          L"}\n"
                          L"  end\n"
                          L"end\n",
                      L"test");
    auto* img = dynamic_cast<TsuiImagePanel*>(form->FindComponent(L"Img"));
    ASSERT_NE(nullptr, img);
    EXPECT_EQ(suiTile, img->DrawStyle());
    EXPECT_TRUE(img->Transparent());
    EXPECT_EQ(5, img->Width());
    EXPECT_EQ(4, img->Height());
    ASSERT_TRUE(img->Picture().HasGraphic());
    EXPECT_TRUE(img->Picture().Graphic()->Transparent());
}

TEST(TsuiImagePanel, WindowWithEveryDrawStyleForTheScreens) {
    TBitmap button;
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::ButtonImage, &button, 1, 3);
    TBitmap emblem;
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::CheckBoxImage, &emblem);

    TOwned<TForm> form(new TForm(nullptr));
    form->SetCaption(L"图片面板");
    form->SetBorderStyle(bsSingle);
    form->SetClientWidth(420);
    form->SetClientHeight(150);
    form->SetColor(0x00F0E0D0);
    struct Shown {
        TsuiDrawStyle style;
        const TBitmap* picture;
        const wchar_t* caption;
        bool transparent;
    };
    const Shown shown[] = {{suiNormal, &button, L"suiNormal", false},
                           {suiStretch, &button, L"suiStretch", false},
                           {suiTile, &emblem, L"suiTile", false},
                           {suiNormal, &button, L"透明", true}};
    int x = 10;
    std::vector<TsuiImagePanel*> panels;
    for (const Shown& s : shown) {
        auto* p = Make<TsuiImagePanel>(form.get(), x, 10, 92, 60);
        p->SetColor(clWhite);
        p->Picture().SetGraphic(s.picture);
        p->SetDrawStyle(s.style);
        p->SetTransparent(s.transparent);
        p->SetCaption(s.caption);
        p->Font().SetColor(clBlack);
        p->SetAlignment(taCenter);
        panels.push_back(p);
        x += 100;
    }
    form->Show();
    Application->ProcessMessages();
    const auto file = SaveWindowScreenshot(form->Handle(), L"image-panel-styles");
    EXPECT_TRUE(std::filesystem::exists(file));

    TBitmap client;
    PrintWindowImage(form->Handle(), client, true);
    // Stretched: the button's left edge column reaches the panel's bottom.
    EXPECT_NE(clWhite, client.Pixel(110 + 45, 10 + 58));
    form->Hide();
}

// A transparent child shows its parent as the parent looks now: from the
// parent's kept picture while that is current, painted anew while the parent
// waits to be painted.
TEST(TsuiImagePanel, TransparentChildShowsTheParentAsItIsNow) {
    HostForm host;
    auto* parent = Make<TsuiImagePanel>(host.get(), 10, 10, 60, 40);
    parent->SetColor(clNavy);
    auto* child = Make<TsuiImagePanel>(host.get(), parent, 5, 5, 20, 10);
    child->SetTransparent(true);
    host.Show();
    Pump();
    EXPECT_EQ(clNavy, Painted(*child)->Pixel(3, 3));
    parent->SetColor(clMaroon);
    EXPECT_EQ(clMaroon, Painted(*child)->Pixel(3, 3)) << "the kept picture is stale";
    Pump();
    EXPECT_EQ(clMaroon, Painted(*child)->Pixel(3, 3));
}
