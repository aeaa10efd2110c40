#include "skin/controls/SUIPopupMenu.h"

#include "skin/SUIFormFrame.h"
#include "skin/SUIThemes.h"

#include "framework/Forms.h"
#include "framework/Utils.h"

#include <algorithm>
#include <array>

void AddMenuCheckMark(TImageList& list) {
    TBitmap mark;
    mark.LoadFromResourceName(MainInstance(), L"MENU_CHECKED");
    list.AddMasked(mark, 0xFFFFFF);
}

namespace {

// The top rows of a MacOS menu strip stretched over r.
void DrawMacStrip(TCanvas& canvas, const RECT& r, const wchar_t* name, int rows) {
    TBitmap strip;
    strip.LoadFromResourceName(MainInstance(), name);
    canvas.CopyRect(r, strip.Canvas(), RECT{0, 0, strip.Width(), std::min(rows, strip.Height())});
}

} // namespace

// ---------------------------------------------------------------------------
// The shared look

template <class Base>
TsuiMenuSkin<Base>::TsuiMenuSkin(TComponent* owner) : TsuiStyled<Base>(owner) {
    TMenu::SetOwnerDraw(true);
    // Never parented: its own step, by name, for the owner's style.
    TsuiMenuSkin::ApplyStyle();
}

template <class Base> void TsuiMenuSkin<Base>::SetMenuItemHeight(int v) {
    if (this->UIStyle() != TsuiUIStyle::MacOS) menuItemHeight_ = v;
}

template <class Base> void TsuiMenuSkin<Base>::SetSeparatorHeight(int v) {
    if (this->UIStyle() != TsuiUIStyle::MacOS) separatorHeight_ = v;
}

template <class Base> void TsuiMenuSkin<Base>::ApplyStyle() {
    barWidth_ = 26;
    const bool mac = this->UIStyle() == TsuiUIStyle::MacOS;
    menuItemHeight_ = mac ? 20 : 21;
    separatorHeight_ = mac ? 12 : 5;
    separatorColor_ = mac ? 0x000000 : 0x848284;
    const TsuiStyleLink& link = this->StyleLink();
    barColor_ = link.Color(ThemeElement::MenuBarColor);
    color_ = link.Color(ThemeElement::MenuBackgroundColor);
    fontColor_ = link.Color(ThemeElement::MenuFontColor);
    selectedBorderColor_ = link.Color(ThemeElement::MenuSelectedBorderColor);
    selectedColor_ = link.Color(ThemeElement::MenuSelectedBackgroundColor);
    selectedFontColor_ = link.Color(ThemeElement::MenuSelectedFontColor);
}

template <class Base> void TsuiMenuSkin<Base>::Loaded() {
    Base::Loaded();
    InstallItemHandlers();
}

template <class Base> void TsuiMenuSkin<Base>::ItemFont(TFont& font) const {
    if (useSystemFont_) {
        GetMenuFont(font);
        return;
    }
    font.SetName(fontName_);
    font.SetSize(fontSize_);
    font.SetCharset(fontCharset_);
    font.SetStyle({});
}

template <class Base> void TsuiMenuSkin<Base>::InstallItemHandlers() {
    InstallHandlers(*this->Items());
}

template <class Base> void TsuiMenuSkin<Base>::InstallHandlers(TMenuItem& parent) {
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        item->OnMeasureItem = [this](TObject* s, TCanvas& canvas, int& w, int& h) {
            MeasureItem(*static_cast<TMenuItem*>(s), canvas, w, h);
        };
        item->OnAdvancedDrawItem = [this](TObject* s, TCanvas& canvas, const RECT& r,
                                          TOwnerDrawState state) {
            DrawItem(*static_cast<TMenuItem*>(s), canvas, r, state);
        };
        InstallHandlers(*item);
    }
}

template <class Base>
void TsuiMenuSkin<Base>::MeasureItem(const TMenuItem& item, TCanvas& canvas, int& width,
                                     int& height) {
    ItemFont(canvas.Font());
    height = item.IsLine() ? separatorHeight_ : menuItemHeight_;
    width = canvas.TextWidth(item.Caption()) + canvas.TextWidth(ShortCutToText(item.ShortCut())) +
            barWidth_ + 40;
}

template <class Base>
void TsuiMenuSkin<Base>::DrawBackground(TCanvas& canvas, const RECT& r, bool selected,
                                        int macRows) const {
    const bool mac = this->UIStyle() == TsuiUIStyle::MacOS;
    if (selected) {
        if (mac) {
            DrawMacStrip(canvas, r, L"MACOS_MENU_SELECT", macRows);
        } else {
            canvas.Brush().SetColor(selectedColor_);
            canvas.FillRect(r);
            canvas.Brush().SetColor(selectedBorderColor_);
            canvas.FrameRect(r);
        }
        return;
    }
    if (mac) {
        DrawMacStrip(canvas, r, L"MACOS_MENU_BAR", macRows);
        return;
    }
    if (barWidth_ > 0) {
        canvas.Brush().SetColor(barColor_);
        canvas.FillRect(RECT{r.left, r.top, r.left + barWidth_, r.bottom});
    }
    canvas.Brush().SetColor(color_);
    canvas.FillRect(RECT{r.left + barWidth_, r.top, r.right, r.bottom});
}

// Flat look: the open menu's window gets a thin frame over the system's
// raised border, drawn on that window's own DC (border included) rather
// than on the desktop, so nothing lands outside the menu.
template <class Base> void TsuiMenuSkin<Base>::FrameMenuWindow(TCanvas& canvas) const {
    HWND menuWindow = WindowFromDC(canvas.Handle());
    if (!menuWindow) return;
    RECT screen;
    GetWindowRect(menuWindow, &screen);
    const RECT w{0, 0, screen.right - screen.left, screen.bottom - screen.top};
    WindowDC frame(menuWindow, true);
    if (!frame) return;
    {
        TCanvas out(frame.Get());
        RECT outer{w.left, w.top + 1, w.right - 1, w.bottom - 1};
        out.Brush().SetColor(clBlack);
        out.FrameRect(outer);
        out.Brush().SetColor(0xFFFFFF);
        out.FrameRect(RECT{outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1});
        out.Pen().SetColor(this->StyleLink().Color(ThemeElement::FormBackgroundColor));
        const std::array<POINT, 5> edge{POINT{w.left, w.bottom - 1},
                                        {w.right - 1, w.bottom - 1},
                                        {w.right - 1, w.top},
                                        {w.right, w.top},
                                        {w.left, w.top}};
        out.Polyline(edge);
        out.SetHandle(nullptr);
    }
}

template <class Base>
void TsuiMenuSkin<Base>::DrawItem(const TMenuItem& item, TCanvas& canvas, const RECT& r,
                                  TOwnerDrawState state) {
    if (flatMenu_) FrameMenuWindow(canvas);
    const bool mac = this->UIStyle() == TsuiUIStyle::MacOS;
    if (item.IsLine()) {
        if (mac) {
            DrawMacStrip(canvas, r, L"MACOS_MENU_BAR", 12);
            return;
        }
        DrawBackground(canvas, r, false, 0);
        canvas.Pen().SetColor(separatorColor_);
        canvas.MoveTo(r.left + barWidth_ + 4, r.top + 2);
        canvas.LineTo(r.right - 2, r.top + 2);
        return;
    }
    const bool disabled = !item.Enabled() || state.Contains(odDisabled) || state.Contains(odGrayed);
    const bool selected = state.Contains(odSelected) && !disabled;
    DrawBackground(canvas, r, selected, 20);

    ItemFont(canvas.Font());
    canvas.Font().SetColor(disabled   ? TColor(0x808080)
                           : selected ? selectedFontColor_
                                      : fontColor_);
    if (item.Default()) canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    canvas.Brush().SetStyle(bsClear);
    RECT text{r.left + barWidth_ + 4, r.top + 4, r.right, r.bottom};
    canvas.DrawText(item.Caption(), text, DT_SINGLELINE);
    const std::wstring shortCut = ShortCutToText(item.ShortCut());
    if (!shortCut.empty())
        canvas.TextOut(r.right - canvas.TextWidth(shortCut) - 16, r.top + 4, shortCut);

    const TImageList* images = TMenu::Images();
    const int index = item.ImageIndex();
    const bool hasImage = index != -1 && images && index < images->Count();
    if (item.Checked()) {
        if (hasImage) {
            canvas.Brush().SetColor(clBlack);
            canvas.FrameRect(RECT{r.left + 2, r.top + 1, r.left + 21, r.top + 20});
            canvas.Brush().SetColor(selectedColor_);
            canvas.FillRect(RECT{r.left + 3, r.top + 2, r.left + 20, r.top + 19});
        } else {
            CheckMarks().Draw(canvas, r.left + 4, r.top + 3, 0, !disabled);
        }
    }
    if (hasImage) images->Draw(canvas, r.left + 4, r.top + 3, index, !disabled);
}

template class TsuiMenuSkin<TPopupMenu>;
template class TsuiMenuSkin<TMainMenu>;

// ---------------------------------------------------------------------------
// TsuiPopupMenu

const TClassInfo& TsuiPopupMenu::StaticClass() {
    static const TClassInfo& info = []() -> const TClassInfo& {
        TClassBuilder<TsuiPopupMenu> b(L"TsuiPopupMenu", &TPopupMenu::StaticClass());
        PublishMenuProperties(b);
        return b.Build();
    }();
    return info;
}

TsuiPopupMenu::TsuiPopupMenu(TComponent* owner) : TsuiMenuSkin(owner) {}

const TImageList& TsuiPopupMenu::CheckMarks() const {
    static TImageList shared(16, 16);
    if (shared.Count() == 0) AddMenuCheckMark(shared);
    return shared;
}
