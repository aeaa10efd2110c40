#include "framework/StdCtrls.h"

#include <windowsx.h>

#include <algorithm>

namespace {

// Posted to a combo box after the notifications of one pick, so a pick that
// Windows reports twice (CBN_SELENDOK and CBN_SELCHANGE) clicks once.
constexpr UINT CM_COMBOPICK = CM_BASE + 0x40;

TEnumInfo Enum(const wchar_t* type, std::initializer_list<std::pair<std::wstring, int>> values) {
    TEnumInfo e;
    e.typeName = type;
    e.values = values;
    return e;
}

const TEnumInfo& CharCaseEnum() {
    static const TEnumInfo e = Enum(
        L"TEditCharCase",
        {{L"ecNormal", ecNormal}, {L"ecUpperCase", ecUpperCase}, {L"ecLowerCase", ecLowerCase}});
    return e;
}

std::wstring JoinLines(const TStringList& lines) {
    std::wstring out;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i) out += L"\r\n";
        out += lines[i];
    }
    return out;
}

} // namespace

TOwnerDrawState OwnerDrawStateFromItemState(UINT s) {
    TOwnerDrawState st;
    if (s & ODS_SELECTED) st.Include(odSelected);
    if (s & ODS_GRAYED) st.Include(odGrayed);
    if (s & ODS_DISABLED) st.Include(odDisabled);
    if (s & ODS_CHECKED) st.Include(odChecked);
    if (s & ODS_FOCUS) st.Include(odFocused);
    if (s & ODS_DEFAULT) st.Include(odDefault);
    if (s & ODS_HOTLIGHT) st.Include(odHotLight);
    if (s & ODS_INACTIVE) st.Include(odInactive);
    if (s & ODS_NOACCEL) st.Include(odNoAccel);
    if (s & ODS_NOFOCUSRECT) st.Include(odNoFocusRect);
    if (s & ODS_COMBOBOXEDIT) st.Include(odComboBoxEdit);
    return st;
}

const TEnumInfo& MemoScrollBarsEnum() {
    // Stored under the names the other scrolling controls use.
    static const TEnumInfo e = Enum(L"TScrollStyle", {{L"ssNone", msNone},
                                                      {L"ssHorizontal", msHorizontal},
                                                      {L"ssVertical", msVertical},
                                                      {L"ssBoth", msBoth}});
    return e;
}

const TEnumInfo& ListBoxStyleEnum() {
    static const TEnumInfo e =
        Enum(L"TListBoxStyle", {{L"lbStandard", lbStandard},
                                {L"lbOwnerDrawFixed", lbOwnerDrawFixed},
                                {L"lbOwnerDrawVariable", lbOwnerDrawVariable}});
    return e;
}

const TEnumInfo& ComboBoxStyleEnum() {
    static const TEnumInfo e =
        Enum(L"TComboBoxStyle", {{L"csDropDown", csDropDown},
                                 {L"csSimple", csSimple},
                                 {L"csDropDownList", csDropDownList},
                                 {L"csOwnerDrawFixed", csOwnerDrawFixed},
                                 {L"csOwnerDrawVariable", csOwnerDrawVariable}});
    return e;
}

// ---------------------------------------------------------------------------
// TCustomEdit

const TClassInfo& TCustomEdit::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TCustomEdit>(L"TCustomEdit", &TWinControl::StaticClass())
            .Property(L"ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
            .Property(L"AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect)
            .Property(L"MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
            .Enum(L"BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle,
                  BorderStyleEnum())
            .Property(L"PasswordChar", &TCustomEdit::PasswordCharText,
                      &TCustomEdit::SetPasswordCharText)
            .Enum(L"CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase, CharCaseEnum())
            .Property(L"HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection)
            .Event(L"OnChange", &TCustomEdit::OnChange)
            .Build();
    return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, L"EDIT");
    p.Style |= ES_AUTOHSCROLL | WS_TABSTOP;
    if (readOnly_) p.Style |= ES_READONLY;
    if (!hideSelection_) p.Style |= ES_NOHIDESEL;
    if (charCase_ == ecUpperCase) p.Style |= ES_UPPERCASE;
    if (charCase_ == ecLowerCase) p.Style |= ES_LOWERCASE;
    if (passwordChar_) p.Style |= ES_PASSWORD;
    if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    HWND h = Handle();
    // A window made without its text (a memo's) gets it now.
    if (GetWindowTextLengthW(h) == 0 && !StoredText().empty()) {
        placingText_ = true;
        SetWindowTextW(h, StoredText().c_str());
        placingText_ = false;
    }
    SendMessageW(h, EM_LIMITTEXT, WPARAM(maxLength_), 0);
    if (passwordChar_) SendMessageW(h, EM_SETPASSWORDCHAR, passwordChar_, 0);
    SendMessageW(h, EM_SETSEL, WPARAM(selStart_), LPARAM(selStart_ + selLength_));
}

void TCustomEdit::SetReadOnly(bool v) {
    if (v == readOnly_) return;
    readOnly_ = v;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int n) {
    maxLength_ = std::max(n, 0);
    if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, WPARAM(maxLength_), 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    RecreateWnd();
}

void TCustomEdit::SetPasswordChar(wchar_t ch) {
    if (ch == passwordChar_) return;
    passwordChar_ = ch;
    if (HandleAllocated()) {
        SendMessageW(Handle(), EM_SETPASSWORDCHAR, ch, 0);
        Invalidate();
    }
}

std::wstring TCustomEdit::PasswordCharText() const {
    return passwordChar_ ? std::wstring(1, passwordChar_) : std::wstring();
}

void TCustomEdit::SetPasswordCharText(const std::wstring& s) {
    if (s.size() > 1) throw EPropertyError(L"a single character is expected, not '" + s + L"'");
    SetPasswordChar(s.empty() ? 0 : s[0]);
}

void TCustomEdit::SetCharCase(TEditCharCase c) {
    if (c == charCase_) return;
    charCase_ = c;
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool v) {
    if (v == hideSelection_) return;
    hideSelection_ = v;
    RecreateWnd();
}

int TCustomEdit::SelStart() const {
    if (!HandleAllocated()) return selStart_;
    DWORD start = 0, end = 0;
    SendMessageW(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL,
                 reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return int(start);
}

int TCustomEdit::SelLength() const {
    if (!HandleAllocated()) return selLength_;
    DWORD start = 0, end = 0;
    SendMessageW(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL,
                 reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return int(end - start);
}

void TCustomEdit::Select(int start, int length) {
    int n = int(Text().size());
    start = std::clamp(start, 0, n);
    length = std::clamp(length, 0, n - start);
    selStart_ = start;
    selLength_ = length;
    if (HandleAllocated()) SendMessageW(Handle(), EM_SETSEL, WPARAM(start), LPARAM(start + length));
}

void TCustomEdit::SetSelStart(int start) {
    Select(start, 0);
}

void TCustomEdit::SetSelLength(int length) {
    Select(SelStart(), length);
}

std::wstring TCustomEdit::SelText() const {
    std::wstring t = Text();
    int s = std::min<int>(SelStart(), int(t.size()));
    return t.substr(size_t(s), size_t(std::max(0, SelLength())));
}

void TCustomEdit::SetSelText(const std::wstring& text) {
    if (HandleAllocated()) {
        SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    std::wstring t = Text();
    int s = std::min<int>(selStart_, int(t.size()));
    t.replace(size_t(s), size_t(std::min<int>(selLength_, int(t.size()) - s)), text);
    selStart_ = s + int(text.size());
    selLength_ = 0;
    SetText(t);
}

void TCustomEdit::SelectAll() {
    Select(0, int(Text().size()));
}

void TCustomEdit::ClearSelection() {
    if (HandleAllocated()) SendMessageW(Handle(), WM_CLEAR, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
    SendMessageW(Handle(), WM_PASTE, 0, 0);
}

void TCustomEdit::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The edit takes the focus inside this press: no select-all then.
        mouseEntering_ = true;
        try {
            TWinControl::WndProc(m);
        } catch (...) {
            mouseEntering_ = false;
            throw;
        }
        mouseEntering_ = false;
        return;
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE && !placingText_) Change();
        return;
    case WM_DESTROY:
        selStart_ = SelStart();
        selLength_ = SelLength();
        break;
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TCustomEdit::TextChanged() {
    TWinControl::TextChanged();
    // The second change of an assignment (the first came as EN_CHANGE).
    Change();
}

void TCustomEdit::DoEnter() {
    if (autoSelect_ && !mouseEntering_ && HandleAllocated() &&
        !(GetWindowLongPtrW(Handle(), GWL_STYLE) & ES_MULTILINE))
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

const TClassInfo& TEdit::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TEdit>(L"TEdit", &TCustomEdit::StaticClass()).Build();
    return info;
}

// ---------------------------------------------------------------------------
// TMemo

const TClassInfo& TMemo::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TMemo>(L"TMemo", &TCustomEdit::StaticClass())
            .Strings(L"Lines", &TMemo::Lines)
            .Property(L"WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap)
            .Enum(L"ScrollBars", &TMemo::ScrollBars, &TMemo::SetScrollBars, MemoScrollBarsEnum())
            .Property(L"WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns)
            .Enum(L"Alignment", &TMemo::Alignment, &TMemo::SetAlignment, AlignmentEnum())
            .Build();
    return info;
}

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) {
    SetAutoSelect(false);
    SetBounds(0, 0, 185, 89);
    lines_.OnChange = [this](TStringList*) { LinesChanged(); };
}

TMemo::~TMemo() {
    lines_.OnChange = nullptr;
}

void TMemo::CreateParams(TCreateParams& p) {
    TCustomEdit::CreateParams(p);
    p.Style |= ES_MULTILINE | ES_AUTOVSCROLL;
    if (wordWrap_) p.Style &= ~DWORD(ES_AUTOHSCROLL);
    if (wantReturns_) p.Style |= ES_WANTRETURN;
    if (scrollBars_ == msVertical || scrollBars_ == msBoth) p.Style |= WS_VSCROLL;
    if (scrollBars_ == msHorizontal || scrollBars_ == msBoth) p.Style |= WS_HSCROLL;
    if (alignment_ == taRightJustify) p.Style |= ES_RIGHT;
    if (alignment_ == taCenter) p.Style |= ES_CENTER;
    // Wine's edit control keeps a copy of a wrapped text it is created with
    // after the window is gone; the text set afterwards is freed with it.
    p.Caption.clear();
}

void TMemo::SetWordWrap(bool v) {
    if (v == wordWrap_) return;
    wordWrap_ = v;
    RecreateWnd();
}

void TMemo::SetScrollBars(TMemoScrollBars s) {
    if (s == scrollBars_) return;
    scrollBars_ = s;
    RecreateWnd();
}

void TMemo::SetWantReturns(bool v) {
    if (v == wantReturns_) return;
    wantReturns_ = v;
    RecreateWnd();
}

void TMemo::SetAlignment(TAlignment a) {
    if (a == alignment_) return;
    alignment_ = a;
    RecreateWnd();
}

void TMemo::LinesChanged() {
    if (syncing_) return;
    syncing_ = true;
    try {
        SetText(JoinLines(lines_));
    } catch (...) {
        syncing_ = false;
        throw;
    }
    syncing_ = false;
}

void TMemo::Change() {
    if (!syncing_) {
        // Typed or assigned text: the lines follow it.
        syncing_ = true;
        try {
            lines_.SetText(Text());
        } catch (...) {
            syncing_ = false;
            throw;
        }
        syncing_ = false;
    }
    TCustomEdit::Change();
}

// ---------------------------------------------------------------------------
// TCustomListControl

const TClassInfo& TCustomListControl::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TCustomListControl>(L"TCustomListControl", &TWinControl::StaticClass())
            .Strings(L"Items", static_cast<TStringList& (TCustomListControl::*)()>(
                                   &TCustomListControl::Items))
            .Property(L"Sorted", &TCustomListControl::Sorted, &TCustomListControl::SetSorted)
            .Property(L"ItemHeight", &TCustomListControl::ItemHeight,
                      &TCustomListControl::SetItemHeight)
            .Property(L"ItemIndex", &TCustomListControl::ItemIndex,
                      &TCustomListControl::SetItemIndex)
            .Event(L"OnDrawItem", &TCustomListControl::OnDrawItem)
            .Event(L"OnMeasureItem", &TCustomListControl::OnMeasureItem)
            .Build();
    return info;
}

TCustomListControl::TCustomListControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    // The system control reports clicks and double clicks itself.
    SetControlStyle(TControlStyle{});
    items_.OnChange = [this](TStringList*) { ItemsChanged(); };
}

TCustomListControl::~TCustomListControl() {
    items_.OnChange = nullptr;
}

void TCustomListControl::SetItemHeight(int h) {
    if (h <= 0 || h == itemHeight_) return;
    itemHeight_ = h;
    if (OwnerDraw()) RecreateWnd();
}

void TCustomListControl::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    shown_.clear(); // a new window starts empty
    SyncItems();
}

void TCustomListControl::ItemsChanged() {
    SyncItems();
}

void TCustomListControl::SyncItems() {
    if (!HandleAllocated()) return;
    HWND h = Handle();
    Messages msg = ListMessages();
    const std::vector<std::wstring>& shown = shown_;
    int n = int(shown.size());
    int m = items_.Count();
    // Only the middle part that differs is replaced, so the selection and the
    // scroll position of untouched items stay where they are.
    int prefix = 0;
    while (prefix < n && prefix < m && shown[size_t(prefix)] == items_[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix &&
           shown[size_t(n - 1 - suffix)] == items_[m - 1 - suffix])
        ++suffix;
    int removed = n - prefix - suffix, added = m - prefix - suffix;
    if (removed == 0 && added == 0) return;
    bool many = removed + added > 8;
    if (many) SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    if (removed == n && n > 0)
        SendMessageW(h, msg.resetContent, 0, 0);
    else
        for (int i = 0; i < removed; ++i)
            SendMessageW(h, msg.deleteString, WPARAM(prefix), 0);
    for (int i = 0; i < added; ++i)
        SendMessageW(h, msg.insertString, WPARAM(prefix + i),
                     reinterpret_cast<LPARAM>(items_[prefix + i].c_str()));
    if (many) {
        SendMessageW(h, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(h, nullptr, TRUE);
    }
    shown_ = items_.ToVector();
}

void TCustomListControl::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        canvas_.SetHandle(dis->hDC);
        try {
            canvas_.Font().Assign(Font());
            canvas_.Brush().SetColor(Color());
            DrawItem(int(dis->itemID), dis->rcItem, OwnerDrawStateFromItemState(dis->itemState));
        } catch (...) {
            canvas_.SetHandle(nullptr);
            throw;
        }
        canvas_.SetHandle(nullptr);
        m.Result = TRUE;
        return;
    }
    case CN_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        int h = itemHeight_;
        MeasureItem(int(mis->itemID), h);
        mis->itemHeight = UINT(std::max(h, 1));
        m.Result = TRUE;
        return;
    }
    default:
        break;
    }
    TWinControl::WndProc(m);
}

void TCustomListControl::MeasureItem(int index, int& height) {
    if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TCustomListControl::DrawItem(int index, const RECT& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    bool selected = state.Contains(odSelected);
    canvas_.Brush().SetColor(selected ? clHighlight : Color());
    canvas_.FillRect(rect);
    if (index >= 0 && index < items_.Count()) {
        canvas_.Font().SetColor(selected ? clHighlightText : Font().Color());
        canvas_.Brush().SetStyle(bsClear);
        RECT r = rect;
        r.left += 2;
        canvas_.DrawText(items_[index], r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (state.Contains(odFocused) && !state.Contains(odNoFocusRect))
        DrawFocusRect(canvas_.Handle(), &rect);
}

// ---------------------------------------------------------------------------
// TListBox

const TClassInfo& TListBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TListBox>(L"TListBox", &TCustomListControl::StaticClass())
            .Property(L"MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect)
            .Enum(L"Style", &TListBox::Style, &TListBox::SetStyle, ListBoxStyleEnum())
            .Enum(L"BorderStyle", &TListBox::BorderStyle, &TListBox::SetBorderStyle,
                  BorderStyleEnum())
            .Property(L"NameValueSeparator", &TListBox::NameValueSeparatorText,
                      &TListBox::SetNameValueSeparatorText)
            .Build();
    return info;
}

TListBox::TListBox(TComponent* owner) : TCustomListControl(owner) {
    SetBounds(0, 0, 121, 97);
}

TCustomListControl::Messages TListBox::ListMessages() const {
    return {LB_GETCOUNT,     LB_GETTEXT,      LB_GETTEXTLEN,  LB_ADDSTRING,
            LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT};
}

void TListBox::CreateParams(TCreateParams& p) {
    TCustomListControl::CreateParams(p);
    CreateSubClass(p, L"LISTBOX");
    p.Style |= WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (multiSelect_) p.Style |= LBS_EXTENDEDSEL;
    if (style_ == lbOwnerDrawFixed) p.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    if (style_ == lbOwnerDrawVariable) p.Style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
    if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateHandleDone() {
    TCustomListControl::CreateHandleDone();
    if (itemIndex_ >= 0) SetItemIndex(itemIndex_);
}

void TListBox::SetNameValueSeparatorText(const std::wstring& s) {
    if (s.size() != 1) throw EPropertyError(L"a single character is expected, not '" + s + L"'");
    Items().SetNameValueSeparator(s[0]);
}

void TListBox::SetMultiSelect(bool v) {
    if (v == multiSelect_) return;
    itemIndex_ = ItemIndex();
    multiSelect_ = v;
    RecreateWnd();
}

void TListBox::SetStyle(TListBoxStyle s) {
    if (s == style_) return;
    itemIndex_ = ItemIndex();
    style_ = s;
    RecreateWnd();
}

void TListBox::SetBorderStyle(TBorderStyle s) {
    if (s == borderStyle_) return;
    itemIndex_ = ItemIndex();
    borderStyle_ = s;
    RecreateWnd();
}

void TListBox::ItemsChanged() {
    TCustomListControl::ItemsChanged();
    if (itemIndex_ >= Count()) itemIndex_ = -1;
}

int TListBox::ItemIndex() const {
    if (!HandleAllocated()) return itemIndex_;
    HWND h = const_cast<TListBox*>(this)->Handle();
    if (multiSelect_) {
        if (SendMessageW(h, LB_GETSELCOUNT, 0, 0) <= 0) return -1;
        return int(SendMessageW(h, LB_GETCARETINDEX, 0, 0));
    }
    return int(SendMessageW(h, LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
    if (index < -1 || index >= Count()) index = -1;
    itemIndex_ = index;
    if (!HandleAllocated()) return;
    HWND h = Handle();
    if (multiSelect_) {
        SendMessageW(h, LB_SETSEL, FALSE, -1);
        if (index >= 0) {
            SendMessageW(h, LB_SETSEL, TRUE, index);
            SendMessageW(h, LB_SETCARETINDEX, WPARAM(index), FALSE);
        }
    } else {
        SendMessageW(h, LB_SETCURSEL, WPARAM(index), 0);
    }
}

bool TListBox::Selected(int index) const {
    if (index < 0 || index >= Count())
        throw EStringListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    if (multiSelect_ && HandleAllocated())
        return SendMessageW(const_cast<TListBox*>(this)->Handle(), LB_GETSEL, WPARAM(index), 0) > 0;
    return ItemIndex() == index;
}

void TListBox::SetSelected(int index, bool selected) {
    if (index < 0 || index >= Count())
        throw EStringListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    if (multiSelect_ && HandleAllocated()) {
        SendMessageW(Handle(), LB_SETSEL, selected, index);
        return;
    }
    if (selected)
        SetItemIndex(index);
    else if (ItemIndex() == index)
        SetItemIndex(-1);
}

std::vector<int> TListBox::SelectedIndexes() const {
    std::vector<int> out;
    for (int i = 0; i < Count(); ++i)
        if (Selected(i)) out.push_back(i);
    return out;
}

int TListBox::SelCount() const {
    if (multiSelect_ && HandleAllocated())
        return int(SendMessageW(const_cast<TListBox*>(this)->Handle(), LB_GETSELCOUNT, 0, 0));
    return ItemIndex() >= 0 ? 1 : 0;
}

void TListBox::ClearSelection() {
    if (multiSelect_ && HandleAllocated())
        SendMessageW(Handle(), LB_SETSEL, FALSE, -1);
    else
        SetItemIndex(-1);
}

void TListBox::SelectAll() {
    if (multiSelect_ && HandleAllocated()) SendMessageW(Handle(), LB_SETSEL, TRUE, -1);
}

void TListBox::DeleteSelected() {
    std::vector<int> sel = SelectedIndexes();
    if (sel.empty()) return;
    Items().BeginUpdate();
    try {
        for (auto it = sel.rbegin(); it != sel.rend(); ++it)
            Items().Delete(*it);
    } catch (...) {
        Items().EndUpdate();
        throw;
    }
    Items().EndUpdate();
}

int TListBox::TopIndex() const {
    return HandleAllocated()
               ? int(SendMessageW(const_cast<TListBox*>(this)->Handle(), LB_GETTOPINDEX, 0, 0))
               : 0;
}

void TListBox::SetTopIndex(int index) {
    SendMessageW(Handle(), LB_SETTOPINDEX, WPARAM(std::max(index, 0)), 0);
}

int TListBox::ItemAtPos(POINT p, bool existing) const {
    HWND h = const_cast<TListBox*>(this)->Handle();
    RECT client;
    GetClientRect(h, &client);
    if (PtInRect(&client, p)) {
        for (int i = TopIndex(); i < Count(); ++i) {
            RECT r = ItemRect(i);
            if (r.top > client.bottom) break;
            if (PtInRect(&r, p)) return i;
        }
    }
    return existing ? -1 : Count();
}

RECT TListBox::ItemRect(int index) const {
    RECT r{};
    SendMessageW(const_cast<TListBox*>(this)->Handle(), LB_GETITEMRECT, WPARAM(index),
                 reinterpret_cast<LPARAM>(&r));
    return r;
}

void TListBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case LBN_SELCHANGE:
            Click();
            break;
        case LBN_DBLCLK:
            DblClick();
            break;
        default:
            break;
        }
        return;
    case WM_DESTROY:
        itemIndex_ = ItemIndex();
        break;
    default:
        break;
    }
    TCustomListControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TComboBox

const TClassInfo& TComboBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TComboBox>(L"TComboBox", &TCustomListControl::StaticClass())
            .Enum(L"Style", &TComboBox::Style, &TComboBox::SetStyle, ComboBoxStyleEnum())
            .Property(L"DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount)
            .Property(L"MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength)
            .Event(L"OnChange", &TComboBox::OnChange)
            .Event(L"OnDropDown", &TComboBox::OnDropDown)
            .Event(L"OnCloseUp", &TComboBox::OnCloseUp)
            .Event(L"OnSelect", &TComboBox::OnSelect)
            .Build();
    return info;
}

TComboBox::TComboBox(TComponent* owner) : TCustomListControl(owner) {
    SetBounds(0, 0, 145, 21);
}

TCustomListControl::Messages TComboBox::ListMessages() const {
    return {CB_GETCOUNT,     CB_GETLBTEXT,    CB_GETLBTEXTLEN, CB_ADDSTRING,
            CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT};
}

void TComboBox::CreateParams(TCreateParams& p) {
    TCustomListControl::CreateParams(p);
    CreateSubClass(p, L"COMBOBOX");
    p.Style |= WS_VSCROLL | WS_TABSTOP;
    switch (style_) {
    case csDropDown:
        p.Style |= CBS_DROPDOWN | CBS_AUTOHSCROLL;
        break;
    case csSimple:
        p.Style |= CBS_SIMPLE | CBS_AUTOHSCROLL;
        break;
    case csDropDownList:
        p.Style |= CBS_DROPDOWNLIST;
        break;
    case csOwnerDrawFixed:
        p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        break;
    case csOwnerDrawVariable:
        p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
        break;
    }
    // The window's height is that of the dropped list; the system sizes the box.
    // SetDroppedHeight makes that list whole items high. Left to round its
    // height itself, the list would move its own top-level window again on
    // every layout pass the box makes while it is made (~4 ms a box under Wine).
    if (style_ != csSimple) {
        p.Style |= CBS_NOINTEGRALHEIGHT;
        p.Height = Height() + ItemHeight() * dropDownCount_ + 2;
    }
}

void TComboBox::CreateHandleDone() {
    TCustomListControl::CreateHandleDone();
    if (maxLength_ > 0) SendMessageW(Handle(), CB_LIMITTEXT, WPARAM(maxLength_), 0);
    SendMessageW(Handle(), CB_SETMINVISIBLE, WPARAM(dropDownCount_), 0);
    if (itemIndex_ >= 0) SendMessageW(Handle(), CB_SETCURSEL, WPARAM(itemIndex_), 0);
    SetDroppedHeight();
}

void TComboBox::SetDroppedHeight() {
    if (!HandleAllocated() || style_ == csSimple) return;
    HWND h = Handle();
    RECT r;
    GetWindowRect(h, &r);
    int item = int(SendMessageW(h, CB_GETITEMHEIGHT, 0, 0));
    if (item <= 0) item = ItemHeight();
    int dropped = (r.bottom - r.top) + item * dropDownCount_ + 2;
    SetWindowPos(h, nullptr, 0, 0, r.right - r.left, dropped,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::ApplyBounds(int left, int top, int width, int height) {
    TCustomListControl::ApplyBounds(left, top, width, height);
    SetDroppedHeight();
}

// Another font gives other item heights: the list keeps its number of whole rows.
void TComboBox::FontChanged() {
    TCustomListControl::FontChanged();
    SetDroppedHeight();
}

void TComboBox::SetStyle(TComboBoxStyle s) {
    if (s == style_) return;
    itemIndex_ = ItemIndex();
    style_ = s;
    RecreateWnd();
}

void TComboBox::SetDropDownCount(int n) {
    dropDownCount_ = std::max(n, 1);
    if (!HandleAllocated()) return;
    SendMessageW(Handle(), CB_SETMINVISIBLE, WPARAM(dropDownCount_), 0);
    SetDroppedHeight();
}

void TComboBox::SetMaxLength(int n) {
    maxLength_ = std::max(n, 0);
    if (HandleAllocated()) SendMessageW(Handle(), CB_LIMITTEXT, WPARAM(maxLength_), 0);
}

int TComboBox::ItemIndex() const {
    if (!HandleAllocated()) return itemIndex_;
    return int(SendMessageW(const_cast<TComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= Count()) index = -1;
    itemIndex_ = index;
    // CB_SETCURSEL sends no notification: a selection by program is no click.
    if (HandleAllocated()) SendMessageW(Handle(), CB_SETCURSEL, WPARAM(index), 0);
}

void TComboBox::ItemsChanged() {
    TCustomListControl::ItemsChanged();
    if (itemIndex_ >= Count()) itemIndex_ = -1;
}

std::wstring TComboBox::Text() const {
    if (style_ == csDropDown || style_ == csSimple) return TCustomListControl::Text();
    int i = ItemIndex();
    return i >= 0 && i < Count() ? Items()[i] : std::wstring();
}

void TComboBox::TextChanged() {
    TCustomListControl::TextChanged();
    if (style_ == csDropDown || style_ == csSimple) return;
    // A list shows only its items: the text picks one.
    int i = Items().IndexOf(StoredText());
    if (i >= 0) SetItemIndex(i);
}

bool TComboBox::DroppedDown() const {
    return HandleAllocated() &&
           SendMessageW(const_cast<TComboBox*>(this)->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::SetDroppedDown(bool v) {
    SendMessageW(Handle(), CB_SHOWDROPDOWN, v, 0);
}

COMBOBOXINFO TComboBox::ComboBoxInfo() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(Handle(), &info);
    return info;
}

void TComboBox::UserPicked() {
    if (OnSelect) OnSelect(this);
    Click();
    Change();
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case CN_COMMAND: {
        auto queuePick = [this] {
            if (pickPending_) return;
            pickPending_ = true;
            PostMessageW(Handle(), CM_COMBOPICK, 0, 0);
        };
        switch (HIWORD(m.WParam)) {
        case CBN_DROPDOWN:
            dropped_ = true;
            changedInDrop_ = false;
            indexAtDrop_ = ItemIndex();
            if (OnDropDown) OnDropDown(this);
            break;
        case CBN_CLOSEUP:
            dropped_ = false;
            if (OnCloseUp) OnCloseUp(this);
            break;
        case CBN_SELENDOK:
            // The user took an item: from the dropped list, or by keyboard.
            changedInDrop_ = false;
            queuePick();
            break;
        case CBN_SELENDCANCEL:
            // A list closed without a pick: the selection change that may
            // follow puts the old item back and is no pick.
            if (dropped_) changedInDrop_ = true;
            break;
        case CBN_SELCHANGE:
            if (dropped_) break; // the highlight follows the mouse over the list
            if (changedInDrop_) {
                changedInDrop_ = false;
                break;
            }
            queuePick();
            break;
        case CBN_EDITCHANGE:
            Change();
            break;
        default:
            break;
        }
        return;
    }
    case WM_KEYDOWN:
        changedInDrop_ = false;
        break;
    case CM_COMBOPICK:
        pickPending_ = false;
        if (!Destroying()) UserPicked();
        return;
    case WM_DESTROY:
        itemIndex_ = ItemIndex();
        break;
    default:
        break;
    }
    TCustomListControl::WndProc(m);
}

// ---------------------------------------------------------------------------
