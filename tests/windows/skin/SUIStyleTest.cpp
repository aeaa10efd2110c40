// Where a control's look comes from: its style, its file theme, the form
// frame of its form, and a style handed down a tree of controls.

#include "SkinTestSupport.h"

#include "../support/GdiObjects.h"

using namespace skin_test;
using theme_test::ThemeFileWriter;

namespace {

// A theme file whose form background says where a colour came from.
std::filesystem::path WriteTheme(const TempFolder& dir, const std::wstring& name, TColor bg) {
    return dir.Write(name, ThemeFileWriter()
                               .Int("FormBackgroundColor", std::int32_t(bg))
                               .Int("FormBorderColor", 0x010203)
                               .Build());
}

} // namespace

TEST(ResolveThemeSource, OnlyALoadedFileThemeIsReadForFromThemeFile) {
    TempFolder dir;
    TsuiFileTheme unloaded(nullptr);
    TsuiFileTheme loaded(nullptr);
    loaded.SetThemeFile(WriteTheme(dir, L"a.theme", 0x0A0B0C).wstring());
    ASSERT_TRUE(loaded.IsLoaded());

    TsuiUIStyle effective = TsuiUIStyle::MacOS;
    EXPECT_FALSE(ResolveThemeSource(nullptr, TsuiUIStyle::FromThemeFile, effective));
    EXPECT_EQ(TsuiUIStyle::DeepBlue, effective);
    effective = TsuiUIStyle::MacOS;
    EXPECT_FALSE(ResolveThemeSource(&unloaded, TsuiUIStyle::FromThemeFile, effective));
    EXPECT_EQ(TsuiUIStyle::DeepBlue, effective);
    EXPECT_TRUE(ResolveThemeSource(&loaded, TsuiUIStyle::FromThemeFile, effective));
    EXPECT_EQ(TsuiUIStyle::FromThemeFile, effective);
    // A built-in style keeps its own table even with a loaded theme at hand.
    EXPECT_FALSE(ResolveThemeSource(&loaded, TsuiUIStyle::BlueGlass, effective));
    EXPECT_EQ(TsuiUIStyle::BlueGlass, effective);
}

TEST(ResolveThemeSource, FromThemeFileWithoutAUsableThemeLooksExactlyLikeDeepBlue) {
    TsuiTestControl c(nullptr);
    TsuiFileTheme unloaded(nullptr);
    c.SetFileTheme(&unloaded);
    c.SetUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_FALSE(c.fromFile);
    EXPECT_EQ(GetBuiltInThemeColor(TsuiUIStyle::DeepBlue, ThemeElement::FormBackgroundColor),
              c.background);
    c.SetFileTheme(nullptr);
}

TEST(GetOwnerFormStyle, FirstFormFrameAmongTheFormsDirectChildren) {
    EXPECT_EQ(TsuiUIStyle::DeepBlue, GetOwnerFormStyle(nullptr));
    TPanel notAForm(nullptr);
    EXPECT_EQ(TsuiUIStyle::DeepBlue, GetOwnerFormStyle(&notAForm));

    TOwned<TForm> form(new TForm(nullptr));
    EXPECT_EQ(TsuiUIStyle::DeepBlue, GetOwnerFormStyle(form.get())); // no frame at all

    // A frame that is not a direct child does not count.
    auto* panel = Make<TPanel>(form.get(), form.get());
    auto* nested = Make<TestFormFrame>(form.get(), panel);
    nested->SetUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(TsuiUIStyle::DeepBlue, GetOwnerFormStyle(form.get()));

    auto* first = Make<TestFormFrame>(form.get(), form.get());
    first->SetUIStyle(TsuiUIStyle::BlueGlass);
    auto* second = Make<TestFormFrame>(form.get(), form.get());
    second->SetUIStyle(TsuiUIStyle::Protein);
    EXPECT_EQ(TsuiUIStyle::BlueGlass, GetOwnerFormStyle(form.get()));
    first->SetUIStyle(TsuiUIStyle::FromThemeFile); // stored, not resolved
    EXPECT_EQ(TsuiUIStyle::FromThemeFile, GetOwnerFormStyle(form.get()));
}

TEST(GetOwnerFormStyle, NewControlsTakeTheirFormsStyleWhenParentedUnlessOneWasChosen) {
    TsuiTestControl orphan(nullptr);
    EXPECT_EQ(TsuiUIStyle::DeepBlue, orphan.UIStyle());

    TOwned<TForm> form(new TForm(nullptr));
    auto* plain = Make<TsuiTestControl>(form.get(), form.get());
    EXPECT_EQ(TsuiUIStyle::DeepBlue, plain->UIStyle());

    auto* frame = Make<TestFormFrame>(form.get(), form.get());
    frame->SetUIStyle(TsuiUIStyle::BlueGlass);
    auto* later = new TsuiTestControl(form.get());
    auto* chosen = new TsuiTestControl(form.get());
    chosen->SetUIStyle(TsuiUIStyle::WinXP);
    // No style step runs in a constructor.
    EXPECT_EQ(0, later->applied);
    for (TsuiTestControl* c : {later, chosen})
        c->SetParent(form.get());
    EXPECT_EQ(TsuiUIStyle::BlueGlass, later->UIStyle());
    EXPECT_EQ(1, later->applied);
    EXPECT_EQ(GetBuiltInThemeColor(TsuiUIStyle::BlueGlass, ThemeElement::FormBackgroundColor),
              later->background);
    EXPECT_EQ(TsuiUIStyle::WinXP, chosen->UIStyle());
    // Once only: moved to another parent, a control keeps what it has.
    frame->SetUIStyle(TsuiUIStyle::MacOS);
    later->SetParent(plain);
    EXPECT_EQ(TsuiUIStyle::BlueGlass, later->UIStyle());
}

// When assigning a theme restyles: every time, only while the style reads
// the file, or only for another theme; the owner hears of the theme's end.
TEST(TsuiStyleLink, ThemeAssignmentsRestyleAsTheOwnerAsked) {
    using R = TsuiStyleLink::TThemeReapply;
    struct Case {
        R reapply;
        TsuiUIStyle style;
        int afterSameTheme, afterOtherTheme;
    };
    const Case cases[] = {
        {R::Always, TsuiUIStyle::WinXP, 2, 3},
        {R::FromThemeFile, TsuiUIStyle::WinXP, 0, 0},
        {R::FromThemeFile, TsuiUIStyle::FromThemeFile, 2, 3},
        {R::WhenChanged, TsuiUIStyle::FromThemeFile, 1, 2},
    };
    TOwned<TComponent> holder(new TComponent(nullptr));
    auto* theme = new TsuiFileTheme(holder.get());
    auto* other = new TsuiFileTheme(holder.get());
    for (const Case& c : cases) {
        TComponent owner(nullptr);
        int applied = 0;
        TsuiStyleLink link(
            owner, [&] { ++applied; }, c.reapply);
        link.SetStyle(c.style);
        applied = 0;
        link.SetFileTheme(theme);
        link.SetFileTheme(theme);
        EXPECT_EQ(c.afterSameTheme, applied) << int(c.reapply) << " " << int(c.style);
        link.SetFileTheme(other);
        EXPECT_EQ(c.afterOtherTheme, applied) << int(c.reapply) << " " << int(c.style);
        EXPECT_FALSE(link.Notification(theme, TOperation::opRemove)) << "not its theme";
        EXPECT_TRUE(link.Notification(other, TOperation::opRemove));
        EXPECT_EQ(nullptr, link.FileTheme());
        EXPECT_EQ(TsuiUIStyle::DeepBlue, link.Style());
        EXPECT_EQ(c.afterOtherTheme + 1, applied);
    }
}

TEST(ApplyStyleToChildren, ReachesNestedControlsAndSkipsThoseWithoutBothProperties) {
    TempFolder dir;
    TOwned<TForm> form(new TForm(nullptr));
    auto* theme = new TsuiFileTheme(form.get());
    theme->SetThemeFile(WriteTheme(dir, L"t.theme", 0x00123456).wstring());
    ASSERT_TRUE(theme->IsLoaded());

    auto* direct = Make<TsuiTestControl>(form.get(), form.get());
    auto* panel = Make<TPanel>(form.get(), form.get());
    auto* inner = Make<TPanel>(form.get(), panel);
    auto* deep = Make<TsuiTestControl>(form.get(), inner);
    auto* half = Make<THalfSkinnedBox>(form.get(), form.get());
    auto* underHalf = Make<TsuiTestControl>(form.get(), half);
    auto* skinnedBox = Make<TsuiTestControl>(form.get(), form.get());
    auto* underSkinned = Make<TsuiTestControl>(form.get(), skinnedBox);
    auto* other = Make<TOtherThemedControl>(form.get(), form.get());

    ApplyStyleToChildren(*form, TsuiUIStyle::FromThemeFile, theme);

    for (TsuiTestControl* c : {direct, deep, underHalf, skinnedBox, underSkinned}) {
        EXPECT_EQ(TsuiUIStyle::FromThemeFile, c->UIStyle()) << WideToUtf8(c->Name());
        EXPECT_EQ(theme, c->FileTheme());
        // The theme was in place by the time the style was set.
        EXPECT_TRUE(c->fromFile);
        EXPECT_EQ(0x00123456u, c->background);
    }
    EXPECT_EQ(0, half->styleSets);
    EXPECT_EQ(TsuiUIStyle::MacOS, half->UIStyle());
    EXPECT_EQ(0, other->themeSets);

    // Back to a built-in style: the stored style, with the theme cleared too.
    ApplyStyleToChildren(*form, TsuiUIStyle::WinXP, nullptr);
    EXPECT_EQ(TsuiUIStyle::WinXP, deep->UIStyle());
    EXPECT_EQ(nullptr, deep->FileTheme());
    EXPECT_EQ(GetBuiltInThemeColor(TsuiUIStyle::WinXP, ThemeElement::FormBackgroundColor),
              deep->background);
}

// The built-in artwork of a style is decoded once for all its users, and its
// GDI objects go when the last user leaves the style.
TEST(BuiltInArtwork, DecodedOncePerStyleSharedByItsUsersAndDroppedWithIt) {
    TComponent owner(nullptr);
    const DWORD gdiBefore = GdiObjects();
    {
        TsuiStyleLink first(owner, nullptr), second(owner, nullptr);
        TBitmap a, b;
        auto decodesFor = [&](TsuiUIStyle style) {
            const int before = BuiltInArtworkDecodes();
            first.SetStyle(style);
            second.SetStyle(style);
            for (int frame = 1; frame <= 3; ++frame) {
                first.Bitmap(ThemeElement::ButtonImage, a, frame, 3);
                second.Bitmap(ThemeElement::ButtonImage, b, frame, 3);
            }
            EXPECT_EQ(a.Pixel(5, 5), b.Pixel(5, 5));
            return BuiltInArtworkDecodes() - before;
        };
        EXPECT_EQ(1, decodesFor(TsuiUIStyle::WinXP));
        const DWORD held = GdiObjects();
        EXPECT_EQ(0, decodesFor(TsuiUIStyle::WinXP));
        // Both leave WinXP: its picture goes as MacOS's comes, and comes back decoded anew.
        EXPECT_EQ(1, decodesFor(TsuiUIStyle::MacOS));
        EXPECT_EQ(held, GdiObjects());
        EXPECT_EQ(1, decodesFor(TsuiUIStyle::WinXP));
        EXPECT_EQ(held, GdiObjects());
    }
    EXPECT_EQ(gdiBefore, GdiObjects());
}
