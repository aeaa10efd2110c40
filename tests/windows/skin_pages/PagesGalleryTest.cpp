// One window per style with the page controls of the calculator: the three
// tabs of the main window, and a narrow control whose tabs need the arrows.
// Saved under build/screens for a person to look at.

#include "PagesTestSupport.h"

#include "framework/Screenshot.h"

#include <filesystem>

using namespace pages_test;

namespace {

TsuiTabSheet* AddPage(TForm& form, TsuiPageControl& pc, const std::wstring& caption) {
    auto* page = new TsuiTabSheet(&form);
    page->SetCaption(caption);
    page->SetParent(&pc);
    return page;
}

// A plain panel on a page, so the page's extent shows.
void AddContent(TForm& form, TsuiTabSheet& page, const std::wstring& text) {
    auto* panel = Make<TPanel>(&form, &page, 12, 12, 180, 28);
    panel->SetCaption(text);
}

std::filesystem::path SaveGallery(TsuiUIStyle style, const std::wstring& name) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetCaption(L"Page control — " + std::wstring(TsuiUIStyleName(style)));
    form->SetClientWidth(560);
    form->SetClientHeight(330);
    form->SetColor(GetBuiltInThemeColor(style, ThemeElement::FormBackgroundColor));

    auto* main = Make<TsuiPageControl>(form.get(), 8, 8, 544, 170);
    main->SetUIStyle(style);
    TsuiTabSheet* first = AddPage(*form, *main, L"等额本息");
    AddPage(*form, *main, L"等额本金");
    AddPage(*form, *main, L"浮动年利率");
    main->SetActivePage(first);
    AddContent(*form, *first, L"等额本息");

    auto* narrow = Make<TsuiPageControl>(form.get(), 8, 190, 300, 130);
    narrow->SetUIStyle(style);
    std::vector<TsuiTabSheet*> years;
    for (int i = 1; i <= 12; ++i)
        years.push_back(AddPage(*form, *narrow, L"第" + std::to_wstring(i) + L"年"));
    narrow->SetActivePage(years[1]);
    AddContent(*form, *years[1], L"第2年");

    form->Show();
    Application->ProcessMessages();
    EXPECT_FALSE(main->TabPanel().ArrowsNeeded());
    EXPECT_TRUE(narrow->TabPanel().ArrowsNeeded());
    return SaveWindowScreenshot(form->Handle(), name);
}

} // namespace

TEST(PagesGallery, BlueGlassWindow) {
    const auto file = SaveGallery(TsuiUIStyle::BlueGlass, L"skin-pages-blueglass");
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST(PagesGallery, WinXPWindow) {
    const auto file = SaveGallery(TsuiUIStyle::WinXP, L"skin-pages-winxp");
    EXPECT_TRUE(std::filesystem::exists(file));
}
