#include "framework/Grids.h"

#include "framework/Utils.h"

#include <algorithm>
#include <climits>

namespace {

// The cells of a grid are counted in ints; a million rows is far beyond any
// schedule and keeps sums of sizes well inside int.
constexpr int kMaxCount = 1000000;

int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

bool Intersects(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

const TEnumInfo& GridOptionsEnum() {
    static const TEnumInfo e =
        MakeEnum(L"TGridOptions", {{L"goFixedVertLine", goFixedVertLine},
                                   {L"goFixedHorzLine", goFixedHorzLine},
                                   {L"goVertLine", goVertLine},
                                   {L"goHorzLine", goHorzLine},
                                   {L"goRangeSelect", goRangeSelect},
                                   {L"goDrawFocusSelected", goDrawFocusSelected},
                                   {L"goRowSizing", goRowSizing},
                                   {L"goColSizing", goColSizing},
                                   {L"goRowMoving", goRowMoving},
                                   {L"goColMoving", goColMoving},
                                   {L"goEditing", goEditing},
                                   {L"goTabs", goTabs},
                                   {L"goRowSelect", goRowSelect},
                                   {L"goAlwaysShowEditor", goAlwaysShowEditor},
                                   {L"goThumbTracking", goThumbTracking}});
    return e;
}

const TEnumInfo& ScrollStyleEnum() {
    static const TEnumInfo e = MakeEnum(L"TScrollStyle", {{L"ssNone", ssNone},
                                                          {L"ssHorizontal", ssHorizontal},
                                                          {L"ssVertical", ssVertical},
                                                          {L"ssBoth", ssBoth}});
    return e;
}

// ---------------------------------------------------------------------------
// TCustomGrid

const TClassInfo& TCustomGrid::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TCustomGrid>(L"TCustomGrid", &TCustomControl::StaticClass())
            .Property(L"ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount)
            .Property(L"RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount)
            .Property(L"FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols)
            .Property(L"FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows)
            .Property(L"DefaultColWidth", &TCustomGrid::DefaultColWidth,
                      &TCustomGrid::SetDefaultColWidth)
            .Property(L"DefaultRowHeight", &TCustomGrid::DefaultRowHeight,
                      &TCustomGrid::SetDefaultRowHeight)
            .Property(L"GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth)
            .Set(L"Options", &TCustomGrid::Options, &TCustomGrid::SetOptions, GridOptionsEnum())
            .Enum(L"ScrollBars", &TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars,
                  ScrollStyleEnum())
            .Color(L"FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor)
            .Property(L"DefaultDrawing", &TCustomGrid::DefaultDrawing,
                      &TCustomGrid::SetDefaultDrawing)
            .Enum(L"BorderStyle", &TCustomGrid::BorderStyle, &TCustomGrid::SetBorderStyle,
                  BorderStyleEnum())
            .Event(L"OnDrawCell", &TCustomGrid::OnDrawCell)
            .Event(L"OnSelectCell", &TCustomGrid::OnSelectCell)
            .Event(L"OnTopLeftChanged", &TCustomGrid::OnTopLeftChanged)
            .Build();
    return info;
}

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
    // Every pixel is painted from the off-screen bitmap: no erase, no flicker.
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    colWidths_.assign(size_t(colCount_), defaultColWidth_);
    rowHeights_.assign(size_t(rowCount_), defaultRowHeight_);
    SetBounds(0, 0, 320, 120);
    SetColor(clWindow);
    SetTabStop(true);
}

TCustomGrid::~TCustomGrid() {
    MarkDestroying();
    DestroyHandle(); // while Paint still belongs to us
}

void TCustomGrid::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
}

void TCustomGrid::CreateHandleDone() {
    TCustomControl::CreateHandleDone();
    UpdateScrollBars();
}

// ----- sizes and layout

int TCustomGrid::SizeOf(bool columns, int index) const {
    const auto& v = columns ? colWidths_ : rowHeights_;
    return index >= 0 && index < int(v.size()) ? v[size_t(index)] : 0;
}

int TCustomGrid::Extent(bool columns) const {
    RECT r = ClientRect();
    return columns ? r.right - r.left : r.bottom - r.top;
}

int TCustomGrid::FixedExtent(bool columns) const {
    int fixed = columns ? fixedCols_ : fixedRows_;
    int sum = 0;
    for (int i = 0; i < fixed; ++i)
        sum += SizeOf(columns, i) + gridLineWidth_;
    return sum;
}

std::vector<TCustomGrid::Span> TCustomGrid::Spans(bool columns, int extent) const {
    std::vector<Span> out;
    int fixed = columns ? fixedCols_ : fixedRows_;
    int count = columns ? colCount_ : rowCount_;
    int pos = 0;
    for (int i = 0; i < fixed && pos < extent; ++i) {
        out.push_back({i, pos, SizeOf(columns, i)});
        pos += SizeOf(columns, i) + gridLineWidth_;
    }
    for (int i = columns ? leftCol_ : topRow_; i < count && pos < extent; ++i) {
        out.push_back({i, pos, SizeOf(columns, i)});
        pos += SizeOf(columns, i) + gridLineWidth_;
    }
    return out;
}

int TCustomGrid::MaxFirst(bool columns) const {
    int fixed = columns ? fixedCols_ : fixedRows_;
    int count = columns ? colCount_ : rowCount_;
    int room = Extent(columns) - FixedExtent(columns);
    int used = 0;
    int first = count;
    while (first > fixed) {
        int need = SizeOf(columns, first - 1) + gridLineWidth_;
        if (used + need > room) break;
        used += need;
        --first;
    }
    // Even the last one alone does not fit: it is still the last to scroll to.
    return std::max(fixed, std::min(first, count - 1));
}

int TCustomGrid::LastVisible(bool columns) const {
    int count = columns ? colCount_ : rowCount_;
    int extent = Extent(columns);
    int pos = FixedExtent(columns);
    int last = (columns ? leftCol_ : topRow_) - 1;
    for (int i = last + 1; i < count && pos < extent; ++i) {
        pos += SizeOf(columns, i) + gridLineWidth_;
        last = i;
    }
    return last;
}

int TCustomGrid::VisibleRowCount() const {
    int room = Extent(false) - FixedExtent(false);
    int n = 0;
    for (int i = topRow_; i < rowCount_; ++i) {
        room -= RowHeights(i) + gridLineWidth_;
        if (room + gridLineWidth_ < 0) break; // its trailing line may fall outside
        ++n;
    }
    return std::max(1, n);
}

int TCustomGrid::VisibleColCount() const {
    int room = Extent(true) - FixedExtent(true);
    int n = 0;
    for (int i = leftCol_; i < colCount_; ++i) {
        room -= ColWidths(i) + gridLineWidth_;
        if (room + gridLineWidth_ < 0) break; // its trailing line may fall outside
        ++n;
    }
    return std::max(1, n);
}

RECT TCustomGrid::CellRect(int col, int row) const {
    auto start = [this](bool columns, int index) {
        int fixed = columns ? fixedCols_ : fixedRows_;
        int first = columns ? leftCol_ : topRow_;
        int count = columns ? colCount_ : rowCount_;
        if (index < 0 || index >= count) return -1;
        int pos = 0;
        if (index < fixed) {
            for (int i = 0; i < index; ++i)
                pos += SizeOf(columns, i) + gridLineWidth_;
            return pos;
        }
        if (index < first) return -1;
        pos = FixedExtent(columns);
        int extent = Extent(columns);
        for (int i = first; i < index && pos < extent; ++i)
            pos += SizeOf(columns, i) + gridLineWidth_;
        return pos < extent ? pos : -1;
    };
    int x = start(true, col), y = start(false, row);
    if (x < 0 || y < 0) return RECT{0, 0, 0, 0};
    return RECT{x, y, x + ColWidths(col), y + RowHeights(row)};
}

bool TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
    col = row = -1;
    RECT client = ClientRect();
    if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) return false;
    auto find = [this](bool columns, int p) {
        for (const Span& s : Spans(columns, Extent(columns)))
            if (p >= s.start && p < s.start + s.size + gridLineWidth_) return s.index;
        return -1;
    };
    int c = find(true, x), r = find(false, y);
    if (c < 0 || r < 0) return false;
    col = c;
    row = r;
    return true;
}

// ----- properties

void TCustomGrid::SetColCount(int n) {
    n = Clamp(n, 1, kMaxCount);
    if (n == colCount_) return;
    int oldCols = colCount_;
    colCount_ = n;
    colWidths_.resize(size_t(n), defaultColWidth_);
    if (fixedCols_ >= n) fixedCols_ = n - 1;
    SizeChanged(oldCols, rowCount_);
}

void TCustomGrid::SetRowCount(int n) {
    n = Clamp(n, 1, kMaxCount);
    if (n == rowCount_) return;
    int oldRows = rowCount_;
    rowCount_ = n;
    rowHeights_.resize(size_t(n), defaultRowHeight_);
    if (fixedRows_ >= n) fixedRows_ = n - 1;
    SizeChanged(colCount_, oldRows);
}

void TCustomGrid::SetFixedCols(int n) {
    if (n < 0 || n >= colCount_)
        throw EInvalidOperation(L"Fixed column count must be less than column count");
    fixedCols_ = n;
    SizeChanged(colCount_, rowCount_);
}

void TCustomGrid::SetFixedRows(int n) {
    if (n < 0 || n >= rowCount_)
        throw EInvalidOperation(L"Fixed row count must be less than row count");
    fixedRows_ = n;
    SizeChanged(colCount_, rowCount_);
}

void TCustomGrid::SizeChanged(int, int) {
    // Keep the focus, the selection and the scroll position inside the grid.
    int c = Clamp(col_, fixedCols_, colCount_ - 1), r = Clamp(row_, fixedRows_, rowCount_ - 1);
    bool inside = selection_.Left >= fixedCols_ && selection_.Right < colCount_ &&
                  selection_.Top >= fixedRows_ && selection_.Bottom < rowCount_;
    if (c != col_ || r != row_ || !inside) {
        col_ = anchorCol_ = c;
        row_ = anchorRow_ = r;
        selection_ = RowSelected({c, r, c, r});
    }
    ClampPositions();
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int w) {
    defaultColWidth_ = std::max(0, w);
    colWidths_.assign(size_t(colCount_), defaultColWidth_);
    SizeChanged(colCount_, rowCount_);
}

void TCustomGrid::SetDefaultRowHeight(int h) {
    defaultRowHeight_ = std::max(0, h);
    rowHeights_.assign(size_t(rowCount_), defaultRowHeight_);
    SizeChanged(colCount_, rowCount_);
}

int TCustomGrid::ColWidths(int col) const {
    return SizeOf(true, col);
}

int TCustomGrid::RowHeights(int row) const {
    return SizeOf(false, row);
}

void TCustomGrid::SetRowHeights(int row, int h) {
    if (row < 0 || row >= rowCount_) throw EInvalidOperation(L"Grid index out of range");
    rowHeights_[size_t(row)] = std::max(0, h);
    SizeChanged(colCount_, rowCount_);
}

void TCustomGrid::SetGridLineWidth(int w) {
    gridLineWidth_ = Clamp(w, 0, 100);
    SizeChanged(colCount_, rowCount_);
}

void TCustomGrid::SetOptions(TGridOptions o) {
    if (o == options_) return;
    options_ = o;
    selection_ = RowSelected(options_.Contains(goRowSelect)
                                 ? selection_
                                 : TGridRect{col_, selection_.Top, col_, selection_.Bottom});
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle s) {
    if (s == scrollBars_) return;
    scrollBars_ = s;
    if (HandleAllocated()) {
        if (s == ssNone || s == ssHorizontal) ShowScrollBar(Handle(), SB_VERT, FALSE);
        if (s == ssNone || s == ssVertical) ShowScrollBar(Handle(), SB_HORZ, FALSE);
    }
    UpdateScrollBars();
    Invalidate();
}

void TCustomGrid::SetFixedColor(TColor c) {
    if (c == fixedColor_) return;
    fixedColor_ = c;
    Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool v) {
    if (v == defaultDrawing_) return;
    defaultDrawing_ = v;
    Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    if (!HandleAllocated()) return;
    LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    ex = s == bsSingle ? (ex | WS_EX_CLIENTEDGE) : (ex & ~LONG_PTR(WS_EX_CLIENTEDGE));
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    UpdateScrollBars();
}

// ----- focus, selection, scrolling

TGridRect TCustomGrid::RowSelected(TGridRect r) const {
    if (options_.Contains(goRowSelect)) {
        r.Left = fixedCols_;
        r.Right = colCount_ - 1;
    }
    return r;
}

bool TCustomGrid::SelectCell(int col, int row) {
    bool can = true;
    if (OnSelectCell) OnSelectCell(this, col, row, can);
    return can;
}

void TCustomGrid::SetSelectionTo(TGridRect r) {
    if (r == selection_) return;
    InvalidateGridRect(selection_);
    selection_ = r;
    InvalidateGridRect(selection_);
}

void TCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
    col = Clamp(col, fixedCols_, colCount_ - 1);
    row = Clamp(row, fixedRows_, rowCount_ - 1);
    if ((col != col_ || row != row_) && !SelectCell(col, row)) return;
    InvalidateCell(col_, row_);
    col_ = col;
    row_ = row;
    if (moveAnchor) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    SetSelectionTo(RowSelected({col, row, col, row}));
    InvalidateCell(col_, row_);
    MakeVisible(col, row);
}

void TCustomGrid::ExtendSelection(int col, int row) {
    col = Clamp(col, fixedCols_, colCount_ - 1);
    row = Clamp(row, fixedRows_, rowCount_ - 1);
    if ((col != col_ || row != row_) && !SelectCell(col, row)) return;
    InvalidateCell(col_, row_);
    col_ = col;
    row_ = row;
    SetSelectionTo(RowSelected({std::min(anchorCol_, col), std::min(anchorRow_, row),
                                std::max(anchorCol_, col), std::max(anchorRow_, row)}));
    InvalidateCell(col_, row_);
    MakeVisible(col, row);
}

void TCustomGrid::SetSelection(TGridRect r) {
    TGridRect g{Clamp(std::min(r.Left, r.Right), fixedCols_, colCount_ - 1),
                Clamp(std::min(r.Top, r.Bottom), fixedRows_, rowCount_ - 1),
                Clamp(std::max(r.Left, r.Right), fixedCols_, colCount_ - 1),
                Clamp(std::max(r.Top, r.Bottom), fixedRows_, rowCount_ - 1)};
    if (!options_.Contains(goRangeSelect)) {
        g.Right = g.Left;
        g.Bottom = g.Top;
    }
    r = g;
    InvalidateCell(col_, row_);
    anchorCol_ = r.Left;
    anchorRow_ = r.Top;
    col_ = r.Right;
    row_ = r.Bottom;
    SetSelectionTo(RowSelected(r));
    InvalidateCell(col_, row_);
}

void TCustomGrid::ClampPositions() {
    topRow_ = Clamp(topRow_, fixedRows_, MaxFirst(false));
    leftCol_ = Clamp(leftCol_, fixedCols_, MaxFirst(true));
}

void TCustomGrid::ScrollTo(int leftCol, int topRow) {
    leftCol = Clamp(leftCol, fixedCols_, MaxFirst(true));
    topRow = Clamp(topRow, fixedRows_, MaxFirst(false));
    if (leftCol == leftCol_ && topRow == topRow_) return;
    leftCol_ = leftCol;
    topRow_ = topRow;
    UpdateScrollBars();
    Invalidate();
    TopLeftChanged();
}

void TCustomGrid::MakeVisible(int col, int row) {
    // The first scrolled index that shows index wholly at the far end.
    auto firstShowing = [this](bool columns, int index, int first) {
        int fixed = columns ? fixedCols_ : fixedRows_;
        if (index < fixed) return first;
        if (index < first) return index;
        int room = Extent(columns) - FixedExtent(columns);
        int used = 0;
        for (int i = first; i <= index; ++i)
            used += SizeOf(columns, i) + gridLineWidth_;
        while (used - gridLineWidth_ > room && first < index) {
            used -= SizeOf(columns, first) + gridLineWidth_;
            ++first;
        }
        return first;
    };
    ScrollTo(firstShowing(true, col, leftCol_), firstShowing(false, row, topRow_));
}

void TCustomGrid::TopLeftChanged() {
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TCustomGrid::UpdateScrollBars() {
    if (!HandleAllocated() || updatingScrollBars_) return;
    updatingScrollBars_ = true;
    // Showing or hiding one bar changes the room for the other: settle in a few passes.
    for (int pass = 0; pass < 3; ++pass) {
        ClampPositions();
        RECT before = ClientRect();
        auto apply = [this](int bar, bool wanted, int fixed, int count, int first, int maxFirst) {
            BarState& last = bar == SB_VERT ? vertBar_ : horzBar_;
            BarState now =
                wanted ? BarState{true, fixed, count - 1, count - maxFirst, first} : BarState{};
            // Every scroll-bar call is a round trip to the window system: only changes go.
            if (now == last) return;
            last = now;
            if (!wanted) {
                ShowScrollBar(Handle(), bar, FALSE);
                return;
            }
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            si.nMin = now.min;
            si.nMax = now.max;
            // Page so that the thumb's far end is the last first-row worth scrolling to;
            // a page as long as the range hides the bar.
            si.nPage = UINT(now.page);
            si.nPos = now.pos;
            SetScrollInfo(Handle(), bar, &si, TRUE);
        };
        apply(SB_VERT, scrollBars_ == ssVertical || scrollBars_ == ssBoth, fixedRows_, rowCount_,
              topRow_, MaxFirst(false));
        apply(SB_HORZ, scrollBars_ == ssHorizontal || scrollBars_ == ssBoth, fixedCols_, colCount_,
              leftCol_, MaxFirst(true));
        RECT after = ClientRect();
        if (EqualRect(&before, &after)) break;
    }
    updatingScrollBars_ = false;
}

void TCustomGrid::HandleScroll(bool vertical, int code, int thumb) {
    int first = vertical ? topRow_ : leftCol_;
    int page = vertical ? VisibleRowCount() : VisibleColCount();
    int fixed = vertical ? fixedRows_ : fixedCols_;
    switch (code) {
    case SB_LINEUP:
        --first;
        break;
    case SB_LINEDOWN:
        ++first;
        break;
    case SB_PAGEUP:
        first -= page;
        break;
    case SB_PAGEDOWN:
        first += page;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        first = thumb;
        break;
    case SB_TOP:
        first = fixed;
        break;
    case SB_BOTTOM:
        first = INT_MAX / 2;
        break;
    default:
        return;
    }
    if (vertical)
        ScrollTo(leftCol_, first);
    else
        ScrollTo(first, topRow_);
}

// ----- invalidation

void TCustomGrid::Invalidate() {
    TCustomControl::Invalidate();
    if (HandleAllocated()) pendingCells_ = kWholeGrid;
}

void TCustomGrid::InvalidateCell(int col, int row) {
    if (!HandleAllocated() || pendingCells_ >= kWholeGrid) return;
    // Off-screen cells cost nothing: a long fill repaints only what shows.
    if (row >= fixedRows_ && (row < topRow_ || row > LastVisible(false))) return;
    if (col >= fixedCols_ && (col < leftCol_ || col > LastVisible(true))) return;
    RECT r = CellRect(col, row);
    if (IsRectEmpty(&r)) return;
    // Past a few cells one request for the whole grid is cheaper than one per cell.
    if (++pendingCells_ >= kWholeGrid) {
        Invalidate();
        return;
    }
    InvalidateRect(Handle(), &r, FALSE);
}

void TCustomGrid::InvalidateGridRect(const TGridRect& g) {
    if (!HandleAllocated()) return;
    RECT u{0, 0, 0, 0};
    auto cols = Spans(true, Extent(true)), rows = Spans(false, Extent(false));
    for (const Span& c : cols) {
        if (c.index < g.Left || c.index > g.Right) continue;
        for (const Span& r : rows) {
            if (r.index < g.Top || r.index > g.Bottom) continue;
            RECT cell{c.start, r.start, c.start + c.size + gridLineWidth_,
                      r.start + r.size + gridLineWidth_};
            UnionRect(&u, &u, &cell);
        }
    }
    if (!IsRectEmpty(&u)) InvalidateRect(Handle(), &u, FALSE);
}

// ----- painting

void TCustomGrid::PaintWindow(HDC dc) {
    RECT client = ClientRect();
    int w = std::max<int>(1, client.right), h = std::max<int>(1, client.bottom);
    if (GetClipBox(dc, &paintClip_) == ERROR || IsRectEmpty(&paintClip_)) paintClip_ = client;
    // Only the cells in the clip are drawn, and the copy is clipped alike:
    // the shared scratch bitmap serves, nothing is kept.
    TOffscreenPaint paint(dc, w, h);
    TCustomControl::PaintWindow(paint.Canvas().Handle());
    paint.Canvas().Deselect();
}

void TCustomGrid::Paint() {
    TCanvas& canvas = Canvas();
    RECT client = ClientRect();
    const RECT& clip = paintClip_;
    auto cols = Spans(true, client.right), rows = Spans(false, client.bottom);
    const bool focused = Focused();
    const TColor lineFixed = clBtnShadow, lineCell = clSilver;
    const int lw = gridLineWidth_;
    // Lines and gaps take a few colours over and over: one brush each per paint.
    struct CachedBrush {
        TColor color;
        BrushHandle brush;
    };
    std::vector<CachedBrush> brushes;
    auto fill = [&](const RECT& r, TColor color) {
        for (auto& b : brushes)
            if (b.color == color) {
                ::FillRect(canvas.Handle(), &r, b.brush.Get());
                return;
            }
        brushes.push_back({color, BrushHandle(CreateSolidBrush(ColorToRGB(color)))});
        ::FillRect(canvas.Handle(), &r, brushes.back().brush.Get());
    };

    for (const Span& r : rows) {
        RECT band{0, r.start, client.right, r.start + r.size + lw};
        if (!Intersects(band, clip)) continue;
        for (const Span& c : cols) {
            RECT outer{c.start, r.start, c.start + c.size + lw, r.start + r.size + lw};
            if (!Intersects(outer, clip)) continue;
            RECT rect{c.start, r.start, c.start + c.size, r.start + r.size};
            TGridDrawState state;
            bool fixed = c.index < fixedCols_ || r.index < fixedRows_;
            if (fixed) state.Include(gdFixed);
            if (!fixed && focused && c.index == col_ && r.index == row_) state.Include(gdFocused);
            if (!fixed && selection_.Contains(c.index, r.index)) state.Include(gdSelected);

            canvas.Font().Assign(Font());
            TColor back = fixed ? fixedColor_ : Color();
            bool highlight =
                state.Contains(gdSelected) &&
                (!state.Contains(gdFocused) || options_.Contains(goDrawFocusSelected) ||
                 options_.Contains(goRowSelect));
            if (highlight) {
                back = clHighlight;
                canvas.Font().SetColor(clHighlightText);
            }
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(back);
            if (defaultDrawing_) fill(rect, back);
            DrawCell(c.index, r.index, rect, state);
            if (defaultDrawing_ && state.Contains(gdFocused) && !options_.Contains(goRowSelect) &&
                !options_.Contains(goDrawFocusSelected))
                DrawFocusRect(canvas.Handle(), &rect);

            if (lw > 0) {
                bool vert = options_.Contains(fixed ? goFixedVertLine : goVertLine);
                bool horz = options_.Contains(fixed ? goFixedHorzLine : goHorzLine);
                TColor line = fixed ? lineFixed : lineCell;
                TColor gap = fixed ? fixedColor_ : Color();
                fill({rect.right, rect.top, rect.right + lw, rect.bottom + lw}, vert ? line : gap);
                fill({rect.left, rect.bottom, rect.right, rect.bottom + lw}, horz ? line : gap);
            }
        }
    }

    // What lies beyond the last column and row shows the grid's colour.
    int endX = cols.empty() ? 0 : cols.back().start + cols.back().size + lw;
    int endY = rows.empty() ? 0 : rows.back().start + rows.back().size + lw;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    if (endX < client.right) canvas.FillRect({endX, 0, client.right, client.bottom});
    if (endY < client.bottom)
        canvas.FillRect({0, endY, std::min<LONG>(endX, client.right), client.bottom});
    TCustomControl::Paint();
}

void TCustomGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
    if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

// ----- messages, keys and mouse

void TCustomGrid::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | (options_.Contains(goTabs) ? DLGC_WANTTAB : 0);
        return;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (m.LParam == 0) { // our own bars; a scroll-bar control's go to it
            HandleScroll(m.Msg == WM_VSCROLL, LOWORD(m.WParam), short(HIWORD(m.WParam)));
            m.Result = 0;
            return;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::WndProc(m);
        InvalidateGridRect(selection_);
        return;
    case WM_PAINT:
        if (m.WParam == 0) pendingCells_ = 0; // BeginPaint validates everything
        break;
    case WM_NCDESTROY:
        vertBar_ = horzBar_ = BarState{};
        break;
    case WM_SIZE:
        TCustomControl::WndProc(m);
        if (!updatingScrollBars_) {
            UpdateScrollBars();
            Invalidate();
        }
        return;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == 0) return;
    const bool extend = shift.Contains(ssShift) && options_.Contains(goRangeSelect);
    const bool ctrl = shift.Contains(ssCtrl);
    const bool rowSelect = options_.Contains(goRowSelect);
    int c = col_, r = row_;
    switch (key) {
    case VK_UP:
        --r;
        break;
    case VK_DOWN:
        ++r;
        break;
    case VK_LEFT:
        if (rowSelect) {
            ScrollBy(-1, 0);
            key = 0;
            return;
        }
        --c;
        break;
    case VK_RIGHT:
        if (rowSelect) {
            ScrollBy(1, 0);
            key = 0;
            return;
        }
        ++c;
        break;
    case VK_PRIOR:
    case VK_NEXT: {
        // A page moves the view and the focus alike, as far as the grid goes.
        int page = VisibleRowCount() * (key == VK_PRIOR ? -1 : 1);
        ScrollBy(0, page);
        r += page;
        break;
    }
    case VK_TAB:
        // Only with goTabs does Tab stay in the grid: cell by cell, row after row.
        if (!options_.Contains(goTabs) || ctrl) return;
        if (shift.Contains(ssShift)) {
            if (--c < fixedCols_) {
                c = colCount_ - 1;
                --r;
            }
        } else if (++c >= colCount_) {
            c = fixedCols_;
            ++r;
        }
        if (r < fixedRows_ || r >= rowCount_) return;
        FocusCell(c, r, true);
        key = 0;
        return;
    case VK_HOME:
        if (ctrl || rowSelect) r = fixedRows_;
        c = fixedCols_;
        break;
    case VK_END:
        if (ctrl || rowSelect) r = rowCount_ - 1;
        c = colCount_ - 1;
        break;
    default:
        return;
    }
    if (extend)
        ExtendSelection(c, r);
    else
        FocusCell(c, r, true);
    key = 0;
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (!Focused() && CanFocus()) SetFocus();
        int c, r;
        if (MouseToCell(x, y, c, r) && c >= fixedCols_ && r >= fixedRows_) {
            if (shift.Contains(ssShift) && options_.Contains(goRangeSelect))
                ExtendSelection(c, r);
            else
                FocusCell(c, r, true);
            selecting_ = options_.Contains(goRangeSelect);
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
    if (selecting_ && shift.Contains(ssLeft)) {
        int c, r;
        if (MouseToCell(x, y, c, r)) ExtendSelection(c, r);
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) selecting_ = false;
    TCustomControl::MouseUp(button, shift, x, y);
}

bool TCustomGrid::DoMouseWheel(TShiftState shift, int delta, POINT pos) {
    if (TCustomControl::DoMouseWheel(shift, delta, pos)) return true;
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    int step = lines == WHEEL_PAGESCROLL ? VisibleRowCount() : int(std::min(lines, 100u));
    // Fine-grained wheels send less than a notch at a time: keep the rest.
    wheelRemainder_ += delta;
    int notches = wheelRemainder_ / WHEEL_DELTA;
    wheelRemainder_ -= notches * WHEEL_DELTA;
    if (notches != 0) ScrollBy(0, -notches * step);
    return true;
}

// ---------------------------------------------------------------------------
// TDrawGrid and TStringGrid

const TClassInfo& TDrawGrid::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TDrawGrid>(L"TDrawGrid", &TCustomGrid::StaticClass()).Build();
    return info;
}

const TClassInfo& TStringGrid::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TStringGrid>(L"TStringGrid", &TDrawGrid::StaticClass()).Build();
    return info;
}

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {
    storedCols_ = ColCount();
    cells_.resize(size_t(ColCount()) * size_t(RowCount()));
}

const std::wstring& TStringGrid::Cells(int col, int row) const {
    static const std::wstring empty;
    if (col < 0 || row < 0 || col >= storedCols_ || row >= RowCount()) return empty;
    return cells_[size_t(row) * size_t(storedCols_) + size_t(col)];
}

void TStringGrid::SetCells(int col, int row, std::wstring_view text) {
    if (col < 0 || row < 0 || col >= storedCols_ || row >= RowCount())
        throw EInvalidOperation(L"Grid index out of range");
    std::wstring& cell = cells_[size_t(row) * size_t(storedCols_) + size_t(col)];
    if (cell == text) return;
    cell.assign(text);
    InvalidateCell(col, row);
}

std::wstring TStringGrid::CellsText(const TGridRect& r) const {
    if (r.Left == r.Right && r.Top == r.Bottom) return Cells(r.Left, r.Top);
    std::wstring text;
    for (int row = r.Top; row <= r.Bottom; ++row) {
        for (int col = r.Left; col <= r.Right; ++col) {
            if (col > r.Left) text += L'\t';
            text += Cells(col, row);
        }
        text += L"\r\n";
    }
    return text;
}

bool TStringGrid::CopyToClipboard(const TGridRect& r) const {
    return SetClipboardText(CellsText(r));
}

void TStringGrid::KeyDown(WORD& key, TShiftState shift) {
    TDrawGrid::KeyDown(key, shift);
    const bool ctrlOnly =
        shift.Contains(ssCtrl) && !shift.Contains(ssShift) && !shift.Contains(ssAlt);
    if ((key == 'C' || key == VK_INSERT) && ctrlOnly) {
        if (!CopyToClipboard(Selection())) Beep();
        key = 0;
    }
}

void TStringGrid::SizeChanged(int oldColCount, int oldRowCount) {
    int cols = ColCount(), rows = RowCount();
    if (cols != storedCols_) {
        std::vector<std::wstring> moved(size_t(cols) * size_t(rows));
        int keepCols = std::min(cols, storedCols_);
        int keepRows = std::min(rows, int(cells_.size() / size_t(std::max(storedCols_, 1))));
        for (int r = 0; r < keepRows; ++r)
            for (int c = 0; c < keepCols; ++c)
                moved[size_t(r) * size_t(cols) + size_t(c)] =
                    std::move(cells_[size_t(r) * size_t(storedCols_) + size_t(c)]);
        cells_.swap(moved);
        storedCols_ = cols;
    } else {
        cells_.resize(size_t(cols) * size_t(rows));
    }
    TDrawGrid::SizeChanged(oldColCount, oldRowCount);
}

void TStringGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
    if (DefaultDrawing()) {
        const std::wstring& text = Cells(col, row);
        if (!text.empty()) Canvas().TextRect(rect, rect.left + 2, rect.top + 2, text);
    }
    TDrawGrid::DrawCell(col, row, rect, state);
}
