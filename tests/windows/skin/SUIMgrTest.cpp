// Theme files through the components: loading, replacing, refusing, the
// lookup beside the executable, re-skinning the controls that refer to a
// theme, and what those controls do when it goes away.

#include "SkinTestSupport.h"

#include "framework/FormReader.h"

using namespace skin_test;
using theme_test::ThemeFileWriter;

namespace {

std::vector<std::uint8_t> ThemeWithBorder(std::int32_t border) {
    return ThemeFileWriter()
        .Int("FormBorderColor", border)
        .Int("FormBackgroundColor", border + 1)
        .Bool("ButtonTransparentBool", 1)
        .Int("FormRoundCornerInt", 7)
        .Image("ButtonImage", SolidBmp(6, 4, clRed))
        .Build();
}

} // namespace

TEST(TsuiFileTheme, StartsUnloadedAndAnswersLikeAnEmptyManager) {
    TsuiFileTheme theme(nullptr);
    EXPECT_FALSE(theme.IsLoaded());
    EXPECT_EQ(L"", theme.ThemeFile());
    EXPECT_EQ(0u, theme.GetColor(ThemeElement::FormBorderColor));
    EXPECT_EQ(0, theme.GetInt(ThemeElement::FormRoundCornerInt));
    EXPECT_FALSE(theme.GetBool(ThemeElement::ButtonTransparentBool));
    TBitmap keep(2, 2);
    keep.Fill(clLime);
    theme.GetBitmap(ThemeElement::ButtonImage, keep);
    EXPECT_EQ(clLime, keep.Pixel(0, 0));
}

TEST(TsuiFileTheme, LoadsEveryKindOfValueAndReplacesThemOnTheNextFile) {
    TempFolder dir;
    const auto first = dir.Write(L"first.theme", ThemeWithBorder(0x112233));
    const auto second = dir.Write(L"second.theme", ThemeWithBorder(0x445566));
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(first.wstring());
    ASSERT_TRUE(theme.IsLoaded());
    EXPECT_EQ(first.wstring(), theme.ThemeFile());
    EXPECT_EQ(0x112233u, theme.GetColor(ThemeElement::FormBorderColor));
    EXPECT_EQ(7, theme.GetInt(ThemeElement::FormRoundCornerInt));
    EXPECT_TRUE(theme.GetBool(ThemeElement::ButtonTransparentBool));
    // Keys the file lacks: -1 for numbers and colours, false for booleans.
    EXPECT_EQ(-1, theme.GetInt(ThemeElement::FormMinWidthInt));
    EXPECT_EQ(0xFFFFFFFFu, theme.GetColor(ThemeElement::MenuBarColor));
    EXPECT_FALSE(theme.GetBool(ThemeElement::TitleBarButtonTransparentBool));

    TBitmap image;
    theme.GetBitmap(ThemeElement::ButtonImage, image);
    EXPECT_EQ(6, image.Width());
    EXPECT_EQ(4, image.Height());
    EXPECT_EQ(clRed, image.Pixel(5, 3));

    theme.SetThemeFile(second.wstring());
    EXPECT_EQ(second.wstring(), theme.ThemeFile());
    EXPECT_EQ(0x445566u, theme.GetColor(ThemeElement::FormBorderColor));
}

TEST(TsuiFileTheme, KeysIgnoreCaseAndTheFirstOfTwoEntriesWins) {
    TempFolder dir;
    const auto file = dir.Write(L"case.theme", ThemeFileWriter()
                                                   .Int("formbordercolor", 0x0000AB)
                                                   .Int("FormBorderColor", 0x0000CD)
                                                   .Build());
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(file.wstring());
    EXPECT_EQ(0x0000ABu, theme.GetColor(ThemeElement::FormBorderColor));
}

TEST(TsuiFileTheme, MissingOrMalformedFilesKeepThePreviousTheme) {
    TempFolder dir;
    const auto good = dir.Write(L"good.theme", ThemeWithBorder(0x0A0A0A));
    std::vector<std::uint8_t> broken = ThemeWithBorder(0x0B0B0B);
    broken.resize(30); // cut inside the first record
    const auto bad = dir.Write(L"bad.theme", broken);

    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile((dir.Path() / L"nowhere.theme").wstring());
    EXPECT_FALSE(theme.IsLoaded());
    EXPECT_EQ(L"", theme.ThemeFile());
    theme.SetThemeFile(bad.wstring());
    EXPECT_FALSE(theme.IsLoaded());

    theme.SetThemeFile(good.wstring());
    ASSERT_TRUE(theme.IsLoaded());
    for (const auto& attempt : {bad, dir.Path() / L"nowhere.theme"}) {
        theme.SetThemeFile(attempt.wstring());
        EXPECT_TRUE(theme.IsLoaded());
        EXPECT_EQ(good.wstring(), theme.ThemeFile());
        EXPECT_EQ(0x0A0A0Au, theme.GetColor(ThemeElement::FormBorderColor));
    }
}

TEST(TsuiFileTheme, MissingOrUnreadableImagesLeaveTheGraphicAlone) {
    TempFolder dir;
    const auto file =
        dir.Write(L"img.theme", ThemeFileWriter()
                                    .Image("ButtonImage", {'B', 'M', 1, 2})
                                    .Image("TabControlTabImage", SolidBmp(6, 2, clBlue))
                                    .Build());
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(file.wstring());
    ASSERT_TRUE(theme.IsLoaded());
    TBitmap b(3, 3);
    b.Fill(clLime);
    theme.GetBitmap(ThemeElement::CheckBoxImage, b); // no such key
    theme.GetBitmap(ThemeElement::ButtonImage, b);   // not a bitmap
    theme.GetBitmapFrame(ThemeElement::RadioButtonImage, b, 1, 4);
    EXPECT_EQ(3, b.Width());
    EXPECT_EQ(clLime, b.Pixel(2, 2));

    theme.GetBitmapFrame(ThemeElement::TabControlTabImage, b, 2, 2);
    EXPECT_EQ(3, b.Width());
    EXPECT_EQ(2, b.Height());
    EXPECT_EQ(clBlue, b.Pixel(2, 1));
}

TEST(TsuiFileTheme, AnUnchangedNameDoesNotReload) {
    TempFolder dir;
    const auto file = dir.Write(L"same.theme", ThemeWithBorder(0x000001));
    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(file.wstring());
    TempFolder::WriteFile(file, ThemeWithBorder(0x000002));
    theme.SetThemeFile(file.wstring());
    EXPECT_EQ(0x000001u, theme.GetColor(ThemeElement::FormBorderColor));
}

TEST(TsuiFileTheme, ABareNameIsFoundBesideTheExecutable) {
    TempFolder elsewhere;
    const std::wstring name = L"lanan-beside-" + std::to_wstring(GetCurrentProcessId()) + L".theme";
    const auto beside = std::filesystem::path(ExeDirectory()) / name;
    TempFolder::WriteFile(beside, ThemeWithBorder(0x00BE51DE));
    wchar_t saved[MAX_PATH]{};
    GetCurrentDirectoryW(MAX_PATH, saved);
    SetCurrentDirectoryW(elsewhere.Path().c_str());

    TsuiFileTheme theme(nullptr);
    theme.SetThemeFile(name);
    EXPECT_TRUE(theme.IsLoaded());
    EXPECT_EQ(0x00BE51DEu, theme.GetColor(ThemeElement::FormBorderColor));
    EXPECT_TRUE(std::filesystem::equivalent(beside, theme.ThemeFile()));

    SetCurrentDirectoryW(saved);
    std::error_code ec;
    std::filesystem::remove(beside, ec);
}

TEST(TsuiFileTheme, ALoadAssignsItselfAgainToTheFormsSkinnedControlsThatUseIt) {
    TempFolder dir;
    const auto first = dir.Write(L"1.theme", ThemeWithBorder(0x100000));
    const auto second = dir.Write(L"2.theme", ThemeWithBorder(0x200000));
    TOwned<TForm> form(new TForm(nullptr));
    auto* theme = new TsuiFileTheme(form.get());
    auto* otherTheme = new TsuiFileTheme(form.get());
    auto* user = new TsuiTestControl(form.get());
    auto* bystander = new TsuiTestControl(form.get());
    auto* unprefixed = new TOtherThemedControl(form.get());
    user->SetFileTheme(theme);
    user->SetUIStyle(TsuiUIStyle::FromThemeFile);
    bystander->SetFileTheme(otherTheme);
    unprefixed->SetFileTheme(theme);
    const int bystanderSets = bystander->themeSets;
    const int unprefixedSets = unprefixed->themeSets;

    theme->SetThemeFile(first.wstring());
    EXPECT_TRUE(user->fromFile);
    EXPECT_EQ(0x100001u, user->background);
    theme->SetThemeFile(second.wstring());
    EXPECT_EQ(0x200001u, user->background);
    EXPECT_EQ(bystanderSets, bystander->themeSets);
    EXPECT_EQ(unprefixedSets, unprefixed->themeSets);

    // A refused file re-skins nothing.
    const int userSets = user->themeSets;
    theme->SetThemeFile((dir.Path() / L"none.theme").wstring());
    EXPECT_EQ(userSets, user->themeSets);
}

TEST(TsuiFileTheme, RemovingItReturnsItsControlsToDeepBlue) {
    TempFolder dir;
    TOwned<TForm> form(new TForm(nullptr));
    auto* theme = new TsuiFileTheme(form.get());
    theme->SetThemeFile(dir.Write(L"r.theme", ThemeWithBorder(0x300000)).wstring());
    auto* keptTheme = new TsuiFileTheme(form.get());
    auto* panel = Make<TPanel>(form.get(), form.get());
    auto* nested = Make<TsuiTestControl>(form.get(), panel);
    auto* keeper = new TsuiTestControl(form.get());
    for (TsuiTestControl* c : {nested, keeper})
        c->SetUIStyle(TsuiUIStyle::FromThemeFile);
    nested->SetFileTheme(theme);
    keeper->SetFileTheme(keptTheme);
    // A control of another owner hears of it through its own request.
    TsuiTestControl stranger(nullptr);
    stranger.SetUIStyle(TsuiUIStyle::BlueGlass);
    stranger.SetFileTheme(theme);
    ASSERT_TRUE(nested->fromFile);

    theme->Free();

    for (TsuiTestControl* c : {nested, &stranger}) {
        EXPECT_EQ(nullptr, c->FileTheme());
        EXPECT_EQ(TsuiUIStyle::DeepBlue, c->UIStyle());
        EXPECT_EQ(GetBuiltInThemeColor(TsuiUIStyle::DeepBlue, ThemeElement::FormBackgroundColor),
                  c->background);
    }
    EXPECT_EQ(keptTheme, keeper->FileTheme());
    EXPECT_EQ(TsuiUIStyle::FromThemeFile, keeper->UIStyle());
}

TEST(TsuiFileTheme, IsKnownToFormDescriptions) {
    TempFolder dir;
    const auto file = dir.Write(L"desc.theme", ThemeWithBorder(0x0C0C0C));
    TOwned<TForm> form(new TForm(nullptr));
    std::wstring path = file.wstring();
    std::wstring quoted;
    for (wchar_t c : path) {
        quoted += c;
        if (c == L'\'') quoted += c;
    }
    ReadComponentText(*form,
                      L"object F: TForm\n"
                      L"  object Theme1: TsuiFileTheme\n"
                      L"    ThemeFile = '" +
                          quoted +
                          L"'\n"
                          L"  end\n"
                          L"  object Ctl1: TsuiTestControl\n"
                          L"    FileTheme = Theme1\n"
                          L"    UIStyle = FromThemeFile\n"
                          L"  end\n"
                          L"end\n",
                      L"test");
    auto* theme = dynamic_cast<TsuiFileTheme*>(form->FindComponent(L"Theme1"));
    auto* ctl = dynamic_cast<TsuiTestControl*>(form->FindComponent(L"Ctl1"));
    ASSERT_NE(nullptr, theme);
    ASSERT_NE(nullptr, ctl);
    EXPECT_TRUE(theme->IsLoaded());
    EXPECT_EQ(theme, ctl->FileTheme());
    EXPECT_TRUE(ctl->fromFile);
    EXPECT_EQ(0x0C0C0Du, ctl->background);
}
