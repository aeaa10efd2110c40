// The title bar's hot button follows the mouse messages, not wherever the
// pointer happens to be when the bar paints.

#include "../support/HostForm.h"
#include "../support/Painted.h"

#include "skin/controls/SUIForm.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TitleBarMouse, HotButtonFollowsMouseMovesAndLeave) {
    HostForm host;
    auto* frame = new TsuiForm(host.get());
    frame->SetParent(host.get());
    frame->SetUIStyle(TsuiUIStyle::BlueGlass);
    host.Show();
    TsuiTitleBar& bar = frame->TitleBar();
    ASSERT_EQ(suiClose, bar.Buttons(1).ButtonType());
    RECT at{};
    for (const auto& place : bar.Layout().buttons)
        if (place.index == 1) at = place.rect;
    // The button's pixels as painted now.
    auto shown = [&] {
        auto painted = Painted(bar);
        std::vector<TColor> pixels;
        for (int y = at.top; y < at.bottom; ++y)
            for (int x = at.left; x < at.right; ++x)
                pixels.push_back(painted->Pixel(x, y));
        return pixels;
    };

    SetCursorPos(0, 0); // the real pointer is far from the bar
    const auto normal = shown();
    bar.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(at.left + 5, at.top + 5));
    const auto hot = shown();
    EXPECT_NE(normal, hot);
    const struct {
        UINT message;
        int x;
        const std::vector<TColor>& want;
    } steps[] = {
        {WM_MOUSEMOVE, at.left - 30, normal},
        {WM_MOUSEMOVE, at.left + 5, hot},
        {WM_MOUSELEAVE, 0, normal},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.x);
        bar.Perform(s.message, 0, MAKELPARAM(s.x, at.top + 5));
        EXPECT_EQ(s.want, shown());
    }
}
