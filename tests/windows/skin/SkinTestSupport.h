#pragma once

// Stand-ins for the skinned classes that live above the engine, bitmaps
// whose pixels name their own coordinates, and theme files on disk.

#include "skin/SUIImagePanel.h"
#include "skin/SUIStyleLink.h"

#include "framework/Forms.h"
#include "framework/Utils.h"

#include "../../native/skin/ThemeFileWriter.h"
#include "../support/HostForm.h"
#include "../support/TestFormFrame.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace skin_test {

// A skinned control the way every Tsui control does it: style from the
// owner form once parented, element 15 read through its style link, which
// re-applies the style when the theme is set and falls back when the theme goes.
class TsuiTestControl : public TsuiStyled<TCustomControl> {
  public:
    explicit TsuiTestControl(TComponent* owner) : TsuiStyled(owner) {
        SetControlStyle(ControlStyle().Include(csAcceptsControls));
    }
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TsuiTestControl>(L"TsuiTestControl", &TCustomControl::StaticClass())
                .With(PublishStyle<TsuiTestControl>)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }

    void SetUIStyle(TsuiUIStyle s) override {
        ++styleSets;
        TsuiStyled::SetUIStyle(s);
    }
    void SetFileTheme(TsuiFileTheme* t) override {
        ++themeSets;
        TsuiStyled::SetFileTheme(t);
    }

    int styleSets = 0;
    int themeSets = 0;
    int applied = 0;
    bool fromFile = false;
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    TColor background = 0;

  protected:
    void ApplyStyle() override {
        ++applied;
        fromFile = StyleLink().Resolve(effective);
        background = StyleLink().Color(ThemeElement::FormBackgroundColor);
    }
};

// Publishes UIStyle but no FileTheme: propagation passes it by, but not its children.
class THalfSkinnedBox : public TCustomControl {
  public:
    explicit THalfSkinnedBox(TComponent* owner) : TCustomControl(owner) {
        SetControlStyle(ControlStyle().Include(csAcceptsControls));
    }
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<THalfSkinnedBox>(L"THalfSkinnedBox", &TCustomControl::StaticClass())
                .Enum(L"UIStyle", &THalfSkinnedBox::UIStyle, &THalfSkinnedBox::SetUIStyle,
                      UIStyleEnum())
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    TsuiUIStyle UIStyle() const { return style_; }
    void SetUIStyle(TsuiUIStyle s) {
        style_ = s;
        ++styleSets;
    }
    int styleSets = 0;

  private:
    TsuiUIStyle style_ = TsuiUIStyle::MacOS;
};

// Refers to a theme like a skinned control, but is none, so a reloading
// theme leaves it alone.
class TOtherThemedControl : public TCustomControl {
  public:
    explicit TOtherThemedControl(TComponent* owner) : TCustomControl(owner) {}
    static const TClassInfo& StaticClass() {
        static const TClassInfo& info =
            TClassBuilder<TOtherThemedControl>(L"TOtherThemedControl",
                                               &TCustomControl::StaticClass())
                .Component(L"FileTheme", &TOtherThemedControl::FileTheme,
                           &TOtherThemedControl::SetFileTheme)
                .Build();
        return info;
    }
    const TClassInfo& ClassType() const override { return StaticClass(); }
    TsuiFileTheme* FileTheme() const { return theme_; }
    void SetFileTheme(TsuiFileTheme* t) {
        theme_ = t;
        ++themeSets;
    }
    int themeSets = 0;

  private:
    TsuiFileTheme* theme_ = nullptr;
};

// Pixel (x, y) has red x and green y; blue tells bitmaps apart. Never magenta.
inline TColor Coded(int x, int y, int tag = 0x40) {
    return RGBToColor(std::uint8_t(x), std::uint8_t(y), std::uint8_t(tag));
}
inline void FillCoded(TBitmap& b, int tag = 0x40) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, Coded(x, y, tag));
}
inline int CodedX(TColor c) {
    return int(c & 0xFF);
}
inline int CodedY(TColor c) {
    return int((c >> 8) & 0xFF);
}

// A folder of its own under the temporary folder, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        path_ = std::filesystem::temp_directory_path() /
                (L"lanan-skin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++counter_));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path Write(const std::wstring& name,
                                const std::vector<std::uint8_t>& bytes) const {
        return WriteFile(path_ / name, bytes);
    }
    static std::filesystem::path WriteFile(const std::filesystem::path& file,
                                           const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return file;
    }

  private:
    std::filesystem::path path_;
    static inline int counter_ = 0;
};

// A real .bmp of w x h in one colour, for image entries of theme files.
inline std::vector<std::uint8_t> SolidBmp(int w, int h, TColor color) {
    TBitmap b(w, h);
    b.Fill(color);
    return b.SaveToBytes();
}

} // namespace skin_test
