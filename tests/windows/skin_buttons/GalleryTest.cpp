// One window per style with every button kind in each state, saved under
// build/screens for a person to look at.

#include "ButtonTestSupport.h"

#include "framework/Screenshot.h"

#include <filesystem>

using namespace button_test;

namespace {

std::unique_ptr<TBitmap> Swatch(TColor fill, TColor ring) {
    auto b = std::make_unique<TBitmap>(24, 24);
    b->Fill(clFuchsia);
    TCanvas& c = b->Canvas();
    c.Brush().SetColor(fill);
    c.Pen().SetColor(ring);
    c.Ellipse(1, 1, 23, 23);
    return b;
}

void DrawHouseGlyph(TBitmap& g) {
    // Two frames: enabled in colour, disabled in grey; the corner is the key.
    g.SetSize(32, 16);
    g.Fill(clFuchsia);
    TCanvas& c = g.Canvas();
    for (int frame = 0; frame < 2; ++frame) {
        const int x = frame * 16;
        c.Brush().SetColor(frame ? clGray : 0x2060C0);
        c.Pen().SetColor(frame ? clGray : 0x103060);
        const POINT roof[] = {{x + 1, 8}, {x + 8, 1}, {x + 15, 8}};
        c.Polygon(roof);
        c.Brush().SetColor(frame ? clSilver : 0x40A0F0);
        c.Rectangle(x + 3, 8, x + 13, 15);
    }
}

template <class T> T* Labelled(TWinControl& parent, int x, int y, const wchar_t* caption) {
    T* c = Put<T>(parent, x, y);
    c->SetCaption(caption);
    return c;
}

void ShowGallery(TsuiUIStyle style, const wchar_t* file) {
    TOwned<TForm> form(new TForm(nullptr));
    form->SetCaption(std::wstring(L"按钮 ") + std::wstring(TsuiUIStyleName(style)));
    form->SetBorderStyle(bsSingle);
    form->SetBounds(8, 8, 600, 420);
    form->SetClientWidth(580);
    form->SetClientHeight(380);
    form->SetColor(GetBuiltInThemeColor(style, ThemeElement::FormBackgroundColor));
    form->Font().SetName(L"MS Sans Serif");
    form->Font().SetHeight(-11);

    TBitmap house;
    DrawHouseGlyph(house);
    // Push buttons: normal, hot, pressed, disabled, focused, with a glyph.
    const wchar_t* names[] = {L"普通", L"悬停", L"按下", L"禁用", L"焦点", L"图标"};
    std::vector<TsuiButton*> buttons;
    for (int i = 0; i < 6; ++i) {
        auto* b = Labelled<TsuiButton>(*form, 10 + i * 92, 10, names[i]);
        b->SetUIStyle(style);
        buttons.push_back(b);
    }
    buttons[5]->SetGlyph(house);
    buttons[3]->SetEnabled(false);
    auto* disabledGlyph = Labelled<TsuiButton>(*form, 10, 44, L"禁用图标");
    disabledGlyph->SetUIStyle(style);
    disabledGlyph->SetBounds(10, 44, 100, 27);
    disabledGlyph->SetGlyph(house);
    disabledGlyph->SetEnabled(false);
    auto* topGlyph = Labelled<TsuiButton>(*form, 120, 44, L"上图标");
    topGlyph->SetUIStyle(style);
    topGlyph->SetBounds(120, 44, 80, 44);
    topGlyph->SetLayout(blGlyphTop);
    topGlyph->SetGlyph(house);

    // Image buttons: normal and hot pictures of their own.
    auto* image = Put<TsuiImageButton>(*form, 220, 50, 24, 24);
    image->PicNormal().SetGraphic(Swatch(0x40C040, 0x206020));
    image->PicMouseOn().SetGraphic(Swatch(0x40E0FF, 0x2080A0));
    auto* imageHot = Put<TsuiImageButton>(*form, 252, 50, 24, 24);
    imageHot->PicNormal().SetGraphic(Swatch(0x40C040, 0x206020));
    imageHot->PicMouseOn().SetGraphic(Swatch(0x40E0FF, 0x2080A0));

    // Check boxes and radio buttons: unchecked, checked, disabled both ways, focused.
    const wchar_t* states[] = {L"未选", L"已选", L"禁用未选", L"禁用已选", L"焦点"};
    std::vector<TsuiCheckBox*> boxes;
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 5; ++i) {
            TsuiCheckBox* c = row == 0
                                  ? Labelled<TsuiCheckBox>(*form, 10 + i * 110, 100, states[i])
                                  : Labelled<TsuiRadioButton>(*form, 10 + i * 110, 126, states[i]);
            c->SetUIStyle(style);
            if (row == 1) static_cast<TsuiRadioButton*>(c)->SetGroupIndex(i);
            c->SetChecked(i == 1 || i == 3 || i == 4);
            c->SetEnabled(i < 2 || i == 4);
            boxes.push_back(c);
        }

    // Group boxes, a radio group and a check group.
    auto* group = Labelled<TsuiGroupBox>(*form, 10, 160, L"贷款输入");
    group->SetBounds(10, 160, 180, 90);
    auto* inside = Labelled<TsuiCheckBox>(*group, 10, 24, L"组内复选");
    inside->SetChecked(true);
    Labelled<TsuiButton>(*group, 10, 52, L"组内按钮");
    auto* disabledGroup = Labelled<TsuiGroupBox>(*form, 200, 160, L"禁用分组");
    disabledGroup->SetBounds(200, 160, 180, 90);
    Labelled<TsuiRadioButton>(*disabledGroup, 10, 24, L"组内单选")->SetChecked(true);
    Labelled<TsuiButton>(*disabledGroup, 10, 52, L"组内按钮");
    auto* empty = Put<TsuiGroupBox>(*form, 390, 160, 180, 90);
    for (TsuiGroupBox* g : {group, disabledGroup, empty})
        g->SetUIStyle(style);
    disabledGroup->SetEnabled(false);

    auto* radios = Labelled<TsuiRadioGroup>(*form, 10, 260, L"输入方式");
    radios->SetBounds(10, 260, 305, 49);
    radios->SetColumns(2);
    radios->Items().Assign(std::vector<std::wstring>{L"按贷款总额", L"按面积单价"});
    radios->SetUIStyle(style);
    radios->SetItemIndex(1);
    auto* checks = Labelled<TsuiCheckGroup>(*form, 325, 260, L"选项");
    checks->SetBounds(325, 260, 245, 110);
    checks->Items().Assign(std::vector<std::wstring>{L"一", L"二", L"三", L"四"});
    checks->SetColumns(2);
    checks->SetUIStyle(style);
    checks->ItemButton(1)->SetChecked(true);

    form->Show();
    Application->ProcessMessages();
    // Hot by the pointer's arrival; pressed by a key held down (no capture to lose).
    buttons[1]->Perform(CM_MOUSEENTER);
    imageHot->Perform(CM_MOUSEENTER);
    buttons[2]->SetFocus();
    buttons[2]->Perform(WM_KEYDOWN, VK_SPACE);
    buttons[4]->SetFocus();
    ASSERT_TRUE(buttons[2]->Pressed());
    ASSERT_TRUE(buttons[1]->Hot());
    form->Repaint();
    PumpFor(100);
    const auto saved = SaveWindowScreenshot(form->Handle(), file);
    EXPECT_TRUE(std::filesystem::exists(saved));
    form->Hide();
}

} // namespace

TEST(SkinButtonsGallery, BlueGlass) {
    ShowGallery(TsuiUIStyle::BlueGlass, L"skin-buttons-blueglass");
}

TEST(SkinButtonsGallery, WinXP) {
    ShowGallery(TsuiUIStyle::WinXP, L"skin-buttons-winxp");
}
