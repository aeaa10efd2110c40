// The skinned popup menu and what it shares with the skinned main menu:
// owner-drawn items with a side bar, the style's colours for the selected
// item, a check-mark bitmap and optional images. The menus differ only in
// where the check mark comes from and in the main menu's tie to the frame.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/Menus.h"

#include <string>

class IsuiFormFrame;

template <class Base> class TsuiMenuSkin : public TsuiStyled<Base> {
  public:
    // Always owner-drawn; writing is ignored.
    bool OwnerDraw() const { return true; }
    void SetOwnerDraw(bool) override {}

    // Ignored in MacOS, whose artwork fixes the heights.
    int MenuItemHeight() const { return menuItemHeight_; }
    void SetMenuItemHeight(int v);
    int SeparatorHeight() const { return separatorHeight_; }
    void SetSeparatorHeight(int v);
    int BarWidth() const { return barWidth_; }
    void SetBarWidth(int v) { barWidth_ = v; }
    TColor BarColor() const { return barColor_; }
    void SetBarColor(TColor v) { barColor_ = v; }
    TColor Color() const { return color_; }
    void SetColor(TColor v) { color_ = v; }
    TColor SeparatorColor() const { return separatorColor_; }
    void SetSeparatorColor(TColor v) { separatorColor_ = v; }
    TColor SelectedBorderColor() const { return selectedBorderColor_; }
    void SetSelectedBorderColor(TColor v) { selectedBorderColor_ = v; }
    TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor v) { selectedColor_ = v; }
    TColor SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(TColor v) { selectedFontColor_ = v; }
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor v) { fontColor_ = v; }
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v) { borderColor_ = v; }
    // Frames the open menu's window flat on the screen.
    bool FlatMenu() const { return flatMenu_; }
    void SetFlatMenu(bool v) { flatMenu_ = v; }
    const std::wstring& FontName() const { return fontName_; }
    void SetFontName(const std::wstring& v) { fontName_ = v; }
    int FontSize() const { return fontSize_; }
    void SetFontSize(int v) { fontSize_ = v; }
    TFontCharset FontCharset() const { return fontCharset_; }
    void SetFontCharset(TFontCharset v) { fontCharset_ = v; }
    bool UseSystemFont() const { return useSystemFont_; }
    virtual void SetUseSystemFont(bool v) { useSystemFont_ = v; }

    // The font items are drawn with: the system menu font, or FontName,
    // FontSize and FontCharset.
    void ItemFont(TFont& font) const;
    // Gives every item, at every level, the skin's measure and draw
    // handlers. Loading does it; items added later need this call.
    void InstallItemHandlers();

  protected:
    explicit TsuiMenuSkin(TComponent* owner);
    void ApplyStyle() override;
    void Loaded() override;
    // The picture list the check mark is drawn from (image 0).
    virtual const TImageList& CheckMarks() const = 0;

  private:
    void InstallHandlers(TMenuItem& parent);
    void MeasureItem(const TMenuItem& item, TCanvas& canvas, int& width, int& height);
    void DrawItem(const TMenuItem& item, TCanvas& canvas, const RECT& r, TOwnerDrawState state);
    void DrawBackground(TCanvas& canvas, const RECT& r, bool selected, int macRows) const;
    void FrameMenuWindow(TCanvas& canvas) const;

    int menuItemHeight_ = 21;
    int separatorHeight_ = 21;
    int barWidth_ = 0;
    TColor barColor_ = clBtnFace;
    TColor color_ = 0xFFFFFF;
    TColor separatorColor_ = 0x808080;
    TColor selectedBorderColor_ = clHighlight;
    TColor selectedColor_ = clHighlight;
    TColor selectedFontColor_ = 0xFFFFFF;
    TColor fontColor_ = 0xFFFFFF;
    TColor borderColor_ = 0;
    bool flatMenu_ = false;
    std::wstring fontName_ = L"MS Sans Serif";
    int fontSize_ = 8;
    TFontCharset fontCharset_ = DEFAULT_CHARSET;
    bool useSystemFont_ = true;
};

// The check-mark bitmap added to list, white as the transparent colour.
void AddMenuCheckMark(TImageList& list);

// The published properties both skinned menus share, in their order.
template <class T> void PublishMenuProperties(TClassBuilder<T>& b) {
    b.Property(L"OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw)
        .With(PublishStyle<T>)
        .Property(L"MenuItemHeight", &T::MenuItemHeight, &T::SetMenuItemHeight)
        .Property(L"SeparatorHeight", &T::SeparatorHeight, &T::SetSeparatorHeight)
        .Property(L"BarWidth", &T::BarWidth, &T::SetBarWidth)
        .Color(L"BarColor", &T::BarColor, &T::SetBarColor)
        .Color(L"Color", &T::Color, &T::SetColor)
        .Color(L"SeparatorColor", &T::SeparatorColor, &T::SetSeparatorColor)
        .Color(L"SelectedBorderColor", &T::SelectedBorderColor, &T::SetSelectedBorderColor)
        .Color(L"SelectedColor", &T::SelectedColor, &T::SetSelectedColor)
        .Color(L"SelectedFontColor", &T::SelectedFontColor, &T::SetSelectedFontColor)
        .Color(L"FontColor", &T::FontColor, &T::SetFontColor)
        .Color(L"BorderColor", &T::BorderColor, &T::SetBorderColor)
        .Property(L"FlatMenu", &T::FlatMenu, &T::SetFlatMenu)
        .Property(L"FontName", &T::FontName, &T::SetFontName)
        .Property(L"FontSize", &T::FontSize, &T::SetFontSize)
        .Property(L"FontCharset", &T::FontCharset, &T::SetFontCharset)
        .Property(L"UseSystemFont", &T::UseSystemFont, &T::SetUseSystemFont);
}

extern template class TsuiMenuSkin<TPopupMenu>;
extern template class TsuiMenuSkin<TMainMenu>;

class TsuiPopupMenu : public TsuiMenuSkin<TPopupMenu> {
  public:
    explicit TsuiPopupMenu(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

  protected:
    // One list for every popup menu.
    const TImageList& CheckMarks() const override;
};
