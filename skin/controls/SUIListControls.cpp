#include "skin/controls/SUIListControls.h"

#include "skin/controls/SUIFramedControl.h"
#include "skin/controls/SUIPopupMenu.h"
#include "skin/controls/SUIScrollBar.h"

#include "framework/GdiHandles.h"
#include "framework/Utils.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <functional>

// ---------------------------------------------------------------------------
// TsuiComboBox

const TClassInfo& TsuiComboBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiComboBox>(L"TsuiComboBox", &TComboBox::StaticClass())
            .With(PublishStyle<TsuiComboBox>)
            .Color(L"BorderColor", &TsuiComboBox::BorderColor, &TsuiComboBox::SetBorderColor)
            .Color(L"ArrowColor", &TsuiComboBox::ArrowColor, &TsuiComboBox::SetArrowColor)
            .Color(L"ButtonColor", &TsuiComboBox::ButtonColor, &TsuiComboBox::SetButtonColor)
            .Build();
    return info;
}

TsuiComboBox::TsuiComboBox(TComponent* owner) : TsuiStyled(owner) {}

void TsuiComboBox::ApplyStyle() {
    // The arrow is black in every style.
    arrowColor_ = clBlack;
    borderColor_ = StyleLink().Color(ThemeElement::ControlBorderColor);
    buttonColor_ = StyleLink().Color(ThemeElement::FormBackgroundColor);
    if (UIStyle() == TsuiUIStyle::MacOS)
        buttonPicture_.LoadFromResourceName(MainInstance(), L"MACOS_COMBOBOX_BUTTON");
    else if (UIStyle() == TsuiUIStyle::WinXP)
        buttonPicture_.LoadFromResourceName(MainInstance(), L"WINXP_COMBOBOX_BUTTON");
    else
        buttonPicture_.SetSize(0, 0);
    Invalidate();
}

void TsuiComboBox::EnabledChanged() {
    TsuiStyled::EnabledChanged();
    Invalidate();
}

void TsuiComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
        TsuiStyled::WndProc(m);
        PaintSkin(reinterpret_cast<HDC>(m.WParam));
        return;
    case CN_COMMAND:
        TsuiStyled::WndProc(m);
        // The closed list leaves its frame's pixels on whatever lay below.
        if (HIWORD(m.WParam) == CBN_CLOSEUP && Parent()) Parent()->Invalidate();
        return;
    default:
        TsuiStyled::WndProc(m);
    }
}

void TsuiComboBox::PaintSkin(HDC dc) {
    // The simple style shows its list for good: the system's look stays.
    if (Style() == csSimple || !HandleAllocated()) return;
    const COMBOBOXINFO info = ComboBoxInfo();
    std::unique_ptr<TCanvas> canvas =
        dc ? std::make_unique<TCanvas>(dc) : std::make_unique<TWindowCanvas>(Handle());

    RECT r{0, 0, ClientWidth(), ClientHeight()};
    FrameControlRect(*canvas, r, borderColor_);
    InflateRect(&r, -1, -1);
    FrameControlRect(*canvas, r, Color());

    const RECT& b = info.rcButton;
    if (!buttonPicture_.Empty()) {
        canvas->StretchDraw(b, buttonPicture_);
    } else {
        FillControlRect(*canvas, b, buttonColor_);
        canvas->Pen().SetColor(borderColor_);
        canvas->MoveTo(b.left, b.top - 1);
        canvas->LineTo(b.left, b.bottom + 1);
    }

    // The WinXP picture brings its own arrow.
    if (UIStyle() != TsuiUIStyle::WinXP) {
        const int x = b.left + (b.right - b.left) / 2 - 3;
        const int y = (b.bottom - b.top) / 2;
        auto triangle = [&](int dx, TColor color) {
            const POINT points[] = {
                {x + dx, y + dx}, {x + 6 + dx, y + dx}, {x + 3 + dx, y + 3 + dx}};
            canvas->Pen().SetColor(color);
            canvas->Brush().SetColor(color);
            canvas->Polygon(points);
        };
        if (Enabled()) {
            triangle(0, arrowColor_);
        } else {
            triangle(1, clWhite);
            triangle(0, TColor(0x808080));
        }
    }

    // The dropped list is a window of its own: its edge gets the border too.
    if (info.hwndList && IsWindowVisible(info.hwndList)) {
        WindowDC listDc(info.hwndList, true);
        RECT lr{};
        GetWindowRect(info.hwndList, &lr);
        OffsetRect(&lr, -lr.left, -lr.top);
        BrushHandle brush(CreateSolidBrush(ColorToRGB(borderColor_)));
        FrameRect(listDc.Get(), &lr, brush.Get());
    }
}

void TsuiComboBox::SetBorderColor(TColor v) {
    borderColor_ = v;
    Invalidate();
}

void TsuiComboBox::SetArrowColor(TColor v) {
    arrowColor_ = v;
    Invalidate();
}

void TsuiComboBox::SetButtonColor(TColor v) {
    buttonColor_ = v;
    Invalidate();
}

// ---------------------------------------------------------------------------
// The scroll-bar link

namespace {

// Sets a flag for as long as it lives.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;
    ~FlagScope() { flag_ = false; }

  private:
    bool& flag_;
};

// What the system's own bar of a window shows.
struct PlatformBar {
    bool shown = false;  // on screen, with something to scroll or not
    bool usable = false; // shown and with something to scroll
    int thumb = 0;       // the thumb's length in pixels
    bool ranged = false; // info holds the range and position
    SCROLLINFO info{};
};

PlatformBar ReadPlatformBar(HWND wnd, bool vertical) {
    PlatformBar bar;
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    if (GetScrollBarInfo(wnd, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi)) {
        bar.shown = !(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE);
        bar.usable = bar.shown && !(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
        bar.thumb = sbi.xyThumbBottom - sbi.xyThumbTop;
    }
    // Positions are 32-bit here, unlike the one a scroll message carries.
    bar.info.cbSize = sizeof bar.info;
    bar.info.fMask = SIF_ALL;
    bar.ranged = GetScrollInfo(wnd, vertical ? SB_VERT : SB_HORZ, &bar.info) != FALSE;
    return bar;
}

// Hands a linked bar back as a free-standing one.
void ReleaseBar(TComponent& holder, TsuiScrollBar& bar) {
    holder.RemoveFreeNotification(&bar);
    bar.OnChange = nullptr;
    bar.SetLineButton(0);
    bar.SetMax(100);
    bar.SetEnabled(true);
    bar.SetThumbVisible(true);
    bar.SetKeepInFront(false);
}

void StyleBar(TsuiScrollBar* bar, const TsuiStyleLink& link) {
    if (!bar) return;
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    link.Resolve(effective);
    if (link.FileTheme()) bar->SetFileTheme(link.FileTheme());
    bar->SetUIStyle(effective);
}

// Not documented; the system's bar may have changed after it.
constexpr UINT kUndocumentedBarChange = 4;

} // namespace

TsuiScrollBarLink::TsuiScrollBarLink(TWinControl& control,
                                     std::function<void(bool vertical, int position)> scroll)
    : control_(control), scroll_(std::move(scroll)) {}

TsuiScrollBarLink::~TsuiScrollBarLink() {
    for (TsuiScrollBar* bar : bars_) {
        if (!bar) continue;
        bar->OnChange = nullptr;
        control_.RemoveFreeNotification(bar);
    }
}

bool TsuiScrollBarLink::SetBar(bool vertical, TsuiScrollBar* bar, const TsuiStyleLink& style) {
    TsuiScrollBar*& slot = bars_[vertical];
    if (bar == slot) return false;
    if (slot) ReleaseBar(control_, *slot);
    slot = bar;
    systemShown_[vertical] = true;
    if (!bar) return true;
    control_.FreeNotification(bar);
    bar->SetOrientation(vertical ? suiVertical : suiHorizontal);
    bar->OnChange = [this, vertical](TObject*) { BarChanged(vertical); };
    if (control_.Parent() && bar->Parent() != control_.Parent()) bar->SetParent(control_.Parent());
    bar->SetKeepInFront(true);
    StyleBar(bar, style);
    return true;
}

void TsuiScrollBarLink::Style(const TsuiStyleLink& style) {
    for (TsuiScrollBar* bar : bars_)
        StyleBar(bar, style);
}

void TsuiScrollBarLink::Place() {
    TsuiScrollBar *h = bars_[false], *v = bars_[true];
    const int left = control_.Left(), top = control_.Top();
    const int width = control_.Width(), height = control_.Height();
    if (h)
        h->SetBounds(left + 1, top + height - h->Height() - 2, width - (v ? v->Width() : 0) - 2,
                     h->Height());
    if (v)
        v->SetBounds(left + width - v->Width() - 2, top + 1, v->Width(),
                     height - (h ? h->Height() : 0) - 2);
    ShowBars();
}

void TsuiScrollBarLink::ShowBars() {
    // A bar larger than the control would stick out of it. Where the system
    // shows no bar of its own, ours would hide the control's content.
    if (TsuiScrollBar* h = bars_[false])
        h->SetVisible(systemShown_[false] && control_.Height() >= h->Height());
    if (TsuiScrollBar* v = bars_[true])
        v->SetVisible(systemShown_[true] && control_.Width() >= v->Width());
}

void TsuiScrollBarLink::Sync() {
    if (syncing_ || scrolling_ || redrawOff_ || !control_.HandleAllocated()) return;
    FlagScope scope(syncing_);
    SyncBar(false);
    SyncBar(true);
    ShowBars();
}

void TsuiScrollBarLink::SyncBar(bool vertical) {
    TsuiScrollBar* bar = bars_[vertical];
    if (!bar) return;
    const PlatformBar platform = ReadPlatformBar(control_.Handle(), vertical);
    systemShown_[vertical] = platform.shown;
    // A system bar with nothing to scroll is covered by an empty one.
    if (platform.usable) {
        bar->SetLineButton(platform.thumb);
        bar->SetThumbVisible(true);
        bar->SetEnabled(true);
        if (!vertical) bar->SetSmallChange(3 * bar->PageSize());
    } else {
        bar->SetLineButton(0);
        bar->SetEnabled(false);
        bar->SetThumbVisible(false);
    }
    if (!platform.ranged) return;
    const SCROLLINFO& si = platform.info;
    bar->SetMax(int(std::max<long long>((long long)si.nMax - si.nPage + 1, INT_MIN)));
    bar->SetMin(si.nMin);
    bar->SetPosition(si.nPos);
}

void TsuiScrollBarLink::BarChanged(bool vertical) {
    TsuiScrollBar* bar = bars_[vertical];
    if (syncing_ || !bar || !control_.HandleAllocated()) return;
    {
        FlagScope scope(scrolling_);
        scroll_(vertical, bar->Position());
        control_.Invalidate();
    }
    // Where the control stopped, which may be short of where the bar asked.
    Sync();
}

void TsuiScrollBarLink::Follow(const TMessage& m) {
    switch (m.Msg) {
    case WM_SETREDRAW:
        redrawOff_ = m.WParam == FALSE;
        Sync();
        break;
    case WM_LBUTTONDOWN:
        mouseDown_ = true;
        Sync();
        break;
    case WM_LBUTTONUP:
        mouseDown_ = false;
        break;
    case WM_MOUSEMOVE:
        if (mouseDown_) Sync();
        break;
    case WM_CREATE:
    case kUndocumentedBarChange:
    case WM_SIZE:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYDOWN:
    case WM_CHAR: // typing adds lines after the key went down
    case WM_MOUSEWHEEL:
    case WM_DELETEITEM:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCOUNT:
    case WM_SETTEXT:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
        Sync();
        break;
    default:
        break;
    }
}

bool TsuiScrollBarLink::Forget(const TComponent* component) {
    bool forgot = false;
    for (TsuiScrollBar*& bar : bars_) {
        if (!bar || bar != component) continue;
        bar = nullptr;
        forgot = true;
    }
    return forgot;
}

// ---------------------------------------------------------------------------
// TsuiListBox and TsuiMemo

template <class Base>
TsuiFramedControl<Base>::TsuiFramedControl(TComponent* owner)
    : TsuiStyled<Base>(owner),
      link_(*this, [this](bool vertical, int position) { ScrollTo(vertical, position); }) {}

template <class Base> void TsuiFramedControl<Base>::ApplyStyle() {
    SetBorderColor(this->StyleLink().Color(ThemeElement::ControlBorderColor));
    link_.Style(this->StyleLink());
    this->Invalidate();
}

template <class Base> void TsuiFramedControl<Base>::SetBorderColor(TColor v) {
    borderColor_ = v;
    if (this->HandleAllocated()) FrameWindowEdge(*this, borderColor_, this->Color(), true);
}

template <class Base> void TsuiFramedControl<Base>::CreateParams(TCreateParams& params) {
    Base::CreateParams(params);
    RemoveSystemBorder(params);
}

template <class Base> void TsuiFramedControl<Base>::WndProc(TMessage& m) {
    FramedWndProc(
        m, 2, [this](TMessage& msg) { Base::WndProc(msg); },
        [this] { FrameWindowEdge(*this, borderColor_, this->Color(), true); });
    link_.Follow(m);
}

template <class Base>
void TsuiFramedControl<Base>::ApplyBounds(int left, int top, int width, int height) {
    TsuiStyled<Base>::ApplyBounds(left, top, width, height);
    link_.Place();
}

template <class Base> void TsuiFramedControl<Base>::EnabledChanged() {
    TsuiStyled<Base>::EnabledChanged();
    link_.Sync();
}

template <class Base> void TsuiFramedControl<Base>::Loaded() {
    TsuiStyled<Base>::Loaded();
    link_.Place();
    link_.Sync();
}

template <class Base>
void TsuiFramedControl<Base>::Notification(TComponent* component, TOperation operation) {
    TsuiStyled<Base>::Notification(component, operation);
    if (operation == TOperation::opRemove && link_.Forget(component) && !this->Destroying())
        BarsChanged();
}

template <class Base> void TsuiFramedControl<Base>::LinkBar(bool vertical, TsuiScrollBar* bar) {
    if (!link_.SetBar(vertical, bar, this->StyleLink())) return;
    BarsChanged();
    link_.Place();
    link_.Sync();
}

template class TsuiFramedControl<TListBox>;
template class TsuiFramedControl<TMemo>;

const TClassInfo& TsuiListBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiListBox>(L"TsuiListBox", &TListBox::StaticClass())
            .With(PublishStyle<TsuiListBox>)
            .Color(L"BorderColor", &TsuiListBox::BorderColor, &TsuiListBox::SetBorderColor)
            .Component(L"VScrollBar", &TsuiListBox::VScrollBar, &TsuiListBox::SetVScrollBar)
            .Build();
    return info;
}

void TsuiListBox::ScrollTo(bool, int position) {
    SendMessageW(Handle(), LB_SETTOPINDEX, WPARAM(position), 0);
}

const TClassInfo& TsuiMemo::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiMemo>(L"TsuiMemo", &TMemo::StaticClass())
            .With(PublishStyle<TsuiMemo>)
            .Color(L"BorderColor", &TsuiMemo::BorderColor, &TsuiMemo::SetBorderColor)
            .Component(L"VScrollBar", &TsuiMemo::VScrollBar, &TsuiMemo::SetVScrollBar)
            .Component(L"HScrollBar", &TsuiMemo::HScrollBar, &TsuiMemo::SetHScrollBar)
            .Build();
    return info;
}

void TsuiMemo::ScrollTo(bool vertical, int position) {
    if (!vertical) {
        SendMessageW(Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, LOWORD(position)), 0);
        return;
    }
    // Lines, as the system's vertical position counts them; all 32 bits.
    const auto first = int(SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageW(Handle(), EM_LINESCROLL, 0, LPARAM(position - first));
}

void TsuiMemo::BarsChanged() {
    const bool v = VScrollBar(), h = HScrollBar();
    SetScrollBars(v && h ? msBoth : v ? msVertical : h ? msHorizontal : msNone);
}

void TsuiMemo::WndProc(TMessage& m) {
    TsuiFramedControl::WndProc(m);
    if (m.Msg == WM_NCPAINT || m.Msg == WM_PAINT) PaintCorner();
}

void TsuiMemo::PaintCorner() {
    // The system's corner between its own two bars shows between ours: it
    // takes their colour so the pair reads as one.
    TsuiScrollBar *v = VScrollBar(), *h = HScrollBar();
    if (!v || !h || !HandleAllocated()) return;
    const RECT corner{v->Left() - Left(), h->Top() - Top(), Width() - 2, Height() - 2};
    if (IsRectEmpty(&corner)) return;
    WindowDC dc(Handle(), true);
    BrushHandle brush(CreateSolidBrush(ColorToRGB(v->Color())));
    FillRect(dc.Get(), &corner, brush.Get());
}

// ---------------------------------------------------------------------------
// TsuiStringGrid

const TClassInfo& TsuiStringGrid::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiStringGrid>(L"TsuiStringGrid", &TStringGrid::StaticClass())
            .With(PublishStyle<TsuiStringGrid>)
            .Color(L"BorderColor", &TsuiStringGrid::BorderColor, &TsuiStringGrid::SetBorderColor)
            .Color(L"FocusedColor", &TsuiStringGrid::FocusedColor, &TsuiStringGrid::SetFocusedColor)
            .Color(L"SelectedColor", &TsuiStringGrid::SelectedColor,
                   &TsuiStringGrid::SetSelectedColor)
            .Color(L"FixedFontColor", &TsuiStringGrid::FixedFontColor,
                   &TsuiStringGrid::SetFixedFontColor)
            .Color(L"BGColor", &TsuiStringGrid::BGColor, &TsuiStringGrid::SetBGColor)
            .Color(L"FixedBGColor", &TsuiStringGrid::FixedBGColor, &TsuiStringGrid::SetFixedBGColor)
            .Color(L"FontColor", &TsuiStringGrid::FontColor, &TsuiStringGrid::SetFontColor)
            .Property(L"Ctl3D", &TsuiStringGrid::Ctl3D, &TsuiStringGrid::SetCtl3D)
            .Build();
    return info;
}

TsuiStringGrid::TsuiStringGrid(TComponent* owner) : TsuiStyled(owner) {}

void TsuiStringGrid::ApplyStyle() {
    borderColor_ = StyleLink().Color(ThemeElement::ControlBorderColor);
    SetFixedColor(StyleLink().Color(ThemeElement::MenuSelectedBackgroundColor));
    SetColor(StyleLink().Color(ThemeElement::ControlBackgroundColor));
    fixedFontColor_ = StyleLink().Color(ThemeElement::MenuSelectedFontColor);
    SetFontColor(StyleLink().Color(ThemeElement::MenuFontColor));
}

void TsuiStringGrid::SetBorderColor(TColor v) {
    borderColor_ = v;
    Invalidate();
}

void TsuiStringGrid::SetFocusedColor(TColor v) {
    focusedColor_ = v;
    Invalidate();
}

void TsuiStringGrid::SetSelectedColor(TColor v) {
    selectedColor_ = v;
    Invalidate();
}

void TsuiStringGrid::SetFixedFontColor(TColor v) {
    fixedFontColor_ = v;
    Invalidate();
}

void TsuiStringGrid::SetFontColor(TColor v) {
    Font().SetColor(v);
    Invalidate();
}

void TsuiStringGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
    if (DefaultDrawing()) {
        TCanvas& canvas = Canvas();
        if (state.Contains(gdFixed)) {
            canvas.Font().SetColor(fixedFontColor_);
        } else {
            // The focused cell wins over the selection round it.
            TColor fill = Color();
            bool paint = state.Empty();
            if (state.Contains(gdSelected)) fill = selectedColor_, paint = true;
            if (state.Contains(gdFocused)) fill = focusedColor_, paint = true;
            if (paint) {
                canvas.Brush().SetStyle(bsSolid);
                canvas.Brush().SetColor(fill);
                canvas.FillRect(rect);
            }
        }
    }
    TStringGrid::DrawCell(col, row, rect, state);
}

TsuiPopupMenu& TsuiStringGrid::CopyMenu() {
    if (!copyMenu_) {
        copyMenu_ = new TsuiPopupMenu(this);
        auto add = [this](const wchar_t* caption, std::function<TGridRect()> block) {
            auto* item = new TMenuItem(copyMenu_);
            item->SetCaption(caption);
            item->OnClick = [this, block](TObject*) {
                if (!CopyToClipboard(block())) Beep();
            };
            copyMenu_->Items()->Add(item);
            return item;
        };
        // The shortcut is shown only: the menu is not the form's, so the
        // grid's own key handling copies.
        add(L"复制", [this] { return Selection(); })->SetShortCut(ShortCut('C', {ssCtrl}));
        add(L"复制全部", [this] { return WholeGrid(); });
    }
    copyMenu_->SetFileTheme(FileTheme());
    copyMenu_->SetUIStyle(UIStyle());
    copyMenu_->InstallItemHandlers();
    return *copyMenu_;
}

void TsuiStringGrid::ShowCopyMenu(POINT at) {
    if (at.x == -1 && at.y == -1) {
        const RECT cell = CellRect(Col(), Row());
        at = ClientToScreen({cell.left, cell.bottom});
    } else {
        // A click beside the selection selects the cell under it first, as
        // spreadsheets do, so that 复制 copies what was clicked.
        const POINT p = ScreenToClient(at);
        int col, row;
        if (MouseToCell(p.x, p.y, col, row) && col >= FixedCols() && row >= FixedRows() &&
            !Selection().Contains(col, row)) {
            SetCol(col);
            SetRow(row);
        }
    }
    CopyMenu().Popup(at.x, at.y);
}

void TsuiStringGrid::CreateParams(TCreateParams& params) {
    TStringGrid::CreateParams(params);
    RemoveSystemBorder(params);
}

void TsuiStringGrid::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: {
        // The erase that BeginPaint sends comes before a paint of every cell.
        const bool was = painting_;
        painting_ = true;
        TStringGrid::WndProc(m);
        painting_ = was;
        FrameWindowEdge(*this, borderColor_, Color(), false);
        return;
    }
    case WM_CONTEXTMENU: {
        // Over the cells or from the menu key; the scroll bars keep theirs.
        const POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        const POINT p = ScreenToClient(at);
        RECT client{};
        GetClientRect(Handle(), &client);
        if ((at.x == -1 && at.y == -1) || PtInRect(&client, p)) {
            ShowCopyMenu(at);
            m.Result = 0;
            return;
        }
        break;
    }
    case WM_ERASEBKGND:
        // No erase under the cells, so they never flicker: the grid is
        // painted again whole instead.
        if (!painting_ && HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
        m.Result = 1;
        return;
    default:
        break;
    }
    FramedWndProc(
        m, 1, [this](TMessage& msg) { TStringGrid::WndProc(msg); },
        [this] {
            if (HandleAllocated()) FrameWindowEdge(*this, borderColor_, Color(), false);
        });
}
