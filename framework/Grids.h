#pragma once

// Grids: TCustomGrid lays out rows and columns (fixed ones at the top and
// left, the rest scrolled), keeps the focus cell and the selection, scrolls
// with real scroll bars, keys and the wheel, and paints only the cells a
// paint asks for into one off-screen bitmap. TDrawGrid leaves the cells to
// OnDrawCell; TStringGrid keeps a text per cell and draws it.

#include "framework/Controls.h"

#include <string>
#include <string_view>
#include <vector>

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridDrawStateKind { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateKind>;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A block of cells: columns Left … Right, rows Top … Bottom, inclusive.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TGridRect&) const = default;
    bool Contains(int col, int row) const {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
};

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const RECT& Rect,
                                          TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

const TEnumInfo& GridOptionsEnum();
const TEnumInfo& ScrollStyleEnum();

class TCustomGrid : public TCustomControl {
  public:
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int ColCount() const { return colCount_; }
    void SetColCount(int n);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int n);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int n);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int n);

    // Setting a default size resets every column's (row's) own size.
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int w);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int h);
    int ColWidths(int col) const;
    int RowHeights(int row) const;
    void SetRowHeights(int row, int h);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int w);

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions o);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor c);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool v);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);

    // The focus cell; moving it collapses the selection onto it.
    int Col() const { return col_; }
    void SetCol(int c) { FocusCell(c, row_, true); }
    int Row() const { return row_; }
    void SetRow(int r) { FocusCell(col_, r, true); }
    TGridRect Selection() const { return selection_; }
    void SetSelection(TGridRect r);

    // The first scrolled row and column on screen.
    int TopRow() const { return topRow_; }
    int LeftCol() const { return leftCol_; }
    // Scrolled rows (columns) wholly on screen, at least 1.
    int VisibleRowCount() const;
    int VisibleColCount() const;

    // The cell's rectangle in client coordinates; empty when it is off screen.
    RECT CellRect(int col, int row) const;
    // The cell under a client point; false (and -1, -1) over no cell.
    bool MouseToCell(int x, int y, int& col, int& row) const;

    // Repaints the whole grid; later cell changes before the paint cost nothing.
    void Invalidate() override;

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TNotifyEvent OnTopLeftChanged;

  protected:
    // Draws one cell; the canvas brush and font are already set for its state.
    virtual void DrawCell(int col, int row, const RECT& rect, TGridDrawState state);
    virtual bool SelectCell(int col, int row);
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    virtual void TopLeftChanged();
    // Repaints one cell if it is on screen (nothing else).
    void InvalidateCell(int col, int row);

    void Paint() override;
    void PaintWindow(HDC dc) override;
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheel(TShiftState shift, int delta, POINT pos) override;

  private:
    struct Span {
        int index, start, size; // size without the grid line
    };
    // Columns (rows) on screen: the fixed ones, then from first on, while they start
    // inside extent.
    std::vector<Span> Spans(bool columns, int extent) const;
    int Extent(bool columns) const;
    int SizeOf(bool columns, int index) const;
    int FixedExtent(bool columns) const;
    // The largest first scrolled column (row) that still fills the client area.
    int MaxFirst(bool columns) const;
    int LastVisible(bool columns) const;
    void ScrollTo(int leftCol, int topRow);
    void ScrollBy(int dCol, int dRow) { ScrollTo(leftCol_ + dCol, topRow_ + dRow); }
    void MakeVisible(int col, int row);
    void UpdateScrollBars();
    void ClampPositions();
    void FocusCell(int col, int row, bool moveAnchor);
    void ExtendSelection(int col, int row);
    void SetSelectionTo(TGridRect r);
    TGridRect RowSelected(TGridRect r) const;
    void InvalidateGridRect(const TGridRect& r);
    void HandleScroll(bool vertical, int code, int thumb);

    int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
    int defaultColWidth_ = 64, defaultRowHeight_ = 24, gridLineWidth_ = 1;
    std::vector<int> colWidths_, rowHeights_;
    TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle scrollBars_ = ssBoth;
    TColor fixedColor_ = clBtnFace;
    bool defaultDrawing_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    int col_ = 1, row_ = 1;
    int anchorCol_ = 1, anchorRow_ = 1;
    TGridRect selection_{1, 1, 1, 1};
    int topRow_ = 1, leftCol_ = 1;
    bool selecting_ = false;
    int wheelRemainder_ = 0;
    bool updatingScrollBars_ = false;
    // What the scroll bars were last told.
    struct BarState {
        bool shown = false;
        int min = 0, max = -1, page = 0, pos = 0;
        bool operator==(const BarState&) const = default;
    };
    BarState vertBar_, horzBar_;
    // Cells asked to repaint since the last paint; kWholeGrid once all of it is.
    static constexpr int kWholeGrid = 8;
    int pendingCells_ = 0;
    RECT paintClip_{};
};

class TDrawGrid : public TCustomGrid {
  public:
    explicit TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

// Cells belong to their rows and columns: shrinking RowCount or ColCount
// drops the texts beyond the new count.
class TStringGrid : public TDrawGrid {
  public:
    explicit TStringGrid(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Outside the grid: Cells gives "", SetCells raises EInvalidOperation.
    const std::wstring& Cells(int col, int row) const;
    void SetCells(int col, int row, std::wstring_view text);

    // The block's texts as spreadsheets paste them: cells separated by tabs,
    // each row ended by CRLF. A single cell is its bare text.
    std::wstring CellsText(const TGridRect& r) const;
    // Every cell, the fixed ones included.
    TGridRect WholeGrid() const { return {0, 0, ColCount() - 1, RowCount() - 1}; }
    // Puts the block's text on the clipboard; false when the clipboard refused.
    bool CopyToClipboard(const TGridRect& r) const;

  protected:
    // Ctrl+C and Ctrl+Insert copy the selected cells.
    void KeyDown(WORD& key, TShiftState shift) override;
    void DrawCell(int col, int row, const RECT& rect, TGridDrawState state) override;
    void SizeChanged(int oldColCount, int oldRowCount) override;

  private:
    std::vector<std::wstring> cells_; // row-major, RowCount × ColCount
    int storedCols_ = 0;
};
