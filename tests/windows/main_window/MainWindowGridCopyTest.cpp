// Copying from a schedule grid: Ctrl+C on the selection, and the skinned
// right-click menu with 复制 and 复制全部, compared on the clipboard.

#include "../support/MainWindow.h"

#include "framework/Screenshot.h"
#include "framework/Utils.h"
#include "skin/controls/SUIPopupMenu.h"

#include <functional>

using namespace main_window_test;

namespace {

// Tab-separated lines, each ended by CRLF, built here from the grid's cells.
std::wstring Lines(const TStringGrid& g, int left, int top, int right, int bottom) {
    std::wstring text;
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c)
            text += g.Cells(c, r) + (c < right ? L"\t" : L"\r\n");
    return text;
}

// Right-clicks the cell; a thread timer, run by the menu's own loop, selects
// the first item, calls atOpen, then sends the keys.
std::function<void()> atOpen;
std::vector<WORD> menuKeys;
void RightClickCell(TsuiStringGrid* grid, int col, int row) {
    static int ticks;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        if (++ticks == 5) PostMessageW(GetFocus(), WM_KEYDOWN, VK_DOWN, 1);
        if (ticks == 10 && atOpen) atOpen();
        if (ticks == 10)
            for (WORD key : menuKeys)
                PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        if (ticks > 60) EndMenu(); // never left open
    });
    const RECT cell = grid->CellRect(col, row);
    SendMessageW(grid->Handle(), WM_RBUTTONDOWN, MK_RBUTTON,
                 MAKELPARAM(cell.left + 5, cell.top + 5));
    SendMessageW(grid->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(cell.left + 5, cell.top + 5));
    Pump();
    KillTimer(nullptr, timer);
}

} // namespace

TEST(MainWindowGridCopy, CtrlCCopiesTheSelectionAndTheMenuCopiesACellOrEverything) {
    MainWindow w;
    TypeInto(w->suiNEdkze, L"100000");
    TypeInto(w->suiNEajqs, L"12");
    TypeInto(w->suiNEnll, L"6");
    ClickTool(w->TBjs);
    TsuiStringGrid* grid = w->suiSG1;
    ASSERT_EQ(grid->RowCount(), 13);
    grid->SetFocus();

    // One cell: its bare text, ready for an edit field.
    SetClipboardText(L"before");
    SendKey(grid->Handle(), VK_DOWN);
    SendKey(grid->Handle(), 'C', false, true);
    EXPECT_EQ(GetClipboardText(), grid->Cells(1, 2));
    EXPECT_EQ(GetClipboardText().find_first_not_of(L"0123456789."), std::wstring::npos);

    // Shift+arrows stretch the selection over three rows and three columns.
    for (WORD key : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN})
        SendKey(grid->Handle(), key, true);
    ASSERT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 4}));
    SendKey(grid->Handle(), VK_INSERT, false, true);
    EXPECT_EQ(GetClipboardText(), Lines(*grid, 1, 2, 3, 4));

    // 复制全部 in the skinned menu: the header and every row, dates included.
    TsuiPopupMenu& menu = grid->CopyMenu();
    ASSERT_EQ(menu.Items()->Count(), 2);
    EXPECT_EQ(menu.Items()->Items(0)->Caption() + menu.Items()->Items(1)->Caption(),
              L"复制复制全部");
    TColor selected = clNone;
    atOpen = [&] {
        TBitmap screen;
        CaptureWindow(GetDesktopWindow(), screen);
        SaveScreenshot(screen, L"grid-copy-menu");
        RECT r{};
        if (GetMenuItemRect(nullptr, menu.Handle(), 0, &r))
            selected = screen.Pixel(r.left + 30, r.bottom - 2);
    };
    menuKeys = {VK_DOWN, VK_RETURN};
    RightClickCell(grid, 2, 3); // inside the selection, which stays
    atOpen = nullptr;
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 4}));
    EXPECT_EQ(selected, TColor(0xEC5E5E)) << "the first item drawn selected in BlueGlass";
    const std::wstring whole = GetClipboardText();
    EXPECT_EQ(whole, Lines(*grid, 0, 0, 5, 12));
    EXPECT_EQ(whole.substr(0, whole.find(L"\r\n")),
              L"还款时间\t月利息还款额（元）\t月本金还款额（元）\t月还款额（元）\t剩余本金（元）"
              L"\t提前还贷（元）");

    // 复制 on a cell outside the selection selects and copies that cell.
    menuKeys = {VK_RETURN};
    RightClickCell(grid, 4, 9);
    EXPECT_EQ(grid->Selection(), (TGridRect{4, 9, 4, 9}));
    EXPECT_EQ(GetClipboardText(), grid->Cells(4, 9));
}
