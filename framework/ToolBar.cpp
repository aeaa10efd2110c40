#include "framework/ToolBar.h"

#include "framework/SystemPaint.h"
#include "framework/Utils.h"

#include <algorithm>

namespace {

BYTE SystemStyle(TToolButtonStyle s) {
    switch (s) {
    case tbsCheck:
        return BTNS_CHECK;
    case tbsDropDown:
        return BTNS_DROPDOWN;
    case tbsSeparator:
        return BTNS_SEP;
    default:
        return BTNS_BUTTON;
    }
}

BYTE SystemStyle(const TToolButton& b) {
    BYTE style = SystemStyle(b.Style());
    if (b.Style() == tbsSeparator) return style;
    if (b.AutoSize()) style |= BTNS_AUTOSIZE;
    if (b.Grouped()) style |= BTNS_GROUP;
    return style;
}

} // namespace

const TEnumInfo& ToolButtonStyleEnum() {
    static const TEnumInfo e = MakeEnum(L"TToolButtonStyle", {{L"tbsButton", tbsButton},
                                                              {L"tbsCheck", tbsCheck},
                                                              {L"tbsDropDown", tbsDropDown},
                                                              {L"tbsSeparator", tbsSeparator}});
    return e;
}

const TEnumInfo& EdgeStyleEnum() {
    static const TEnumInfo e = MakeEnum(
        L"TEdgeStyle", {{L"esNone", esNone}, {L"esRaised", esRaised}, {L"esLowered", esLowered}});
    return e;
}

// ---------------------------------------------------------------------------
// TCustomImageList

const TClassInfo& TCustomImageList::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TCustomImageList>(L"TCustomImageList", &TComponent::StaticClass())
            .Property(L"Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
            .Property(L"Height", &TCustomImageList::Height, &TCustomImageList::SetHeight)
            .Custom(
                L"Bitmaps",
                [](TCustomImageList& l, const TValue& v) {
                    if (v.kind == TValue::Kind::String)
                        l.LoadResourceBitmaps({v.text});
                    else if (v.kind == TValue::Kind::StringList)
                        l.LoadResourceBitmaps(v.list);
                    else
                        throw EPropertyError(L"a list of bitmap resource names is expected, not " +
                                             v.Describe());
                },
                [](TCustomImageList& l) { return TValue::Strings(l.ResourceNames()); })
            .Build();
    return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {
    images_.OnChange = [this](TImageList*) { Changed(); };
}

TCustomImageList::~TCustomImageList() {
    images_.OnChange = nullptr;
}

void TCustomImageList::LoadResourceBitmaps(const std::vector<std::wstring>& names) {
    images_.Clear();
    names_.clear();
    for (const std::wstring& name : names) {
        TBitmap b;
        b.LoadFromResourceName(MainInstance(), name);
        images_.AddMasked(b, clDefault); // the bottom-left pixel keys the background
        names_.push_back(name);
    }
}

void TCustomImageList::RegisterChanges(const void* user, std::function<void()> changed) {
    UnRegisterChanges(user);
    users_.emplace_back(user, std::move(changed));
}

void TCustomImageList::UnRegisterChanges(const void* user) {
    std::erase_if(users_, [user](const auto& u) { return u.first == user; });
}

void TCustomImageList::Changed() {
    auto users = users_;
    for (auto& u : users)
        if (u.second) u.second();
}

// ---------------------------------------------------------------------------
// TToolButton

const TClassInfo& TToolButton::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TToolButton>(L"TToolButton", &TGraphicControl::StaticClass())
            .Property(L"ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
            .Enum(L"Style", &TToolButton::Style, &TToolButton::SetStyle, ToolButtonStyleEnum())
            .Property(L"Down", &TToolButton::Down, &TToolButton::SetDown)
            .Property(L"AutoSize", &TToolButton::AutoSize, &TToolButton::SetAutoSize)
            .Property(L"Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
            .Build();
    return info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
    MarkDestroying();
    if (bar_) bar_->RemoveButton(this);
    bar_ = nullptr;
}

int TToolButton::Index() const {
    if (!bar_) return -1;
    auto it = std::find(bar_->buttons_.begin(), bar_->buttons_.end(), this);
    return it == bar_->buttons_.end() ? -1 : int(it - bar_->buttons_.begin());
}

void TToolButton::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (bar_) bar_->RemoveButton(this);
    bar_ = nullptr;
    TGraphicControl::SetParent(parent);
    bar_ = dynamic_cast<TToolBar*>(parent);
    if (bar_) bar_->AddButton(this);
}

void TToolButton::SetImageIndex(int i) {
    if (i == imageIndex_) return;
    imageIndex_ = i;
    if (bar_) bar_->ButtonChanged(this);
}

void TToolButton::SetStyle(TToolButtonStyle s) {
    if (s == style_) return;
    style_ = s;
    if (bar_) bar_->RebuildButtons(); // the system control cannot change a separator in place
}

void TToolButton::SetDown(bool v) {
    if (v == down_) return;
    down_ = v;
    if (bar_) bar_->ButtonChanged(this);
}

void TToolButton::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    if (bar_) bar_->RebuildButtons(); // a button's style is fixed when it is added
}

void TToolButton::SetGrouped(bool v) {
    if (v == grouped_) return;
    grouped_ = v;
    if (bar_) bar_->RebuildButtons();
}

void TToolButton::Click() {
    if (bar_ && bar_->HandleAllocated() && style_ == tbsCheck)
        down_ = SendMessageW(bar_->Handle(), TB_ISBUTTONCHECKED, WPARAM(commandId_), 0) != 0;
    TGraphicControl::Click();
}

void TToolButton::TextChanged() {
    if (bar_) bar_->ButtonChanged(this);
}

void TToolButton::EnabledChanged() {
    if (bar_) bar_->ButtonChanged(this);
}

void TToolButton::VisibleChanged() {
    if (bar_) bar_->ButtonChanged(this);
}

// ---------------------------------------------------------------------------
// TToolBar

const TClassInfo& TToolBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TToolBar>(L"TToolBar", &TWinControl::StaticClass())
            .Component(L"Images", &TToolBar::Images, &TToolBar::SetImages)
            .Component(L"HotImages", &TToolBar::HotImages, &TToolBar::SetHotImages)
            .Property(L"ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
            .Property(L"ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth)
            .Property(L"ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
            .Property(L"Flat", &TToolBar::Flat, &TToolBar::SetFlat)
            .Property(L"Transparent", &TToolBar::Transparent, &TToolBar::SetTransparent)
            .Property(L"AutoSize", &TToolBar::AutoSize, &TToolBar::SetAutoSize)
            .Enum(L"EdgeInner", &TToolBar::EdgeInner, &TToolBar::SetEdgeInner, EdgeStyleEnum())
            .Enum(L"EdgeOuter", &TToolBar::EdgeOuter, &TToolBar::SetEdgeOuter, EdgeStyleEnum())
            .Build();
    return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csOpaque});
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
    SetColor(clBtnFace);
}

TToolBar::~TToolBar() {
    MarkDestroying();
    if (images_) images_->UnRegisterChanges(this);
    if (hotImages_) hotImages_->UnRegisterChanges(this);
    for (TToolButton* b : buttons_)
        b->bar_ = nullptr;
    buttons_.clear();
    DestroyHandle(); // while WndProc still belongs to us
}

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, TOOLBARCLASSNAMEW);
    // We place and size the bar ourselves; the system only lays out buttons.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_TOOLTIPS;
    if (flat_) params.Style |= TBSTYLE_FLAT;
    if (transparent_) params.Style |= TBSTYLE_TRANSPARENT;
}

void TToolBar::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    SendMessageW(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(Handle(), TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    RebuildButtons();
}

void TToolBar::UpdateStyle() {
    if (!HandleAllocated()) return;
    LONG_PTR style = GetWindowLongPtrW(Handle(), GWL_STYLE);
    style &= ~LONG_PTR(TBSTYLE_FLAT | TBSTYLE_TRANSPARENT);
    if (flat_) style |= TBSTYLE_FLAT;
    if (transparent_) style |= TBSTYLE_TRANSPARENT;
    SetWindowLongPtrW(Handle(), GWL_STYLE, style);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TToolBar::SetImages(TCustomImageList* list) {
    LinkImageList(images_, list);
}

void TToolBar::SetHotImages(TCustomImageList* list) {
    LinkImageList(hotImages_, list);
}

// Points field at list, hears of its changes and its removal, and rebuilds
// the buttons with it.
void TToolBar::LinkImageList(TCustomImageList*& field, TCustomImageList* list) {
    if (list == field) return;
    if (field) {
        field->UnRegisterChanges(this);
        field->RemoveFreeNotification(this);
    }
    field = list;
    if (field) {
        field->FreeNotification(this);
        field->RegisterChanges(this, [this] { RebuildButtons(); });
    }
    RebuildButtons();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == images_)
        images_ = nullptr;
    else if (component == hotImages_)
        hotImages_ = nullptr;
    else
        return;
    if (!Destroying()) RebuildButtons();
}

void TToolBar::SetShowCaptions(bool v) {
    if (v == showCaptions_) return;
    showCaptions_ = v;
    RebuildButtons();
}

void TToolBar::SetButtonWidth(int w) {
    w = std::clamp(w, 0, 1000);
    if (w == buttonWidth_) return;
    buttonWidth_ = w;
    RebuildButtons();
}

void TToolBar::SetButtonHeight(int h) {
    h = std::clamp(h, 0, 1000);
    if (h == buttonHeight_) return;
    buttonHeight_ = h;
    RebuildButtons();
}

void TToolBar::SetFlat(bool v) {
    if (v == flat_) return;
    flat_ = v;
    UpdateStyle();
}

void TToolBar::SetTransparent(bool v) {
    if (v == transparent_) return;
    transparent_ = v;
    UpdateStyle();
}

void TToolBar::SetAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    Relayout();
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    RebuildButtons();
}

void TToolBar::FontChanged() {
    TWinControl::FontChanged();
    RebuildButtons();
}

void TToolBar::AddButton(TToolButton* b) {
    if (std::find(buttons_.begin(), buttons_.end(), b) != buttons_.end()) return;
    if (!b->commandId_) b->commandId_ = nextCommandId_++;
    buttons_.push_back(b);
    RebuildButtons();
}

void TToolBar::RemoveButton(TToolButton* b) {
    auto it = std::find(buttons_.begin(), buttons_.end(), b);
    if (it == buttons_.end()) return;
    buttons_.erase(it);
    if (HandleAllocated() && !Destroying()) {
        LRESULT index = SendMessageW(Handle(), TB_COMMANDTOINDEX, WPARAM(b->commandId_), 0);
        if (index >= 0) SendMessageW(Handle(), TB_DELETEBUTTON, WPARAM(index), 0);
        Relayout();
    }
}

TToolButton* TToolBar::FindButton(int commandId) const {
    for (TToolButton* b : buttons_)
        if (b->commandId_ == commandId) return b;
    return nullptr;
}

void TToolBar::ApplyImages() {
    HWND h = Handle();
    const TImageList* list = images_ ? &images_->Images() : nullptr;
    // The bitmap size has to be known before any button is added.
    SendMessageW(h, TB_SETBITMAPSIZE, 0, list ? MAKELPARAM(list->Width(), list->Height()) : 0);
    SendMessageW(h, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list ? list->Handle() : nullptr));
    const TImageList* hot = hotImages_ ? &hotImages_->Images() : nullptr;
    SendMessageW(h, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hot ? hot->Handle() : nullptr));
}

void TToolBar::ApplySizes() {
    HWND h = Handle();
    SendMessageW(h, TB_SETMAXTEXTROWS, showCaptions_ ? 1 : 0, 0);
    SendMessageW(h, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    // Captions must not widen a button beyond ButtonWidth.
    SendMessageW(h, TB_SETBUTTONWIDTH, 0, MAKELPARAM(buttonWidth_, buttonWidth_));
}

void TToolBar::RebuildButtons() {
    if (!HandleAllocated() || Loading() || Destroying() || rebuilding_) return;
    rebuilding_ = true;
    HWND h = Handle();
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    while (SendMessageW(h, TB_BUTTONCOUNT, 0, 0) > 0)
        SendMessageW(h, TB_DELETEBUTTON, 0, 0);
    ApplyImages();
    ApplySizes();
    const bool haveImages = images_ && images_->Count() > 0;
    for (TToolButton* b : buttons_) {
        std::wstring caption = StripAccel(b->Caption());
        TBBUTTON tb{};
        tb.idCommand = b->commandId_;
        tb.fsStyle = SystemStyle(*b);
        tb.fsState = BYTE((b->Enabled() ? TBSTATE_ENABLED : 0) | (b->down_ ? TBSTATE_CHECKED : 0) |
                          (b->Visible() ? 0 : TBSTATE_HIDDEN));
        if (b->style_ == tbsSeparator)
            tb.iBitmap = 8; // a separator's width
        else
            tb.iBitmap = haveImages && b->imageIndex_ >= 0 ? b->imageIndex_ : I_IMAGENONE;
        tb.iString = showCaptions_ && b->style_ != tbsSeparator
                         ? reinterpret_cast<INT_PTR>(caption.c_str())
                         : -1;
        SendMessageW(h, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&tb));
    }
    // Adding buttons can reset the sizes; ask again for ours.
    ApplySizes();
    SendMessageW(h, TB_AUTOSIZE, 0, 0);
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    rebuilding_ = false;
    Relayout();
    InvalidateRect(h, nullptr, TRUE);
}

void TToolBar::ButtonChanged(TToolButton* b) {
    if (!HandleAllocated() || Loading() || Destroying() || rebuilding_) return;
    HWND h = Handle();
    WPARAM id = WPARAM(b->commandId_);
    std::wstring caption = StripAccel(b->Caption());
    TBBUTTONINFOW bi{};
    bi.cbSize = sizeof bi;
    bi.dwMask = TBIF_IMAGE;
    bi.iImage =
        images_ && images_->Count() > 0 && b->imageIndex_ >= 0 ? b->imageIndex_ : I_IMAGENONE;
    if (showCaptions_ && b->style_ != tbsSeparator) {
        bi.dwMask |= TBIF_TEXT;
        bi.pszText = caption.data();
    }
    SendMessageW(h, TB_SETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&bi));
    SendMessageW(h, TB_ENABLEBUTTON, id, MAKELPARAM(b->Enabled() ? TRUE : FALSE, 0));
    SendMessageW(h, TB_CHECKBUTTON, id, MAKELPARAM(b->down_ ? TRUE : FALSE, 0));
    SendMessageW(h, TB_HIDEBUTTON, id, MAKELPARAM(b->Visible() ? FALSE : TRUE, 0));
    SendMessageW(h, TB_AUTOSIZE, 0, 0);
    Relayout();
    InvalidateRect(h, nullptr, TRUE);
}

RECT TToolBar::ButtonRect(const TToolButton* button) {
    RECT r{0, 0, 0, 0};
    if (!button || !HandleAllocated() || !button->Visible()) return r;
    if (!SendMessageW(Handle(), TB_GETRECT, WPARAM(button->commandId_),
                      reinterpret_cast<LPARAM>(&r)))
        r = RECT{0, 0, 0, 0};
    return r;
}

TToolButton* TToolBar::HotButton() {
    if (!HandleAllocated()) return nullptr;
    const LRESULT index = SendMessageW(Handle(), TB_GETHOTITEM, 0, 0);
    if (index < 0) return nullptr;
    TBBUTTON tb{};
    if (!SendMessageW(Handle(), TB_GETBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(&tb)))
        return nullptr;
    return FindButton(tb.idCommand);
}

void TToolBar::UpdateHotFromCursor() {
    if (!HandleAllocated()) return;
    HWND h = Handle();
    LRESULT hot = -1;
    POINT p{};
    if (IsWindowEnabled(h) && IsWindowVisible(h) && GetCursorPos(&p) && WindowFromPoint(p) == h) {
        ::ScreenToClient(h, &p);
        hot = SendMessageW(h, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&p));
    }
    if (hot < 0) hot = -1; // a negative hit names a separator or the space beside a button
    if (SendMessageW(h, TB_GETHOTITEM, 0, 0) != hot) {
        SendMessageW(h, TB_SETHOTITEM, WPARAM(hot), 0);
        InvalidateRect(h, nullptr, FALSE);
    }
}

void TToolBar::Relayout() {
    if (!HandleAllocated() || Loading() || Destroying() || rebuilding_) return;
    int bottom = 0;
    for (TToolButton* b : buttons_) {
        RECT r = ButtonRect(b);
        if (IsRectEmpty(&r)) continue;
        b->PlaceByBar(r);
        bottom = std::max<int>(bottom, r.bottom);
    }
    if (autoSize_ && bottom > 0 && bottom != ClientHeight())
        SetHeight(Height() - ClientHeight() + bottom);
}

// ----- messages

void TToolBar::EraseBar(HDC dc) {
    RECT r = ClientRect();
    {
        TCanvas canvas(dc);
        canvas.Font().Assign(Font());
        if (OnCustomDraw && OnCustomDraw(this, canvas, r)) return;
    }
    TWinControl* parent = Parent();
    if (transparent_ && parent) {
        // Whatever the parent paints behind us shows through.
        int saved = SaveDC(dc);
        OffsetWindowOrgEx(dc, Left(), Top(), nullptr);
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
        return;
    }
    BrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, brush.Get());
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& cd) {
    switch (cd.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: {
        TToolButton* b = FindButton(int(cd.nmcd.dwItemSpec));
        if (!b || !OnCustomDrawButton) return CDRF_DODEFAULT;
        TToolButtonDrawState state;
        UINT s = cd.nmcd.uItemState;
        if (s & CDIS_HOT) state.Include(cdsHot);
        // Some system controls drop the hot flag while the mouse holds the
        // button down; it is still over the button while it stays the hot item.
        if ((s & CDIS_SELECTED) && !(s & CDIS_HOT) &&
            SendMessageW(Handle(), TB_GETHOTITEM, 0, 0) ==
                SendMessageW(Handle(), TB_COMMANDTOINDEX, WPARAM(b->commandId_), 0))
            state.Include(cdsHot);
        if (s & CDIS_SELECTED) state.Include(cdsPressed);
        if (s & CDIS_CHECKED) state.Include(cdsChecked);
        if (s & (CDIS_DISABLED | CDIS_GRAYED)) state.Include(cdsDisabled);
        if (b->style_ == tbsDropDown) state.Include(cdsDropDown);
        TCanvas canvas(cd.nmcd.hdc);
        canvas.Font().Assign(Font());
        return OnCustomDrawButton(this, b, canvas, cd.nmcd.rc, state) ? CDRF_SKIPDEFAULT
                                                                      : CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void TToolBar::WndProc(TMessage& m) {
    if (IsMouseMessage(m.Msg)) {
        // The system control tracks its buttons itself; our buttons are only its mirror.
        DefaultHandler(m);
        return;
    }
    switch (m.Msg) {
    case WM_SETFOCUS:
        // A tool bar never keeps the focus: hand it back to where it came from.
        if (HWND previous = reinterpret_cast<HWND>(m.WParam); previous && IsWindow(previous))
            ::SetFocus(previous);
        m.Result = 0;
        return;
    case WM_ERASEBKGND:
        m.Result = 1; // all of it happens in WM_PAINT, off screen
        return;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        // The system draws the buttons (and asks our custom-draw hooks) over our background.
        PaintSystemOffscreen(
            Handle(), m, [this](TMessage& paint) { DefaultHandler(paint); }, nullptr,
            [this](TOffscreenPaint& off) { EraseBar(off.Canvas().Handle()); });
        return;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
        if (hdr->code == TTN_GETDISPINFOW) {
            // The tool bar's own tooltip asks for the hint of a button.
            auto* di = reinterpret_cast<NMTTDISPINFOW*>(m.LParam);
            TToolButton* b = FindButton(int(hdr->idFrom));
            std::wstring tip = b && ShowHint() ? b->Hint() : std::wstring();
            lstrcpynW(di->szText, tip.c_str(), int(std::size(di->szText)));
            di->lpszText = di->szText;
            di->hinst = nullptr;
            m.Result = 0;
            return;
        }
        break;
    }
    case CN_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
        switch (hdr->code) {
        case NM_CUSTOMDRAW:
            m.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam));
            return;
        case TBN_GETINFOTIPW: {
            auto* tip = reinterpret_cast<NMTBGETINFOTIPW*>(m.LParam);
            TToolButton* b = FindButton(tip->iItem);
            std::wstring text = b && ShowHint() ? b->Hint() : std::wstring();
            if (tip->pszText && tip->cchTextMax > 0)
                lstrcpynW(tip->pszText, text.c_str(), tip->cchTextMax);
            m.Result = 0;
            return;
        }
        case TBN_DROPDOWN:
            m.Result = TBDDRET_DEFAULT;
            return;
        default:
            m.Result = 0;
            return;
        }
    }
    case CN_COMMAND:
        if (TToolButton* b = FindButton(LOWORD(m.WParam)); b && b->Enabled()) {
            // A modal window opened by the click takes the mouse away without
            // the system control hearing of it: no button stays hot meanwhile,
            // and afterwards only the one really under the cursor is.
            if (HandleAllocated()) SendMessageW(Handle(), TB_SETHOTITEM, WPARAM(-1), 0);
            b->Click();
            if (!Destroying()) UpdateHotFromCursor();
        }
        m.Result = 0;
        return;

    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        TWinControl::WndProc(m);
        Relayout();
        return;
    default:
        break;
    }
    TWinControl::WndProc(m);
}
