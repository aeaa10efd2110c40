// Buttons, check boxes and group boxes in FromThemeFile read their pictures
// and colours from the theme file instead of the built-in tables.

#include "ButtonTestSupport.h"

#include "../../native/skin/ThemeFileWriter.h"

#include <filesystem>
#include <fstream>

using namespace button_test;
using theme_test::ThemeFileWriter;

namespace {

// count frames of w x h side by side, frame i filled with colours[i].
std::vector<std::uint8_t> Strip(int w, int h, std::initializer_list<TColor> colours) {
    TBitmap b(w * int(colours.size()), h);
    int x = 0;
    for (TColor c : colours) {
        for (int y = 0; y < h; ++y)
            for (int i = 0; i < w; ++i)
                b.SetPixel(x + i, y, c);
        x += w;
    }
    return b.SaveToBytes();
}

class ThemeOnDisk {
  public:
    ThemeOnDisk() {
        file_ = std::filesystem::temp_directory_path() /
                (L"lanan-buttons-" + std::to_wstring(GetCurrentProcessId()) + L".theme");
        const auto bytes =
            ThemeFileWriter()
                .Image("ButtonImage", Strip(3, 5, {clRed, clLime, clBlue}))
                .Bool("ButtonTransparentBool", 0)
                .Image("CheckBoxImage", Strip(2, 4, {clMaroon, clGreen, clNavy, clOlive}))
                .Int("ControlBorderColor", 0x123456)
                .Int("ControlFontColor", 0x654321)
                .Build();
        std::ofstream out(file_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    ~ThemeOnDisk() {
        std::error_code ec;
        std::filesystem::remove(file_, ec);
    }
    std::wstring Path() const { return file_.wstring(); }

  private:
    std::filesystem::path file_;
};

} // namespace

TEST(SkinButtonsThemeFile, PicturesAndColoursComeFromTheLoadedTheme) {
    ThemeOnDisk disk;
    auto form = ShownForm();
    auto* theme = new TsuiFileTheme(form.get());
    theme->SetThemeFile(disk.Path());
    ASSERT_TRUE(theme->IsLoaded());

    auto* b = Put<TsuiButton>(*form, 10, 10);
    b->SetUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_TRUE(b->Transparent());
    b->SetFileTheme(theme);
    b->SetUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_FALSE(b->Transparent()); // the file says so
    EXPECT_EQ(clRed, Painted(*b)->Pixel(40, 13));
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(clLime, Painted(*b)->Pixel(40, 13));
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_EQ(clBlue, Painted(*b)->Pixel(40, 13));
    b->Perform(CM_MOUSELEAVE);
    ReleaseCapture();

    auto* box = Put<TsuiCheckBox>(*form, 10, 50);
    box->SetFileTheme(theme);
    box->SetUIStyle(TsuiUIStyle::FromThemeFile);
    auto picture = [&] { return Painted(*box)->Pixel(1, box->Height() / 2); };
    EXPECT_EQ(clGreen, picture());
    box->SetChecked(true);
    EXPECT_EQ(clMaroon, picture());
    box->SetEnabled(false);
    EXPECT_EQ(clNavy, picture());
    box->SetChecked(false);
    EXPECT_EQ(clOlive, picture());

    auto* group = Put<TsuiGroupBox>(*form, 10, 80);
    group->SetFileTheme(theme);
    group->SetUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(TColor(0x123456), group->BorderColor());
    EXPECT_EQ(TColor(0x654321), group->Font().Color());

    // Without its theme everything is DeepBlue again.
    theme->Free();
    EXPECT_EQ(TsuiUIStyle::DeepBlue, group->UIStyle());
    EXPECT_EQ(TColor(0x000000), group->BorderColor());
    TBitmap deepBlue;
    GetBuiltInThemeBitmap(TsuiUIStyle::DeepBlue, ThemeElement::CheckBoxImage, &deepBlue, 4, 4);
    EXPECT_EQ(
        deepBlue.Pixel(0, deepBlue.Height() / 2),
        Painted(*box)->Pixel(1, (box->Height() - deepBlue.Height()) / 2 + deepBlue.Height() / 2));
}
