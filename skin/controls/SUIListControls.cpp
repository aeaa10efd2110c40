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
            .Enum(L"UIStyle", &TsuiComboBox::UIStyle, &TsuiComboBox::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiComboBox::FileTheme, &TsuiComboBox::SetFileTheme)
            .Color(L"BorderColor", &TsuiComboBox::BorderColor, &TsuiComboBox::SetBorderColor)
            .Color(L"ArrowColor", &TsuiComboBox::ArrowColor, &TsuiComboBox::SetArrowColor)
            .Color(L"ButtonColor", &TsuiComboBox::ButtonColor, &TsuiComboBox::SetButtonColor)
            .Build();
    return info;
}

TsuiComboBox::TsuiComboBox(TComponent* owner) : TsuiStyled(owner) {
    SetUIStyle(GetOwnerFormStyle(owner));
}

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
// TsuiListBox and TsuiMemo

template <class Base>
TsuiFramedControl<Base>::TsuiFramedControl(TComponent* owner) : TsuiStyled<Base>(owner) {
    this->SetUIStyle(GetOwnerFormStyle(owner));
}

template <class Base> void TsuiFramedControl<Base>::ApplyStyle() {
    SetBorderColor(this->StyleLink().Color(ThemeElement::ControlBorderColor));
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
}

template class TsuiFramedControl<TListBox>;
template class TsuiFramedControl<TMemo>;

// ---------------------------------------------------------------------------
// The scroll-bar links of TsuiListBox and TsuiMemo

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
        bar.usable = !(sbi.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE));
        bar.thumb = sbi.xyThumbBottom - sbi.xyThumbTop;
    }
    // Positions are 32-bit here, unlike the one a scroll message carries.
    bar.info.cbSize = sizeof bar.info;
    bar.info.fMask = SIF_ALL;
    bar.ranged = GetScrollInfo(wnd, vertical ? SB_VERT : SB_HORZ, &bar.info) != FALSE;
    return bar;
}

void TakeRange(TsuiScrollBar& bar, const PlatformBar& from) {
    if (!from.ranged) return;
    const SCROLLINFO& si = from.info;
    bar.SetMax(int(std::max<long long>((long long)si.nMax - si.nPage + 1, INT_MIN)));
    bar.SetMin(si.nMin);
    bar.SetPosition(si.nPos);
}

// Hands a linked bar back as a free-standing one.
void ReleaseBar(TComponent& holder, TsuiScrollBar& bar) {
    holder.RemoveFreeNotification(&bar);
    bar.OnChange = nullptr;
    bar.SetLineButton(0);
    bar.SetMax(100);
    bar.SetEnabled(true);
    bar.SetKeepInFront(false);
}

void LinkBar(TWinControl& holder, TsuiScrollBar& bar, bool vertical, TNotifyEvent changed) {
    holder.FreeNotification(&bar);
    bar.SetOrientation(vertical ? suiVertical : suiHorizontal);
    bar.OnChange = std::move(changed);
    if (holder.Parent() && bar.Parent() != holder.Parent()) bar.SetParent(holder.Parent());
    bar.SetKeepInFront(true);
}

// A linked bar looks like the control it lies on.
void StyleBar(TsuiScrollBar* bar, const TsuiStyleLink& link) {
    if (!bar) return;
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    link.Resolve(effective);
    if (link.FileTheme()) bar->SetFileTheme(link.FileTheme());
    bar->SetUIStyle(effective);
}

// The message carries only 16 bits of the position: a scroll from a linked
// bar is done here with the bar's whole position instead.
bool IsThumbPositionFromBar(const TMessage& m, UINT msg) {
    return m.Msg == msg && LOWORD(m.WParam) == SB_THUMBPOSITION && m.LParam == 0;
}

void SendThumbPosition(TWinControl& control, UINT msg, int position) {
    SendMessageW(control.Handle(), msg, MAKEWPARAM(SB_THUMBPOSITION, LOWORD(position)), 0);
    control.Invalidate();
}

} // namespace

// ---------------------------------------------------------------------------
// TsuiListBox

const TClassInfo& TsuiListBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiListBox>(L"TsuiListBox", &TListBox::StaticClass())
            .Enum(L"UIStyle", &TsuiListBox::UIStyle, &TsuiListBox::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiListBox::FileTheme, &TsuiListBox::SetFileTheme)
            .Color(L"BorderColor", &TsuiListBox::BorderColor, &TsuiListBox::SetBorderColor)
            .Component(L"VScrollBar", &TsuiListBox::VScrollBar, &TsuiListBox::SetVScrollBar)
            .Build();
    return info;
}

TsuiListBox::~TsuiListBox() {
    if (vBar_) {
        vBar_->OnChange = nullptr;
        RemoveFreeNotification(vBar_);
    }
}

void TsuiListBox::SetVScrollBar(TsuiScrollBar* bar) {
    if (bar == vBar_) return;
    if (vBar_) ReleaseBar(*this, *vBar_);
    vBar_ = bar;
    if (!bar) return;
    LinkBar(*this, *bar, true, [this](TObject*) { BarChanged(); });
    StyleBar(bar, StyleLink());
    PlaceBar();
    SyncBar();
}

void TsuiListBox::ApplyStyle() {
    TsuiFramedControl::ApplyStyle();
    StyleBar(vBar_, StyleLink());
    Invalidate();
}

void TsuiListBox::PlaceBar() {
    if (!vBar_) return;
    const int width = vBar_->Width();
    const int left = Width() < width ? Left() : Left() + Width() - width - 2;
    vBar_->SetBounds(left, Top() + 1, width, Height() - 2);
}

void TsuiListBox::SyncBar() {
    if (!vBar_ || syncing_ || redrawOff_ || !HandleAllocated()) return;
    FlagScope scope(syncing_);
    const PlatformBar platform = ReadPlatformBar(Handle(), true);
    if (platform.usable) {
        vBar_->SetLineButton(platform.thumb);
        vBar_->SetEnabled(true);
        vBar_->Show();
    } else {
        vBar_->SetLineButton(0);
        vBar_->SetEnabled(false);
        vBar_->Hide();
    }
    TakeRange(*vBar_, platform);
}

void TsuiListBox::BarChanged() {
    if (syncing_ || !vBar_ || !HandleAllocated()) return;
    FlagScope scope(fromBar_);
    SendThumbPosition(*this, WM_VSCROLL, vBar_->Position());
}

void TsuiListBox::WndProc(TMessage& m) {
    if (fromBar_ && vBar_ && IsThumbPositionFromBar(m, WM_VSCROLL)) {
        SendMessageW(Handle(), LB_SETTOPINDEX, WPARAM(vBar_->Position()), 0);
        SyncBar();
        return;
    }
    TsuiFramedControl::WndProc(m);
    switch (m.Msg) {
    case WM_SETREDRAW:
        redrawOff_ = m.WParam == FALSE;
        SyncBar();
        break;
    case WM_LBUTTONDOWN:
        mouseDown_ = true;
        SyncBar();
        break;
    case WM_LBUTTONUP:
        mouseDown_ = false;
        break;
    case WM_MOUSEMOVE:
        if (mouseDown_) SyncBar();
        break;
    case WM_CREATE:
    case 4: // an undocumented message after which the system's bar may have changed
    case WM_SIZE:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCOUNT:
    case WM_DELETEITEM:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYDOWN:
    case WM_MOUSEWHEEL:
        SyncBar();
        break;
    default:
        break;
    }
}

void TsuiListBox::ApplyBounds(int left, int top, int width, int height) {
    TsuiFramedControl::ApplyBounds(left, top, width, height);
    PlaceBar();
}

void TsuiListBox::EnabledChanged() {
    TsuiFramedControl::EnabledChanged();
    SyncBar();
}

void TsuiListBox::Loaded() {
    TsuiFramedControl::Loaded();
    PlaceBar();
    SyncBar();
}

void TsuiListBox::Notification(TComponent* component, TOperation operation) {
    TsuiFramedControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == vBar_) vBar_ = nullptr;
}

// ---------------------------------------------------------------------------
// TsuiMemo

const TClassInfo& TsuiMemo::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiMemo>(L"TsuiMemo", &TMemo::StaticClass())
            .Enum(L"UIStyle", &TsuiMemo::UIStyle, &TsuiMemo::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiMemo::FileTheme, &TsuiMemo::SetFileTheme)
            .Color(L"BorderColor", &TsuiMemo::BorderColor, &TsuiMemo::SetBorderColor)
            .Component(L"VScrollBar", &TsuiMemo::VScrollBar, &TsuiMemo::SetVScrollBar)
            .Component(L"HScrollBar", &TsuiMemo::HScrollBar, &TsuiMemo::SetHScrollBar)
            .Build();
    return info;
}

TsuiMemo::~TsuiMemo() {
    for (TsuiScrollBar* bar : {vBar_, hBar_}) {
        if (!bar) continue;
        bar->OnChange = nullptr;
        RemoveFreeNotification(bar);
    }
}

void TsuiMemo::SetVScrollBar(TsuiScrollBar* bar) {
    Link(vBar_, bar, true);
}

void TsuiMemo::SetHScrollBar(TsuiScrollBar* bar) {
    Link(hBar_, bar, false);
}

void TsuiMemo::Link(TsuiScrollBar*& slot, TsuiScrollBar* bar, bool vertical) {
    if (bar == slot) return;
    if (slot) ReleaseBar(*this, *slot);
    slot = bar;
    if (bar) {
        LinkBar(*this, *bar, vertical, [this, vertical](TObject*) { BarChanged(vertical); });
        StyleBar(bar, StyleLink());
    }
    FollowLinks();
    PlaceBars();
    SyncBars();
}

void TsuiMemo::FollowLinks() {
    SetScrollBars(vBar_ && hBar_ ? msBoth : vBar_ ? msVertical : hBar_ ? msHorizontal : msNone);
}

void TsuiMemo::ApplyStyle() {
    TsuiFramedControl::ApplyStyle();
    StyleBar(vBar_, StyleLink());
    StyleBar(hBar_, StyleLink());
    Invalidate();
}

void TsuiMemo::PlaceBars() {
    if (hBar_) {
        const int h = hBar_->Height();
        hBar_->SetVisible(Height() >= h);
        hBar_->SetBounds(Left() + 1, Top() + Height() - h - 2,
                         Width() - (vBar_ ? vBar_->Width() : 0) - 2, h);
    }
    if (vBar_) {
        const int w = vBar_->Width();
        vBar_->SetVisible(Width() >= w);
        vBar_->SetBounds(Left() + Width() - w - 2, Top() + 1, w,
                         Height() - (hBar_ ? hBar_->Height() : 0) - 2);
    }
}

void TsuiMemo::PaintCorner() {
    // The system's corner between its own two bars shows between ours: it
    // takes their colour so the pair reads as one.
    if (!vBar_ || !hBar_ || !HandleAllocated()) return;
    const RECT corner{vBar_->Left() - Left(), hBar_->Top() - Top(), Width() - 2, Height() - 2};
    if (IsRectEmpty(&corner)) return;
    WindowDC dc(Handle(), true);
    BrushHandle brush(CreateSolidBrush(ColorToRGB(vBar_->Color())));
    FillRect(dc.Get(), &corner, brush.Get());
}

void TsuiMemo::SyncBars() {
    if (syncing_ || scrolling_ || !HandleAllocated()) return;
    FlagScope scope(syncing_);
    for (TsuiScrollBar* bar : {vBar_, hBar_}) {
        if (!bar) continue;
        const bool vertical = bar == vBar_;
        const PlatformBar platform = ReadPlatformBar(Handle(), vertical);
        if (platform.usable) {
            bar->SetLineButton(platform.thumb);
            bar->SetThumbVisible(true);
            bar->SetEnabled(true);
            if (!vertical) bar->SetSmallChange(3 * bar->PageSize());
        } else {
            // The bar stays in place over the system's, only empty.
            bar->SetLineButton(0);
            bar->SetEnabled(false);
            bar->SetThumbVisible(false);
        }
        TakeRange(*bar, platform);
    }
}

void TsuiMemo::BarChanged(bool vertical) {
    TsuiScrollBar* bar = vertical ? vBar_ : hBar_;
    if (syncing_ || !bar || !HandleAllocated()) return;
    FlagScope scope(scrolling_);
    SendThumbPosition(*this, vertical ? WM_VSCROLL : WM_HSCROLL, bar->Position());
}

void TsuiMemo::WndProc(TMessage& m) {
    if (scrolling_ && vBar_ && IsThumbPositionFromBar(m, WM_VSCROLL)) {
        // Lines, as the system's vertical position counts them.
        const auto first = int(SendMessageW(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
        SendMessageW(Handle(), EM_LINESCROLL, 0, LPARAM(vBar_->Position() - first));
        return;
    }
    TsuiFramedControl::WndProc(m);
    switch (m.Msg) {
    case WM_NCPAINT:
    case WM_PAINT:
        PaintCorner();
        break;
    case WM_LBUTTONDOWN:
        mouseDown_ = true;
        SyncBars();
        break;
    case WM_LBUTTONUP:
        mouseDown_ = false;
        break;
    case WM_MOUSEMOVE:
        if (mouseDown_) SyncBars();
        break;
    case WM_SETTEXT:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
    case WM_CHAR: // typing adds lines after the key went down
    case WM_SIZE:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYDOWN:
    case WM_MOUSEWHEEL:
        SyncBars();
        break;
    default:
        break;
    }
}

void TsuiMemo::ApplyBounds(int left, int top, int width, int height) {
    TsuiFramedControl::ApplyBounds(left, top, width, height);
    PlaceBars();
}

void TsuiMemo::EnabledChanged() {
    TsuiFramedControl::EnabledChanged();
    SyncBars();
}

void TsuiMemo::Loaded() {
    TsuiFramedControl::Loaded();
    PlaceBars();
    SyncBars();
}

void TsuiMemo::Notification(TComponent* component, TOperation operation) {
    TsuiFramedControl::Notification(component, operation);
    if (operation != TOperation::opRemove || (component != vBar_ && component != hBar_)) return;
    if (component == vBar_) vBar_ = nullptr;
    if (component == hBar_) hBar_ = nullptr;
    if (!Destroying()) FollowLinks();
}

// ---------------------------------------------------------------------------
// TsuiStringGrid

const TClassInfo& TsuiStringGrid::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiStringGrid>(L"TsuiStringGrid", &TStringGrid::StaticClass())
            .Enum(L"UIStyle", &TsuiStringGrid::UIStyle, &TsuiStringGrid::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiStringGrid::FileTheme, &TsuiStringGrid::SetFileTheme)
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

TsuiStringGrid::TsuiStringGrid(TComponent* owner) : TsuiStyled(owner) {
    SetUIStyle(GetOwnerFormStyle(owner));
}

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
