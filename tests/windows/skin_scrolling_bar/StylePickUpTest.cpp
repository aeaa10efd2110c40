// Where a list box and a memo take their style from: the owner form's frame
// once they are parented or loaded, unless a style was stored for them; the
// bars linked to them follow.

#include "../support/HostForm.h"
#include "../support/TestFormFrame.h"

#include "skin/controls/SUIListControls.h"
#include "skin/controls/SUIScrollBar.h"

#include "framework/FormReader.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TColor BarColor(TsuiUIStyle style) {
    return GetBuiltInThemeColor(style, ThemeElement::ScrollBarBackgroundColor);
}

} // namespace

TEST(SkinStylePickUp, ListBoxAndMemoMadeInCodeTakeTheFormsStyleWithTheirBars) {
    using Link = std::function<void(TsuiScrollBar*)>;
    HostForm host;
    TestFormFrame* frame = FillWithTestFrame(host.get(), TsuiUIStyle::BlueGlass);
    auto* list = new TsuiListBox(host.get());
    auto* memo = new TsuiMemo(host.get());
    const struct {
        TWinControl* control;
        IsuiStyled* styled;
        Link link;
    } cases[] = {
        {list, list, [list](TsuiScrollBar* b) { list->SetVScrollBar(b); }},
        {memo, memo, [memo](TsuiScrollBar* b) { memo->SetHScrollBar(b); }},
    };
    for (const auto& c : cases) {
        auto* bar = new TsuiScrollBar(host.get());
        c.link(bar);
        c.control->SetParent(frame);
        EXPECT_EQ(TsuiUIStyle::BlueGlass, c.styled->UIStyle())
            << WideToUtf8(c.control->ClassName());
        // The control's own style step ran: it styles the bar it carries.
        EXPECT_EQ(TsuiUIStyle::BlueGlass, bar->UIStyle());
        EXPECT_EQ(BarColor(TsuiUIStyle::BlueGlass), bar->Color());
    }
}

TEST(SkinStylePickUp, LoadedControlsTakeTheFrameStyleUnlessOneIsStored) {
    TOwned<TForm> form(new TForm(nullptr));
    ReadComponentText(*form,
                      L"object F: TForm\n"
                      L"  object suiForm1: TsuiForm\n"
                      L"    UIStyle = BlueGlass\n"
                      L"    UIStyleAutoUpdateSub = False\n"
                      L"    object L: TsuiListBox\n"
                      L"      VScrollBar = B\n"
                      L"    end\n"
                      L"    object M: TsuiMemo\n"
                      L"      UIStyle = WinXP\n"
                      L"      VScrollBar = B2\n"
                      L"    end\n"
                      L"    object B: TsuiScrollBar\n"
                      L"    end\n"
                      L"    object B2: TsuiScrollBar\n"
                      L"    end\n"
                      L"  end\n"
                      L"end\n",
                      L"test");
    const struct {
        const wchar_t* control;
        const wchar_t* bar;
        TsuiUIStyle style;
    } cases[] = {
        {L"L", L"B", TsuiUIStyle::BlueGlass},
        {L"M", L"B2", TsuiUIStyle::WinXP},
    };
    for (const auto& c : cases) {
        auto* control = dynamic_cast<IsuiStyled*>(form->FindComponent(c.control));
        auto* bar = dynamic_cast<TsuiScrollBar*>(form->FindComponent(c.bar));
        ASSERT_TRUE(control && bar);
        EXPECT_EQ(c.style, control->UIStyle()) << WideToUtf8(c.control);
        EXPECT_EQ(c.style, bar->UIStyle());
        EXPECT_EQ(BarColor(c.style), bar->Color());
    }
}
