// Where Execute puts the text, the icon and the buttons, and how big the
// window gets, measured from inside the modal loop.

#include "DialogTestSupport.h"

#include "framework/Utils.h"

#include <iostream>
#include <string>

using namespace dialog_test;

namespace {

struct Measured {
    int frameWidth = 0, frameHeight = 0;
    int clientWidth = 0, clientHeight = 0;
    int windowWidth = 0, windowHeight = 0;
    RECT label{};
    bool imageVisible = false;
    RECT image{};
    std::vector<RECT> buttons; // left to right
};

Measured Measure(TfrmMsg& form) {
    Measured m;
    m.frameWidth = form.suiForm1->Width();
    m.frameHeight = form.suiForm1->Height();
    m.clientWidth = form.ClientWidth();
    m.clientHeight = form.ClientHeight();
    RECT w{};
    GetWindowRect(form.Handle(), &w);
    m.windowWidth = w.right - w.left;
    m.windowHeight = w.bottom - w.top;
    m.label = form.lbl->BoundsRect();
    m.imageVisible = form.Image1->Visible();
    m.image = form.Image1->BoundsRect();
    for (TsuiButton* b : ButtonsLeftToRight(form))
        m.buttons.push_back(b->BoundsRect());
    return m;
}

Measured ExecuteMeasured(TsuiMessageDialog& dialog) {
    Measured m;
    ExecuteAndLook(dialog, [&](TfrmMsg& form) { m = Measure(form); });
    return m;
}

// The label's height for one line of the window's font, as laid out here.
int MeasuredLineHeight() {
    TsuiMessageDialog dialog(nullptr);
    dialog.SetText(L"导出成功！");
    static bool told = false;
    const int height = ExecuteMeasured(dialog).label.bottom - 64;
    if (!told) {
        std::cout << "[ info ] label line height: " << height << "\n";
        told = true;
    }
    return height;
}

int LinesOf(const Measured& m, int lineHeight) {
    return (m.label.bottom - m.label.top) / lineHeight;
}

} // namespace

TEST(MessageDialogLayout, OneLineWithoutIconGivesTheNarrowWindow) {
    TsuiMessageDialog dialog(nullptr);
    dialog.SetText(L"导出成功！");
    TsuiButton* button = nullptr;
    bool buttonInFrame = false;
    bool ownedByWindow = false;
    Measured m;
    LRESULT edgeHit = 0;
    ExecuteAndLook(dialog, [&](TfrmMsg& form) {
        m = Measure(form);
        // A dialog's frame has no resize zones.
        POINT edge{1, 80};
        ClientToScreen(form.Handle(), &edge);
        edgeHit = SendMessageW(form.Handle(), WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y));
        auto made = ButtonsMade(form);
        ASSERT_EQ(1u, made.size());
        button = made[0];
        buttonInFrame = button->Parent() == form.suiForm1;
        ownedByWindow = button->Owner() == &form;
    });
    // The whole window, with no system border; the frame inside its own
    // one-pixel border, the title bar on the top edge.
    EXPECT_EQ(272, m.windowWidth);
    EXPECT_EQ(169, m.windowHeight);
    EXPECT_EQ(m.windowWidth, m.clientWidth);
    EXPECT_EQ(m.windowHeight, m.clientHeight);
    EXPECT_EQ(270, m.frameWidth);
    EXPECT_EQ(168, m.frameHeight);
    EXPECT_EQ(HTCLIENT, edgeHit);
    EXPECT_TRUE(buttonInFrame);
    EXPECT_TRUE(ownedByWindow);
    ASSERT_EQ(1u, m.buttons.size());
    EXPECT_EQ((RECT{175, 124, 175 + 73, 124 + 25}), m.buttons[0]);
    EXPECT_EQ(24, m.label.left);
    EXPECT_EQ(64, m.label.top);
    EXPECT_EQ(225, m.label.right - m.label.left);
    EXPECT_FALSE(m.imageVisible);
}

TEST(MessageDialogLayout, LineBreaksOfEveryKindAndTheHeightTheyTake) {
    const int lh = MeasuredLineHeight();
    ASSERT_GT(lh, 0);
    // The program's font under Wine's substitution; 13 as on Windows.
    EXPECT_EQ(13, lh);

    TsuiMessageDialog dialog(nullptr);
    for (const wchar_t* text :
         {L"累计提前还贷数额须小于等于贷款总\r额！", L"累计提前还贷数额须小于等于贷款总\n额！",
          L"累计提前还贷数额须小于等于贷款总\r\n额！"}) {
        dialog.SetText(text);
        Measured m = ExecuteMeasured(dialog);
        EXPECT_EQ(2, LinesOf(m, lh)) << WideToUtf8(text);
        EXPECT_EQ(225, m.label.right - m.label.left);
        EXPECT_EQ(169, m.clientHeight) << "two lines stay within the icon's height";
    }

    // A line wider than 225 pixels wraps; the width stays.
    dialog.SetText(L"提前还贷的年份和月份必须在首次还款日期之后，并且在贷款期限之内，请重新选择。");
    Measured wrapped = ExecuteMeasured(dialog);
    EXPECT_GE(LinesOf(wrapped, lh), 2);
    EXPECT_EQ(225, wrapped.label.right - wrapped.label.left);

    // base = max(label bottom, image bottom 104); the window is base + 65 high.
    auto expectedBase = [lh](int lines) { return std::max(104, 64 + lines * lh); };
    dialog.SetText(L"一\r二\r三");
    Measured three = ExecuteMeasured(dialog);
    EXPECT_EQ(3, LinesOf(three, lh));
    EXPECT_EQ(104, expectedBase(3));
    EXPECT_EQ(expectedBase(3) + 65, three.clientHeight);
    EXPECT_EQ(expectedBase(3) + 20, three.buttons.at(0).top);

    dialog.SetText(L"一\r\n二\n三\r四");
    Measured four = ExecuteMeasured(dialog);
    EXPECT_EQ(4, LinesOf(four, lh));
    EXPECT_EQ(expectedBase(4) + 65, four.clientHeight);
    EXPECT_EQ(181, four.clientHeight);
    EXPECT_EQ(expectedBase(4) + 20, four.buttons.at(0).top);

    dialog.SetText(L"一\n二\n三\n四\n五");
    EXPECT_EQ(expectedBase(5) + 65, ExecuteMeasured(dialog).clientHeight);
}

TEST(MessageDialogLayout, StopIconIsTheSecondFrameAndKeepsTheWidth) {
    TsuiMessageDialog dialog(nullptr);
    dialog.SetText(L"贷款总额不能为零！");
    dialog.SetIconType(TsuiIconType::suiStop);
    TBitmap icon;
    Measured m;
    ExecuteAndLook(dialog, [&](TfrmMsg& form) {
        m = Measure(form);
        icon.Assign(form.Image1->Picture().Bitmap());
    });
    EXPECT_EQ(336, m.clientWidth);
    EXPECT_EQ(169, m.clientHeight);
    EXPECT_EQ(88, m.label.left);
    EXPECT_TRUE(m.imageVisible);
    EXPECT_EQ((RECT{24, 64, 24 + 42, 64 + 42}), m.image);
    ASSERT_EQ(1u, m.buttons.size());
    EXPECT_EQ(336 - 97, m.buttons[0].left);

    TBitmap strip;
    strip.LoadFromResourceName(MainInstance(), L"MSGDLG");
    ASSERT_EQ(42, icon.Width());
    ASSERT_EQ(42, icon.Height());
    int differing = 0;
    for (int y = 0; y < 42; ++y)
        for (int x = 0; x < 42; ++x)
            if (icon.Pixel(x, y) != strip.Pixel(42 + x, y)) ++differing;
    EXPECT_EQ(0, differing);
}

TEST(MessageDialogLayout, ButtonsRightToLeftAndTheFirstFocused) {
    TsuiMessageDialog dialog(nullptr);
    dialog.SetText(L"是否保存年利率？");
    dialog.SetButtonCount(3);
    dialog.SetButton1Caption(L"是");
    dialog.SetButton2Caption(L"否");
    dialog.SetButton3Caption(L"取消");
    dialog.SetButtonCursor(crArrow);

    Measured m;
    std::vector<std::wstring> captions, madeOrder;
    std::vector<TCursor> cursors;
    bool firstFocused = false;
    std::vector<std::wstring> tabWalk;
    ExecuteAndLook(dialog, [&](TfrmMsg& form) {
        m = Measure(form);
        auto buttons = ButtonsLeftToRight(form);
        for (TsuiButton* b : buttons) {
            captions.push_back(b->Caption());
            cursors.push_back(b->Cursor());
        }
        for (TsuiButton* b : ButtonsMade(form))
            madeOrder.push_back(b->Caption());
        firstFocused = PumpUntil([&] { return buttons.at(0)->Focused(); });
        for (int i = 0; i < 3; ++i) {
            PostKey(GetFocus(), VK_TAB);
            TWinControl* now = FocusedControl();
            tabWalk.push_back(now ? now->Caption() : L"?");
        }
    });
    EXPECT_EQ(336, m.clientWidth) << "three buttons need the icon's room";
    ASSERT_EQ(3u, m.buttons.size());
    EXPECT_EQ(53, m.buttons[0].left);
    EXPECT_EQ(146, m.buttons[1].left);
    EXPECT_EQ(239, m.buttons[2].left);
    EXPECT_EQ((std::vector<std::wstring>{L"是", L"否", L"取消"}), captions);
    EXPECT_EQ((std::vector<std::wstring>{L"取消", L"否", L"是"}), madeOrder);
    EXPECT_EQ((std::vector<TCursor>{crArrow, crArrow, crArrow}), cursors);
    EXPECT_TRUE(firstFocused);
    // From the first button Tab runs right and wraps round.
    EXPECT_EQ((std::vector<std::wstring>{L"否", L"取消", L"是"}), tabWalk);

    // Two buttons still fit the narrow window.
    dialog.SetButtonCount(2);
    Measured two = ExecuteMeasured(dialog);
    EXPECT_EQ(272, two.clientWidth);
    ASSERT_EQ(2u, two.buttons.size());
    EXPECT_EQ(82, two.buttons[0].left);
    EXPECT_EQ(175, two.buttons[1].left);
}
