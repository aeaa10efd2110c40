// Label, splitter and image: accelerators reaching the focus control through
// the message loop, sizes that follow the caption or picture, dragging.

#include "../support/HostForm.h"

#include "framework/ExtCtrls.h"
#include "framework/FormReader.h"
#include "framework/Screenshot.h"
#include "framework/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

// Alt+letter as the message loop delivers it to the focused window.
void PostAltChar(HWND focused, wchar_t ch) {
    PostMessageW(focused, WM_SYSCHAR, ch, LPARAM(0x20000001));
    Pump();
}

TEST(Label, AltAcceleratorFocusesTheFocusControlDoubleAmpersandIsLiteral) {
    HostForm form;
    auto* first = Make<TEdit>(form.get(), 100, 10, 120, 22);
    auto* second = Make<TEdit>(form.get(), 100, 40, 120, 22);
    auto* label = Make<TLabel>(form.get(), 10, 40, 80, 17);
    label->SetCaption(L"贷款总额(&D)");
    label->SetFocusControl(second);
    auto* literal = Make<TLabel>(form.get(), 10, 70, 80, 17);
    literal->SetCaption(L"A&&B");
    literal->SetFocusControl(first);
    form.Show();
    first->SetFocus();

    PostAltChar(first->Handle(), L'd');
    EXPECT_TRUE(second->Focused());

    first->SetFocus();
    PostAltChar(first->Handle(), L'b');
    EXPECT_TRUE(first->Focused());
    PostAltChar(first->Handle(), L'x');
    EXPECT_TRUE(first->Focused());

    // A disabled target, or one that is gone, takes nothing.
    second->SetEnabled(false);
    PostAltChar(first->Handle(), L'D');
    EXPECT_TRUE(first->Focused());
    second->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
    PostAltChar(first->Handle(), L'D');
    EXPECT_TRUE(first->Focused());
}

TEST(Label, AutoSizeFollowsCaptionAndFontWordWrapKeepsWidth) {
    HostForm form;
    auto* label = Make<TLabel>(form.get(), 10, 10, 10, 10);
    label->SetCaption(L"短");
    int shortWidth = label->Width();
    EXPECT_GT(shortWidth, 0);
    label->SetCaption(L"一个长得多的标签文字");
    EXPECT_GT(label->Width(), shortWidth * 4);
    int h = label->Height();
    label->Font().SetSize(label->Font().Size() * 2);
    EXPECT_GT(label->Height(), h);
    // '&' marks take no room; "&&" shows one.
    label->Font().SetSize(8);
    label->SetCaption(L"&A");
    int a = label->Width();
    label->SetCaption(L"A");
    EXPECT_EQ(label->Width(), a);

    label->SetWordWrap(true);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 60, 17);
    label->SetAutoSize(true);
    label->SetCaption(L"一个长得多的标签文字会折成几行");
    EXPECT_EQ(label->Width(), 60);
    EXPECT_GT(label->Height(), 30);
}

TEST(Label, OpaqueLabelFillsWithColorTransparentShowsParent) {
    HostForm form(200, 80);
    form->SetColor(RGBToColor(0, 128, 0));
    auto* label = Make<TLabel>(form.get(), 10, 10, 10, 10);
    label->SetCaption(L"   ");
    label->SetColor(clYellow);
    form.Show();
    TBitmap shot;
    CaptureWindow(form->Handle(), shot, true);
    EXPECT_EQ(shot.Pixel(label->Left() + 1, label->Top() + 1), clYellow);
    label->SetTransparent(true);
    UpdateWindow(form->Handle());
    CaptureWindow(form->Handle(), shot, true);
    EXPECT_EQ(shot.Pixel(label->Left() + 1, label->Top() + 1), RGBToColor(0, 128, 0));
}

struct SplitterForm {
    HostForm form{400, 200};
    TPanel* left = Make<TPanel>(form.get(), 0, 0, 100, 200);
    TSplitter* splitter = nullptr;
    TPanel* client = nullptr;
    int moved = 0;
    SplitterForm() {
        left->SetAlign(alLeft);
        splitter = Make<TSplitter>(form.get(), 100, 0, 4, 200);
        splitter->SetAlign(alLeft);
        client = Make<TPanel>(form.get(), 104, 0, 296, 200);
        client->SetAlign(alClient);
        splitter->OnMoved = [this](TObject*) { ++moved; };
        form.Show();
    }
    // A drag on the form's window, which hands the mouse to the splitter.
    void Drag(int fromX, int toX) {
        HWND h = form->Handle();
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, 50));
        SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((fromX + toX) / 2, 50));
        SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, 50));
        SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(toX, 50));
        Pump();
    }
};

TEST(Splitter, DragResizesTheControlBesideItWithinMinSize) {
    SplitterForm f;
    ASSERT_EQ(f.splitter->Left(), 100);
    EXPECT_EQ(f.splitter->ResizeControl(), f.left);

    f.Drag(101, 151);
    EXPECT_EQ(f.left->Width(), 150);
    EXPECT_EQ(f.splitter->Left(), 150);
    EXPECT_EQ(f.client->Left(), 154);
    EXPECT_EQ(f.moved, 1);

    f.splitter->SetMinSize(40);
    f.Drag(151, 0);
    EXPECT_EQ(f.left->Width(), 40);
    // The client keeps MinSize too.
    f.Drag(41, 399);
    EXPECT_EQ(f.left->Width(), 400 - 4 - 40);
    EXPECT_EQ(f.moved, 3);

    // A press without a move is no move.
    int x = f.splitter->Left() + 1;
    f.Drag(x, x);
    EXPECT_EQ(f.moved, 3);

    // A veto keeps the size.
    f.splitter->OnCanResize = [](TObject*, int&, bool& accept) { accept = false; };
    f.Drag(x, 200);
    EXPECT_EQ(f.left->Width(), 356);
}

TEST(Splitter, StoredAgainstTheTopResizesTheTopControlDownwards) {
    HostForm form(300, 300);
    ReadComponentText(*form.get(), LR"(object HostForm: TForm
  object Top1: TPanel
    Align = alTop
    Height = 60
  end
  object Splitter1: TSplitter
    Top = 60
    Height = 5
    Align = alTop
    MinSize = 20
  end
  object Rest1: TPanel
    Align = alClient
  end
end)",
                      L"test");
    auto* top = static_cast<TControl*>(form->FindComponent(L"Top1"));
    auto* splitter = static_cast<TSplitter*>(form->FindComponent(L"Splitter1"));
    form.Show();
    EXPECT_EQ(splitter->Cursor(), crVSplit);
    ASSERT_EQ(splitter->Top(), 60);
    HWND h = form->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 62));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 142));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(50, 142));
    EXPECT_EQ(top->Height(), 140);
    EXPECT_EQ(splitter->Top(), 140);
}

TEST(Image, AutoSizeCenterStretchAndProportional) {
    HostForm form;
    auto* image = Make<TImage>(form.get(), 10, 10, 100, 50);
    TBitmap bmp(20, 10);
    bmp.Fill(clRed);
    image->Picture().SetGraphic(&bmp);
    EXPECT_EQ(image->DestRect().right, 20);

    image->SetCenter(true);
    RECT r = image->DestRect();
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 20);
    image->SetStretch(true);
    r = image->DestRect();
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 50);
    image->SetProportional(true);
    r = image->DestRect();
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 50);
    image->SetBounds(10, 10, 100, 100);
    r = image->DestRect();
    EXPECT_EQ(r.bottom - r.top, 50);
    EXPECT_EQ(r.top, 25);

    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 20);
    EXPECT_EQ(image->Height(), 10);

    form.Show();
    TBitmap shot;
    CaptureWindow(form->Handle(), shot, true);
    EXPECT_EQ(shot.Pixel(image->Left() + 5, image->Top() + 5), clRed);
}

} // namespace
