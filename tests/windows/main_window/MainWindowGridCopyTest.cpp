// Copying from a schedule grid: Ctrl+C on the selection, and the skinned
// right-click menu with 复制 and 复制全部, compared on the clipboard.

#include "MainWindowTestSupport.h"

#include "framework/Screenshot.h"
#include "framework/Utils.h"
#include "skin/controls/SUIPopupMenu.h"

#include <functional>

using namespace main_window_test;

namespace {

// Tab-separated lines, each ended by CRLF, built here from the grid's cells.
std::wstring Lines(const TStringGrid& g, int left, int top, int right, int bottom) {
    std::wstring text;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c)
            text += (c > left ? L"\t" : L"") + g.Cells(c, r);
        text += L"\r\n";
    }
    return text;
}

// Keys for the open menu, sent from a thread timer while its loop runs;
// atOpen runs once the menu is on screen.
struct MenuKeys {
    static MenuKeys* current;
    std::vector<WORD> keys;
    std::function<void()> atOpen;
    int ticks = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuKeys* k = current;
        if (!k || ++k->ticks < 5) return;
        if (k->ticks == 5) {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_DOWN, 1); // the first item
        } else if (k->ticks == 10) {
            if (k->atOpen) k->atOpen();
            for (WORD key : k->keys)
                PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        } else if (k->ticks > 60) {
            EndMenu(); // never left open
        }
    }
};
MenuKeys* MenuKeys::current = nullptr;

// Right-clicks the cell and answers the menu with keys.
void RightClickCell(TsuiStringGrid* grid, int col, int row, MenuKeys& keys) {
    const RECT cell = grid->CellRect(col, row);
    const int x = cell.left + 5, y = cell.top + 5;
    MenuKeys::current = &keys;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &MenuKeys::Tick);
    SendMessageW(grid->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    SendMessageW(grid->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
    KillTimer(nullptr, timer);
    MenuKeys::current = nullptr;
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
    Pump();

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
    SendKey(grid->Handle(), 'C', false, true);
    const std::wstring block = GetClipboardText();
    EXPECT_EQ(block, Lines(*grid, 1, 2, 3, 4));
    EXPECT_EQ(std::count(block.begin(), block.end(), L'\t'), 6);
    EXPECT_EQ(block.substr(block.size() - 2), L"\r\n");
    SendKey(grid->Handle(), VK_INSERT, false, true);
    EXPECT_EQ(GetClipboardText(), block);

    // 复制全部: the header and every row, the dates included.
    MenuKeys all;
    TsuiPopupMenu& menu = grid->CopyMenu();
    ASSERT_EQ(menu.Items()->Count(), 2);
    EXPECT_EQ(menu.Items()->Items(0)->Caption(), L"复制");
    EXPECT_EQ(menu.Items()->Items(1)->Caption(), L"复制全部");
    EXPECT_EQ(menu.UIStyle(), TsuiUIStyle::BlueGlass);
    TColor selected = clNone;
    all.atOpen = [&] {
        TBitmap screen;
        CaptureWindow(GetDesktopWindow(), screen);
        SaveScreenshot(screen, L"grid-copy-menu");
        RECT r{};
        if (GetMenuItemRect(nullptr, menu.Handle(), 0, &r))
            selected = screen.Pixel(r.left + 30, r.bottom - 2);
    };
    all.keys = {VK_DOWN, VK_RETURN};
    SetClipboardText(L"before");
    RightClickCell(grid, 2, 3, all); // inside the selection: it stays
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 3, 4}));
    EXPECT_EQ(selected, TColor(0xEC5E5E)) << "the first item drawn selected in BlueGlass";
    const std::wstring whole = GetClipboardText();
    EXPECT_EQ(whole, Lines(*grid, 0, 0, 5, 12));
    EXPECT_EQ(whole.substr(0, whole.find(L"\r\n")),
              L"还款时间\t月利息还款额（元）\t月本金还款额（元）\t月还款额（元）\t剩余本金（元）"
              L"\t提前还贷（元）");
    EXPECT_EQ(std::count(whole.begin(), whole.end(), L'\n'), 13);

    // 复制 on a cell outside the selection selects and copies that cell.
    MenuKeys one;
    one.keys = {VK_RETURN};
    RightClickCell(grid, 4, 9, one);
    EXPECT_EQ(grid->Selection(), (TGridRect{4, 9, 4, 9}));
    EXPECT_EQ(GetClipboardText(), grid->Cells(4, 9));
}
