// The page control as the main window uses it: geometry, strip painting,
// clicks on the tabs and the arrows, activation and the disabled inactive
// pages, page insertion, removal, moving and hiding, style, and loading
// from a form description.

#include "PagesTestSupport.h"

#include "skin/SUIMgr.h"

#include "../support/MessagePump.h"

#include "framework/FormReader.h"
#include "framework/StdCtrls.h"

#include "../../native/skin/ThemeFileWriter.h"

#include <filesystem>
#include <fstream>

using namespace pages_test;

namespace {

int NaturalTabWidth(TsuiPageControl& pc, const std::wstring& caption) {
    if (caption.empty()) return 80;
    TBitmap measure(4, 4);
    measure.Canvas().Font().Assign(pc.Font());
    return std::max(measure.Canvas().TextWidth(caption) + 20, 15);
}

std::vector<TsuiTabSheet*> AddPages(PagesHost& host, int count, const std::wstring& prefix) {
    std::vector<TsuiTabSheet*> pages;
    for (int i = 0; i < count; ++i)
        pages.push_back(host.Add(prefix + std::to_wstring(i + 1)));
    return pages;
}

} // namespace

// ---------------------------------------------------------------------------
// Geometry

TEST(TsuiPageControl, StripAcrossTheTopAndPagesInsetBelowIt) {
    PagesHost host(903, 579);
    TsuiTabSheet* page = host.Add(L"等额本息");
    TsuiTabControlTopPanel& strip = host.Strip();
    EXPECT_EQ(22, strip.Height()); // 17 tab + 5 bar
    EXPECT_EQ(18, strip.ArrowWidth());
    EXPECT_EQ(17, strip.ArrowHeight());
    EXPECT_EQ(RECT(0, 0, 903, 22), strip.BoundsRect());
    EXPECT_EQ(RECT(3, 25, 900, 576), page->BoundsRect()); // 897 x 551

    host.pc->SetBounds(0, 0, 500, 300);
    EXPECT_EQ(RECT(0, 0, 500, 22), strip.BoundsRect());
    EXPECT_EQ(RECT(3, 25, 497, 297), page->BoundsRect());

    // Nobody moves the strip off the top.
    strip.SetBounds(7, 9, 40, 40);
    EXPECT_EQ(RECT(0, 0, 500, 22), strip.BoundsRect());
}

TEST(TsuiPageControl, ActivePageIndexWithoutPagesIsZero) {
    PagesHost host;
    EXPECT_EQ(0, host.pc->PageCount());
    EXPECT_EQ(nullptr, host.pc->ActivePage());
    EXPECT_EQ(0, host.pc->ActivePageIndex());
    EXPECT_EQ(0, host.Strip().Tabs().Count());
}

// ---------------------------------------------------------------------------
// Painting

TEST(TsuiPageControl, BodyHasLeftBottomAndRightEdgesUnderTheStrip) {
    PagesHost host(200, 120);
    const auto img = Painted(*host.pc, clLime);
    EXPECT_EQ(clLime, img->Pixel(50, 21)); // the strip's rows are not the body's
    EXPECT_EQ(clBlack, img->Pixel(0, 22));
    EXPECT_EQ(clBlack, img->Pixel(0, 119));
    EXPECT_EQ(clBlack, img->Pixel(100, 119));
    EXPECT_EQ(clBlack, img->Pixel(199, 22));
    EXPECT_EQ(TColor(0xE7E7E7), img->Pixel(100, 22)); // no top edge
    EXPECT_EQ(TColor(0xE7E7E7), img->Pixel(100, 60));
}

TEST(TsuiPageControl, StripShowsTheWindowBesideTheTabsAndStartsThemAtTheMargin) {
    PagesHost host(300, 120);
    host.Add({L"等额本息", L"等额本金"});
    const auto img = host.PaintStrip();
    const TsuiTabControlTopPanel& strip = host.Strip();
    EXPECT_FALSE(strip.ArrowsNeeded());
    EXPECT_EQ(clRed, img->Pixel(295, 2)); // the window's colour, no arrows
    EXPECT_EQ(clRed, img->Pixel(9, 8));
    EXPECT_NE(clRed, img->Pixel(10, 8));
    const int end = 10 + strip.TabWidth(0) + strip.TabWidth(1);
    EXPECT_NE(clRed, img->Pixel(end - 1, 8));
    EXPECT_EQ(clRed, img->Pixel(end + 1, 8));
    // The bar's ends carry the border colour.
    EXPECT_EQ(clBlack, img->Pixel(0, 17));
    EXPECT_EQ(clBlack, img->Pixel(299, 21));
}

TEST(TsuiPageControl, TabWidthsComeFromTheCaptionsAndAnEmptyOneGetsEighty) {
    PagesHost host(400, 120);
    host.Add({L"等额本息", L"", L"浮动年利率"});
    host.PaintStrip();
    EXPECT_EQ(NaturalTabWidth(*host.pc, L"等额本息"), host.Strip().TabWidth(0));
    EXPECT_EQ(80, host.Strip().TabWidth(1));
    EXPECT_EQ(NaturalTabWidth(*host.pc, L"浮动年利率"), host.Strip().TabWidth(2));
    EXPECT_EQ(17, host.Strip().TabHeight());
}

// ---------------------------------------------------------------------------
// Clicks and activation

TEST(TsuiPageControl, UserSelectionActivatesThePageAndDisablesTheOthers) {
    PagesHost host(400, 150);
    auto [a, b, c] = host.Add({L"等额本息", L"等额本金", L"浮动年利率"});
    host.pc->SetActivePage(a);
    host.PaintStrip();
    host.ResetCounts();

    Click(host.Strip(), host.TabLeft(2) + 20, 8);
    EXPECT_EQ(c, host.pc->ActivePage());
    EXPECT_EQ(2, host.pc->ActivePageIndex());
    EXPECT_EQ(1, host.changes);
    EXPECT_EQ(std::vector<int>{2}, host.activations);
    EXPECT_FALSE(a->Enabled());
    EXPECT_FALSE(b->Enabled());
    EXPECT_TRUE(c->Enabled());
    // Inactive pages stay visible behind the active one.
    EXPECT_TRUE(a->Visible());
    EXPECT_TRUE(b->Visible());

    // The active tab again: nothing happens.
    Click(host.Strip(), host.TabLeft(2) + 20, 8);
    EXPECT_EQ(1, host.changes);
}

TEST(TsuiPageControl, TabEdgesAreStrict) {
    PagesHost host(400, 150);
    host.Add({L"等额本息", L"等额本金", L"浮动年利率"}); // the last added is active
    host.PaintStrip();
    host.ResetCounts();
    const int h = host.Strip().TabHeight();
    const int x1 = 10 + host.Strip().TabWidth(0);

    Click(host.Strip(), 10, 8);     // left edge of the first tab
    Click(host.Strip(), x1, 8);     // between the first and the second
    Click(host.Strip(), 30, 0);     // top row
    Click(host.Strip(), 30, h);     // bottom row
    Click(host.Strip(), 30, h + 2); // on the bar
    EXPECT_EQ(2, host.pc->ActivePageIndex());
    EXPECT_EQ(0, host.changes);

    Click(host.Strip(), x1 + 1, 1);
    EXPECT_EQ(1, host.pc->ActivePageIndex());
    Click(host.Strip(), 11, h - 1);
    EXPECT_EQ(0, host.pc->ActivePageIndex());
    EXPECT_EQ(2, host.changes);
}

TEST(TsuiPageControl, TheActivePageIsInFrontOnScreen) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetBounds(40, 40, 300, 200);
    auto* pc = Make<TsuiPageControl>(form.get(), 0, 0, 250, 150);
    std::vector<TsuiTabSheet*> pages;
    for (int i = 0; i < 3; ++i)
        pages.push_back(Make<TsuiTabSheet>(form.get(), pc));
    pc->SetActivePage(pages[0]); // before any window exists
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(pages[0]->Handle(), ChildWindowFromPoint(pc->Handle(), POINT{100, 80}));
    pc->SetActivePage(pages[1]);
    EXPECT_EQ(pages[1]->Handle(), ChildWindowFromPoint(pc->Handle(), POINT{100, 80}));
}

TEST(TsuiPageControl, ChangingMayVetoClicksButNotTheProgram) {
    PagesHost host;
    auto [a, b] = host.Add({L"A tab", L"B tab"});
    host.pc->SetActivePage(a);
    host.PaintStrip();
    host.ResetCounts();
    int asked = 0;
    host.pc->OnChanging = [&](TObject* sender, bool& allow) {
        EXPECT_EQ(host.pc, sender);
        ++asked;
        allow = false;
    };

    Click(host.Strip(), host.TabLeft(1) + 5, 8);
    EXPECT_EQ(1, asked);
    EXPECT_EQ(a, host.pc->ActivePage());
    EXPECT_EQ(0, host.Strip().TabIndex());
    EXPECT_EQ(0, host.changes);

    host.pc->SetActivePage(b);
    EXPECT_EQ(1, asked);
    EXPECT_EQ(b, host.pc->ActivePage());
    EXPECT_EQ(1, host.changes);
}

TEST(TsuiPageControl, ProgramActivationShowsThePageAndReportsOnlyRealChanges) {
    PagesHost host;
    auto [a, b] = host.Add({L"A tab", L"B tab"});
    host.pc->SetActivePage(a);
    host.ResetCounts();
    int shown = 0;
    b->OnShow = [&](TObject* sender) {
        EXPECT_EQ(b, sender);
        ++shown;
    };

    host.pc->SetActivePage(b);
    EXPECT_EQ(2, shown); // once through the tab change, once more for the page itself
    EXPECT_EQ(1, host.changes);
    EXPECT_FALSE(a->Enabled());
    EXPECT_TRUE(b->Enabled());

    host.pc->SetActivePage(b);
    EXPECT_EQ(3, shown);
    EXPECT_EQ(1, host.changes);

    // A page of another control is refused.
    PagesHost other;
    TsuiTabSheet* foreign = other.Add(L"elsewhere");
    host.pc->SetActivePage(foreign);
    EXPECT_EQ(b, host.pc->ActivePage());
    EXPECT_TRUE(b->Enabled());
}

TEST(TsuiPageControl, TheNewPageTakesTheFocusOnlyWhenItsFirstControlIsWindowed) {
    PagesHost host;
    auto [a, b, c] = host.Add({L"A tab", L"B tab", L"C tab"});
    auto* field = Make<TPanel>(host.form.get(), b);
    Make<TestMark>(host.form.get(), c);
    Make<TPanel>(host.form.get(), c);
    host.pc->SetActivePage(a);
    host.PaintStrip();

    Click(host.Strip(), host.TabLeft(1) + 5, 8);
    EXPECT_EQ(field, host.form->ActiveControl());
    Click(host.Strip(), host.TabLeft(2) + 5, 8);
    EXPECT_EQ(field, host.form->ActiveControl()); // a windowless control leads on C
}

TEST(TsuiPageControl, TabIndexOutsideTheTabsOnlyRepaints) {
    PagesHost host;
    host.Add({L"A tab", L"B tab"});
    host.ResetCounts();
    TsuiTabControlTopPanel& strip = host.Strip();
    strip.SetTabIndex(-1);
    strip.SetTabIndex(2);
    strip.SetTabIndex(-7);
    EXPECT_EQ(1, strip.TabIndex());
    EXPECT_EQ(1, host.pc->ActivePageIndex());
    EXPECT_EQ(0, host.changes);

    // A strip without tabs has no index at all.
    TOwned<TsuiTabControlTopPanel> bare(new TsuiTabControlTopPanel(nullptr));
    EXPECT_EQ(1, bare->Tabs().Count());
    bare->Tabs().Clear();
    bare->SetTabIndex(3);
    EXPECT_EQ(-1, bare->TabIndex());
}

// ---------------------------------------------------------------------------
// Many tabs: clipping and the arrows

TEST(TsuiPageControl, TabsThatDoNotFitAreClippedBeforeTheArrows) {
    PagesHost host(200, 120);
    const auto pages = AddPages(host, 10, L"第年");
    host.pc->SetActivePage(pages[0]);
    const auto img = host.PaintStrip();
    TsuiTabControlTopPanel& strip = host.Strip();
    ASSERT_TRUE(strip.ArrowsNeeded());
    EXPECT_EQ(0, strip.FirstShown());

    const int limit = 200 - 2 * 18 - 2;
    int clippedAt = -1;
    for (int i = 0; i < 10 && clippedAt < 0; ++i)
        if (host.TabLeft(i) + NaturalTabWidth(*host.pc, pages[size_t(i)]->Caption()) > limit)
            clippedAt = i;
    ASSERT_GT(clippedAt, 0);
    EXPECT_EQ(limit - host.TabLeft(clippedAt), strip.TabWidth(clippedAt));
    for (int i = clippedAt + 1; i < 10; ++i)
        EXPECT_EQ(-1, strip.TabWidth(i)) << i;

    // The arrows sit at the right edge, right arrow outermost.
    EXPECT_EQ(RECT(180, 0, 198, 17), strip.RightArrowRect());
    EXPECT_EQ(RECT(162, 0, 180, 17), strip.LeftArrowRect());
    TBitmap right, left;
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::ScrollButtonImage, &right, 1, 4);
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::ScrollButtonImage, &left, 3, 4);
    int probes = 0;
    for (int y = 2; y < 15; ++y)
        for (int x = 2; x < 16; ++x) {
            if (right.Pixel(x, y) == left.Pixel(x, y)) continue; // where the glyphs differ
            EXPECT_EQ(right.Pixel(x, y), img->Pixel(180 + x, y)) << x << "," << y;
            EXPECT_EQ(left.Pixel(x, y), img->Pixel(162 + x, y)) << x << "," << y;
            ++probes;
        }
    EXPECT_GT(probes, 0);

    // Clicks right of the clipped tab select nothing.
    host.ResetCounts();
    Click(strip, 199, 8);
    EXPECT_EQ(0, host.changes);
}

TEST(TsuiPageControl, ArrowsScrollByOneVisibleTab) {
    PagesHost host(200, 120);
    const auto pages = AddPages(host, 10, L"第年");
    host.pc->SetActivePage(pages[0]);
    host.PaintStrip();
    host.ResetCounts();
    TsuiTabControlTopPanel& strip = host.Strip();

    Click(strip, 189, 8); // right arrow
    EXPECT_EQ(1, strip.FirstShown());
    host.PaintStrip();
    EXPECT_EQ(10, host.TabLeft(1));
    Click(strip, 189, 8);
    EXPECT_EQ(2, strip.FirstShown());
    // A click on the first tab shown now selects tab 2.
    Click(strip, 15, 8);
    EXPECT_EQ(2, host.pc->ActivePageIndex());

    Click(strip, 171, 8); // left arrow
    Click(strip, 171, 8);
    Click(strip, 171, 8); // no further than the start
    EXPECT_EQ(0, strip.FirstShown());
    EXPECT_EQ(1, host.changes); // arrows are no selection
}

TEST(TsuiPageControl, TheArrowUnderTheMouseIsLit) {
    PagesHost host(200, 120);
    const auto pages = AddPages(host, 10, L"第年");
    host.pc->SetActivePage(pages[0]);
    TBitmap right, rightLit;
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::ScrollButtonImage, &right, 1, 4);
    GetBuiltInThemeBitmap(TsuiUIStyle::BlueGlass, ThemeElement::ScrollButtonImage, &rightLit, 2, 4);
    POINT probe{-1, -1};
    for (int y = 2; y < 15 && probe.x < 0; ++y)
        for (int x = 2; x < 16 && probe.x < 0; ++x)
            if (right.Pixel(x, y) != rightLit.Pixel(x, y)) probe = POINT{x, y};
    ASSERT_GE(probe.x, 0) << "the lit arrow looks like the plain one";

    const POINT away = host.Strip().ClientToScreen(POINT{20, 60});
    SetCursorPos(away.x, away.y);
    auto img = host.PaintStrip();
    EXPECT_EQ(right.Pixel(probe.x, probe.y), img->Pixel(180 + probe.x, probe.y));

    const POINT over = host.Strip().ClientToScreen(POINT{189, 8});
    SetCursorPos(over.x, over.y);
    img = host.PaintStrip();
    EXPECT_EQ(rightLit.Pixel(probe.x, probe.y), img->Pixel(180 + probe.x, probe.y));
    SetCursorPos(away.x, away.y);
}

TEST(TsuiPageControl, SelectingATabOutOfViewScrollsItIntoView) {
    PagesHost host(200, 120);
    const auto pages = AddPages(host, 10, L"第年");
    host.pc->SetActivePage(pages[0]);
    host.PaintStrip();

    host.pc->SetActivePage(pages[9]);
    host.PaintStrip();
    TsuiTabControlTopPanel& strip = host.Strip();
    EXPECT_GT(strip.FirstShown(), 0);
    EXPECT_EQ(NaturalTabWidth(*host.pc, pages[9]->Caption()), strip.TabWidth(9));
    EXPECT_LE(host.TabLeft(9) + strip.TabWidth(9), 200 - 10);

    // And back to the first: the view follows to the left too.
    host.pc->SetActivePage(pages[0]);
    host.PaintStrip();
    EXPECT_EQ(0, strip.FirstShown());
}

TEST(TsuiPageControl, MoreThanSixtyFourPagesStaySelectable) {
    PagesHost host(300, 120);
    const auto pages = AddPages(host, 70, L"P");
    EXPECT_EQ(70, host.pc->PageCount());
    EXPECT_EQ(69, pages[69]->PageIndex());
    EXPECT_EQ(70, host.Strip().Tabs().Count());

    host.pc->SetActivePage(pages[66]);
    host.PaintStrip();
    EXPECT_EQ(66, host.pc->ActivePageIndex());
    EXPECT_GT(host.Strip().TabWidth(66), 0);
    host.ResetCounts();
    Click(host.Strip(), host.TabLeft(65) + 5, 8);
    EXPECT_EQ(65, host.pc->ActivePageIndex());
    EXPECT_EQ(1, host.changes);
}

// ---------------------------------------------------------------------------
// Pages coming, going, moving and hiding

TEST(TsuiPageControl, InsertedPagesTakeTheColourAndTheirCaptionsBecomeTabs) {
    PagesHost host;
    auto [a, b] = host.Add({L"等额本息", L"等额本金"});
    EXPECT_EQ(host.pc, a->PageControl());
    EXPECT_EQ(0, a->PageIndex());
    EXPECT_EQ(1, b->PageIndex());
    EXPECT_EQ(b, host.pc->ActivePage()); // the newest page comes to the front
    EXPECT_FALSE(a->Enabled());
    EXPECT_EQ(host.pc->Color(), a->Color());
    EXPECT_EQ(L" ", a->Text());

    b->SetCaption(L"浮动年利率");
    EXPECT_EQ((std::vector<std::wstring>{L"等额本息", L"浮动年利率"}),
              host.Strip().Tabs().ToVector());
    host.pc->SetColor(clAqua);
    EXPECT_EQ(clAqua, a->Color());
    EXPECT_EQ(clAqua, b->Color());
}

TEST(TsuiPageControl, MovingAPageRenumbersAndActivatesIt) {
    PagesHost host;
    auto [a, b, c] = host.Add({L"A", L"B", L"C"});
    host.pc->SetActivePage(a);

    c->SetPageIndex(0);
    EXPECT_EQ(0, c->PageIndex());
    EXPECT_EQ(1, a->PageIndex());
    EXPECT_EQ(2, b->PageIndex());
    EXPECT_EQ((std::vector<std::wstring>{L"C", L"A", L"B"}), host.Strip().Tabs().ToVector());
    EXPECT_EQ(c, host.pc->ActivePage());
    EXPECT_EQ(0, host.Strip().TabIndex());
    EXPECT_TRUE(c->Enabled());
    EXPECT_FALSE(a->Enabled());

    c->SetPageIndex(3);
    c->SetPageIndex(-1);
    EXPECT_EQ(0, c->PageIndex());
    EXPECT_EQ(c, host.pc->Pages(0));

    // Outside a page control the index stays -1.
    TOwned<TsuiTabSheet> loose(new TsuiTabSheet(nullptr));
    loose->SetPageIndex(0);
    EXPECT_EQ(-1, loose->PageIndex());
}

TEST(TsuiPageControl, RemovingTheActivePageActivatesTheOneBeforeIt) {
    PagesHost host;
    auto [a, b, c] = host.Add({L"A", L"B", L"C"});
    host.pc->SetActivePage(b);

    b->Free();
    EXPECT_EQ(2, host.pc->PageCount());
    EXPECT_EQ(a, host.pc->ActivePage());
    EXPECT_TRUE(a->Enabled());
    EXPECT_EQ(1, c->PageIndex());
    EXPECT_EQ((std::vector<std::wstring>{L"A", L"C"}), host.Strip().Tabs().ToVector());

    // The first page goes: the new first one comes forward.
    a->SetParent(host.form.get());
    EXPECT_EQ(-1, a->PageIndex());
    EXPECT_EQ(nullptr, a->PageControl());
    EXPECT_EQ(c, host.pc->ActivePage());
    EXPECT_EQ(0, host.pc->ActivePageIndex());
    EXPECT_TRUE(c->Enabled());

    c->Free();
    EXPECT_EQ(nullptr, host.pc->ActivePage());
    EXPECT_EQ(0, host.pc->ActivePageIndex());
}

TEST(TsuiPageControl, HidingTheActiveTabMovesToTheNearestVisibleOne) {
    PagesHost host;
    auto [a, b, c] = host.Add({L"A", L"B", L"C"});
    host.pc->SetActivePage(b);
    host.ResetCounts();

    b->SetTabVisible(false);
    EXPECT_EQ(a, host.pc->ActivePage());
    EXPECT_FALSE(b->Enabled());
    EXPECT_EQ(1, host.changes);
    host.PaintStrip();
    EXPECT_EQ(0, host.Strip().TabWidth(1));
    EXPECT_FALSE(host.Strip().TabVisible(1));

    a->SetTabVisible(false); // nothing visible before it: the next one after
    EXPECT_EQ(c, host.pc->ActivePage());
    c->SetTabVisible(false); // the only visible tab: the page stays
    EXPECT_EQ(c, host.pc->ActivePage());
    EXPECT_TRUE(c->Enabled());

    // A hidden tab is skipped by the hit test too.
    b->SetTabVisible(true);
    host.PaintStrip();
    Click(host.Strip(), 15, 8);
    EXPECT_EQ(b, host.pc->ActivePage());
}

// ---------------------------------------------------------------------------
// Style

TEST(TsuiPageControl, StyleGivesColoursAndTheStripItsHeight) {
    PagesHost host(300, 150, TsuiUIStyle::WinXP);
    TsuiTabSheet* page = host.Add(L"A");
    EXPECT_EQ(clWhite, host.pc->Color());
    EXPECT_EQ(TColor(0x686868), host.pc->BorderColor());
    EXPECT_EQ(TColor(0xDEEBEF), host.Strip().Color());
    EXPECT_EQ(clWhite, page->Color());
    EXPECT_EQ(19, host.Strip().Height()); // 18 + 1
    EXPECT_EQ(22, page->Top());

    host.pc->SetUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(34, host.Strip().Height()); // 27 + 7
    EXPECT_EQ(37, page->Top());
    EXPECT_EQ(TColor(0xE7E7E7), page->Color());

    // Without a file theme FromThemeFile looks exactly like DeepBlue.
    host.pc->SetUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(TColor(0xE8E8E8), host.pc->Color());
    EXPECT_EQ(22, host.Strip().Height());
    EXPECT_EQ(TsuiUIStyle::FromThemeFile, host.pc->UIStyle());
}

TEST(TsuiPageControl, FileThemeGivesColoursAndPicturesUntilItGoes) {
    auto solid = [](int w, int h, TColor c) {
        TBitmap b(w, h);
        b.Fill(c);
        return b.SaveToBytes();
    };
    const auto bytes = theme_test::ThemeFileWriter()
                           .Int("ControlBorderColor", 0x123456)
                           .Int("ControlBackgroundColor", 0xC0FFEE)
                           .Image("TabControlTabImage", solid(6, 10, clNavy))
                           .Image("TabControlBarImage", solid(4, 3, clTeal))
                           .Image("ScrollButtonImage", solid(8, 5, clOlive))
                           .Build();
    const auto file = std::filesystem::temp_directory_path() /
                      (L"lanan-pages-" + std::to_wstring(GetCurrentProcessId()) + L".theme");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    PagesHost host(300, 150, TsuiUIStyle::BlueGlass);
    TsuiTabSheet* page = host.Add(L"A");
    auto* theme = new TsuiFileTheme(host.form.get());
    theme->SetThemeFile(file.wstring());
    ASSERT_TRUE(theme->IsLoaded());
    host.pc->SetFileTheme(theme);
    host.pc->SetUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(TColor(0x123456), host.pc->BorderColor());
    EXPECT_EQ(TColor(0xC0FFEE), host.pc->Color());
    EXPECT_EQ(TColor(0xC0FFEE), host.Strip().Color());
    EXPECT_EQ(TColor(0xC0FFEE), page->Color());
    EXPECT_EQ(13, host.Strip().Height()); // 10 + 3
    EXPECT_EQ(2, host.Strip().ArrowWidth());
    EXPECT_EQ(5, host.Strip().ArrowHeight());
    EXPECT_EQ(16, page->Top());
    const auto img = host.PaintStrip();
    EXPECT_EQ(clTeal, img->Pixel(150, 11)); // the file's bar
    EXPECT_EQ(clNavy, img->Pixel(12, 5));   // the file's tab

    // The theme goes away: back to DeepBlue, and nothing points at it.
    theme->Free();
    EXPECT_EQ(nullptr, host.pc->FileTheme());
    EXPECT_EQ(nullptr, host.Strip().FileTheme());
    EXPECT_EQ(TsuiUIStyle::DeepBlue, host.pc->UIStyle());
    EXPECT_EQ(22, host.Strip().Height());
    EXPECT_EQ(TColor(0xE8E8E8), host.pc->Color());
    host.PaintStrip();
    std::error_code ec;
    std::filesystem::remove(file, ec);
}

TEST(TsuiPageControl, StyleComesFromTheOwnerFormAndReachesControlsOnThePages) {
    TsuiPageControl orphan(nullptr);
    EXPECT_EQ(TsuiUIStyle::DeepBlue, orphan.UIStyle());

    TOwned<TForm> form(new TForm(nullptr));
    auto* frame = Make<TestFormFrame>(form.get(), form.get());
    frame->SetUIStyle(TsuiUIStyle::BlueGlass);
    auto* pc = Make<TsuiPageControl>(form.get(), form.get());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, pc->UIStyle());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, pc->TabPanel().UIStyle());

    auto* page = Make<TsuiTabSheet>(form.get(), pc);
    auto* inner = Make<TsuiPageControl>(form.get(), page);
    pc->SetUIStyle(TsuiUIStyle::WinXP);
    EXPECT_EQ(TsuiUIStyle::WinXP, inner->UIStyle());
    EXPECT_EQ(TsuiUIStyle::WinXP, inner->TabPanel().UIStyle());
}

TEST(TsuiPageControl, FontAndMarginReachTheStrip) {
    PagesHost host;
    host.Add(L"等额本息");
    host.pc->SetLeftMargin(30);
    EXPECT_EQ(30, host.Strip().LeftMargin());
    host.pc->Font().SetHeight(-20);
    host.PaintStrip();
    EXPECT_EQ(NaturalTabWidth(*host.pc, L"等额本息"), host.Strip().TabWidth(0));
    const auto img = host.PaintStrip();
    EXPECT_EQ(clRed, img->Pixel(29, 8));
    EXPECT_NE(clRed, img->Pixel(31, 8));
    host.pc->SetCursor(crHandPoint);
    EXPECT_EQ(crHandPoint, host.Strip().Cursor());
}

// ---------------------------------------------------------------------------
// Form descriptions

namespace {

class TPagesForm : public TForm {
  public:
    explicit TPagesForm(TComponent* owner) : TForm(owner) {}
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TPagesForm>(L"TPagesForm", &TForm::StaticClass())
                .Handler(L"PagesChange", &TPagesForm::PagesChange)
                .Handler(L"PagesTabActive", &TPagesForm::PagesTabActive)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    void PagesChange(TObject*) { ++changes; }
    void PagesTabActive(TObject*, int) { ++activations; }
    int changes = 0;
    int activations = 0;
};

const wchar_t kDescription[] = LR"(object PagesForm: TPagesForm
  Left = 50
  Top = 50
  Width = 460
  Height = 260
  object suiForm1: TsuiForm
    UIStyle = BlueGlass
  end
  object suiPageControl1: TsuiPageControl
    Left = 0
    Top = 0
    Width = 420
    Height = 200
    ActivePage = suiTabSheet2
    LeftMargin = 12
    Pages = ( 'suiTabSheet3' 'suiTabSheet1' 'suiTabSheet2' )
    OnChange = PagesChange
    OnTabActive = PagesTabActive
    object suiTabSheet1: TsuiTabSheet
      Caption = '等额本息'
      PageControl = suiPageControl1
    end
    object suiTabSheet2: TsuiTabSheet
      Caption = '等额本金'
      Enabled = False
    end
    object suiTabSheet3: TsuiTabSheet
      Caption = '浮动年利率'
      TabVisible = False
    end
  end
end
)";

} // namespace

TEST(TsuiPageControl, LoadsFromADescriptionWithItsPagesInStoredOrder) {
    TOwned<TPagesForm> form(new TPagesForm(nullptr));
    form->LoadDescriptionText(kDescription, L"pages test");
    auto* pc = dynamic_cast<TsuiPageControl*>(form->FindComponent(L"suiPageControl1"));
    ASSERT_NE(nullptr, pc);
    auto* one = dynamic_cast<TsuiTabSheet*>(form->FindComponent(L"suiTabSheet1"));
    auto* two = dynamic_cast<TsuiTabSheet*>(form->FindComponent(L"suiTabSheet2"));
    auto* three = dynamic_cast<TsuiTabSheet*>(form->FindComponent(L"suiTabSheet3"));
    ASSERT_TRUE(one && two && three);

    EXPECT_EQ(TsuiUIStyle::BlueGlass, pc->UIStyle()); // from the window's frame
    EXPECT_EQ(12, pc->LeftMargin());
    EXPECT_EQ(3, pc->PageCount());
    EXPECT_EQ(0, three->PageIndex());
    EXPECT_EQ(1, one->PageIndex());
    EXPECT_EQ(2, two->PageIndex());
    EXPECT_EQ((std::vector<std::wstring>{L"浮动年利率", L"等额本息", L"等额本金"}),
              pc->TabPanel().Tabs().ToVector());
    EXPECT_FALSE(pc->TabPanel().TabVisible(0));
    EXPECT_EQ(two, pc->ActivePage());
    EXPECT_EQ(2, pc->TabPanel().TabIndex());
    EXPECT_TRUE(two->Enabled());
    EXPECT_FALSE(one->Enabled());
    EXPECT_FALSE(three->Enabled());
    EXPECT_EQ(0, form->changes); // nothing is reported while loading
    EXPECT_EQ(0, form->activations);
    const TValue names = GetPropertyValue(*pc, L"Pages");
    EXPECT_EQ((std::vector<std::wstring>{L"suiTabSheet3", L"suiTabSheet1", L"suiTabSheet2"}),
              names.list);
    EXPECT_EQ(3, GetPropertyValue(*pc, L"PageCount").integer);

    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(L"TsuiPageControl", ClassNameOf(pc->Handle()));
    EXPECT_EQ(L"TsuiPageControlTopPanel", ClassNameOf(pc->TabPanel().Handle()));
    EXPECT_EQ(L"TsuiTabSheet", ClassNameOf(one->Handle()));

    Painted(pc->TabPanel());
    Click(pc->TabPanel(), 12 + 3, 8); // the hidden tab takes no room
    EXPECT_EQ(one, pc->ActivePage());
    EXPECT_EQ(1, form->changes);
    EXPECT_EQ(1, form->activations);
}

// ---------------------------------------------------------------------------

TEST(TsuiPageControl, LeavesNoGdiObjectsBehind) {
    auto cycle = [] {
        PagesHost host(200, 120);
        const auto pages = AddPages(host, 8, L"第年");
        host.pc->SetActivePage(pages[7]);
        host.PaintStrip();
        Painted(*host.pc);
        host.pc->SetUIStyle(TsuiUIStyle::WinXP);
        host.PaintStrip();
    };
    cycle();
    const int before = ProcessGdiObjectCount();
    cycle();
    cycle();
    EXPECT_EQ(before, ProcessGdiObjectCount());
}

TEST(TsuiPageControl, ControlsOfAPageBehindGetTheirWindowsAfterTheFirstPaint) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetBounds(40, 40, 400, 260);
    auto* pc = Make<TsuiPageControl>(form.get(), 0, 0, 380, 200);
    TEdit* edits[3] = {};
    TsuiTabSheet* pages[3] = {};
    for (int i = 0; i < 3; ++i) {
        pages[i] = Make<TsuiTabSheet>(form.get(), pc);
        edits[i] = Make<TEdit>(form.get(), pages[i], 10, 10, 100, 22);
    }
    pc->SetActivePage(pages[0]);

    form->HandleNeeded();
    EXPECT_TRUE(edits[0]->HandleAllocated());
    EXPECT_FALSE(edits[1]->HandleAllocated());
    EXPECT_FALSE(edits[2]->HandleAllocated());
    // Turning to a page makes its controls at once.
    pc->SetActivePage(pages[2]);
    EXPECT_TRUE(edits[2]->HandleAllocated());
    // The rest come once the windows have painted; one wanted earlier makes its own.
    EXPECT_TRUE(PumpUntil([&] { return edits[1]->HandleAllocated(); }));
    EXPECT_EQ(GetParent(edits[1]->Handle()), pages[1]->Handle());
}
