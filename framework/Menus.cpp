#include "framework/Menus.h"

#include "framework/Callbacks.h"
#include "framework/FormReader.h"
#include "framework/Forms.h"

#include <algorithm>
#include <cstddef>
#include <map>
#include <unordered_map>

namespace {

// Every live item by its command identifier: WM_COMMAND carries only the
// number, and owner-draw messages are checked against it before use.
std::unordered_map<UINT, TMenuItem*>& Commands() {
    static std::unordered_map<UINT, TMenuItem*> commands;
    return commands;
}

UINT AllocateCommand(TMenuItem* item) {
    static UINT next = 1000;
    auto& commands = Commands();
    // WM_COMMAND has 16 bits for it; numbers of freed items come round again.
    for (;;) {
        UINT id = next;
        next = next >= 0xEFFF ? 1000 : next + 1;
        if (!commands.count(id)) {
            commands[id] = item;
            return id;
        }
    }
}

TMenuItem* LiveItem(ULONG_PTR data) {
    auto* item = reinterpret_cast<TMenuItem*>(data);
    if (!item) return nullptr;
    auto it = Commands().find(item->Command());
    return it != Commands().end() && it->second == item ? item : nullptr;
}

std::map<const TForm*, TMainMenu*>& FormMenus() {
    static std::map<const TForm*, TMainMenu*> menus;
    return menus;
}

// WM_COMMAND, WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR of our menus,
// whichever window receives them.
bool HandleMenuMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND: {
        if (m.LParam != 0 || HIWORD(m.WParam) > 1) return false;
        auto it = Commands().find(LOWORD(m.WParam));
        if (it == Commands().end()) return false;
        it->second->Click();
        m.Result = 0;
        return true;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (mis->CtlType != ODT_MENU) return false;
        TMenuItem* item = LiveItem(mis->itemData);
        if (!item) return false;
        TMemoryCanvas canvas;
        GetMenuFont(canvas.Font());
        int w = 0, h = 0;
        item->MeasureItem(canvas, w, h);
        mis->itemWidth = UINT(std::max(w, 0));
        mis->itemHeight = UINT(std::max(h, 0));
        m.Result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (dis->CtlType != ODT_MENU) return false;
        TMenuItem* item = LiveItem(dis->itemData);
        if (!item) return false;
        TCanvas canvas(dis->hDC);
        {
            SavedDCState saved(dis->hDC);
            GetMenuFont(canvas.Font());
            TMenu* menu = item->GetParentMenu();
            bool topLevel = item->Parent() && !item->Parent()->Parent() && menu &&
                            dynamic_cast<TMainMenu*>(menu) != nullptr;
            // Not every system reports these for menus: the item knows them.
            TOwnerDrawState state = OwnerDrawStateFromItemState(dis->itemState);
            if (item->Default()) state.Include(odDefault);
            if (item->Checked()) state.Include(odChecked);
            if (!item->Enabled()) state.Include(odDisabled);
            item->AdvancedDrawItem(canvas, dis->rcItem, state, topLevel);
            canvas.SetHandle(nullptr);
        }
        m.Result = TRUE;
        return true;
    }
    case WM_MENUCHAR: {
        // Owner-drawn items have no text the system could search for the letter.
        HMENU menu = reinterpret_cast<HMENU>(m.LParam);
        wchar_t ch = wchar_t(LOWORD(m.WParam));
        int n = GetMenuItemCount(menu);
        for (int i = 0; i < n; ++i) {
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof mii;
            mii.fMask = MIIM_DATA;
            if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &mii)) continue;
            TMenuItem* item = LiveItem(mii.dwItemData);
            if (item && item->Enabled() && IsAccel(ch, item->Caption())) {
                m.Result = MAKELRESULT(i, MNC_EXECUTE);
                return true;
            }
        }
        return false;
    }
    default:
        return false;
    }
}

void InstallMenuHandler() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    SetMenuMessageHandler([](TWinControl&, TMessage& m) { return HandleMenuMessage(m); });
}

LRESULT CALLBACK PopupListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return GuardedCall(nullptr, LRESULT(0), [&] {
        TMessage m{msg, wParam, lParam, 0};
        return HandleMenuMessage(m) ? m.Result : DefWindowProcW(wnd, msg, wParam, lParam);
    });
}

struct KeyName {
    WORD key;
    const wchar_t* name;
};
const KeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"},   {VK_TAB, L"Tab"},    {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},
    {VK_SPACE, L"Space"}, {VK_PRIOR, L"PgUp"}, {VK_NEXT, L"PgDn"},    {VK_END, L"End"},
    {VK_HOME, L"Home"},   {VK_LEFT, L"Left"},  {VK_UP, L"Up"},        {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"},   {VK_INSERT, L"Ins"}, {VK_DELETE, L"Del"},
};

std::wstring KeyText(WORD key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::wstring(1, wchar_t(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    for (const auto& k : kKeyNames)
        if (k.key == key) return k.name;
    return {};
}

void ApplyItemCollection(TMenuItem& parent, const TValue& v) {
    if (v.kind != TValue::Kind::Collection || !v.items)
        throw EPropertyError(L"a collection < item ... end > is expected, not " + v.Describe());
    parent.Clear();
    for (const auto& props : *v.items) {
        auto* item = new TMenuItem(nullptr);
        parent.Add(item);
        ApplyStoredProperties(*item, props);
    }
}

} // namespace

void GetMenuFont(TFont& font) {
    NONCLIENTMETRICSW ncm{};
    // The whole structure for Vista and later; older systems know it
    // without the padded border width.
    ncm.cbSize = sizeof ncm;
    bool answered = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    if (!answered) {
        ncm.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        answered = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);
    }
    if (!answered) return;
    font.AssignLogFont(ncm.lfMenuFont);
    font.SetColor(clMenuText);
}

// ---------------------------------------------------------------------------
// Shortcuts

TShortCut ShortCut(WORD key, TShiftState shift) {
    if (key & 0xFF00) return scNone;
    TShortCut sc = key;
    if (shift.Contains(ssShift)) sc |= scShift;
    if (shift.Contains(ssCtrl)) sc |= scCtrl;
    if (shift.Contains(ssAlt)) sc |= scAlt;
    return sc;
}

void ShortCutToKey(TShortCut sc, WORD& key, TShiftState& shift) {
    key = sc & 0xFF;
    shift = {};
    if (sc & scShift) shift.Include(ssShift);
    if (sc & scCtrl) shift.Include(ssCtrl);
    if (sc & scAlt) shift.Include(ssAlt);
}

std::wstring ShortCutToText(TShortCut sc) {
    std::wstring name = KeyText(WORD(sc & 0xFF));
    if (name.empty()) return {};
    std::wstring out;
    if (sc & scShift) out += L"Shift+";
    if (sc & scCtrl) out += L"Ctrl+";
    if (sc & scAlt) out += L"Alt+";
    return out + name;
}

TShortCut TextToShortCut(const std::wstring& text) {
    TShortCut mods = 0;
    std::wstring rest = text;
    for (;;) {
        auto eat = [&](const wchar_t* prefix, TShortCut bit) {
            size_t n = wcslen(prefix);
            if (rest.size() > n && SameText(rest.substr(0, n), prefix)) {
                rest.erase(0, n);
                mods |= bit;
                return true;
            }
            return false;
        };
        if (!eat(L"Shift+", scShift) && !eat(L"Ctrl+", scCtrl) && !eat(L"Alt+", scAlt)) break;
    }
    for (int key = 1; key < 256; ++key) {
        std::wstring name = KeyText(WORD(key));
        if (!name.empty() && SameText(name, rest)) return TShortCut(mods | key);
    }
    return scNone;
}

// ---------------------------------------------------------------------------
// TMenuItem

const TClassInfo& TMenuItem::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TMenuItem>(L"TMenuItem", &TComponent::StaticClass())
            .Property(L"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
            .Custom(
                L"ShortCut",
                [](TMenuItem& item, const TValue& v) {
                    // Stored as the number or as its text ('Ctrl+S').
                    if (v.kind == TValue::Kind::String) {
                        TShortCut sc = TextToShortCut(v.text);
                        if (sc == scNone && !v.text.empty())
                            throw EPropertyError(L"'" + v.text + L"' names no shortcut");
                        item.SetShortCut(sc);
                    } else {
                        item.SetShortCut(TShortCut(ValueToInteger(v, 0, 0xFFFF)));
                    }
                },
                [](TMenuItem& item) { return TValue::Int(item.ShortCut()); })
            .Property(L"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
            .Property(L"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
            .Property(L"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
            .Property(L"Default", &TMenuItem::Default, &TMenuItem::SetDefault)
            .Property(L"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
            .Property(L"Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
            .Custom(L"Items",
                    [](TMenuItem& item, const TValue& v) { ApplyItemCollection(item, v); })
            .Event(L"OnClick", &TMenuItem::OnClick)
            .Event(L"OnMeasureItem", &TMenuItem::OnMeasureItem)
            .Event(L"OnDrawItem", &TMenuItem::OnDrawItem)
            .Event(L"OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem)
            .Build();
    return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
    command_ = AllocateCommand(this);
}

TMenuItem::~TMenuItem() {
    if (parent_) parent_->Remove(this);
    // Sub-items go with us, the last first.
    while (!items_.empty()) {
        TMenuItem* c = items_.back();
        items_.pop_back();
        c->parent_ = nullptr;
        c->Free();
    }
    Commands().erase(command_);
}

void TMenuItem::SetCaption(const std::wstring& c) {
    if (c == caption_) return;
    caption_ = c;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut sc) {
    if (sc == shortCut_) return;
    shortCut_ = sc;
    Changed();
}

void TMenuItem::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    Changed();
}

void TMenuItem::SetEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    Changed();
}

void TMenuItem::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    Changed();
}

void TMenuItem::SetDefault(bool v) {
    if (v == default_) return;
    // One default item per menu.
    if (v && parent_)
        for (TMenuItem* sibling : parent_->items_)
            sibling->default_ = false;
    default_ = v;
    Changed();
}

void TMenuItem::SetImageIndex(int i) {
    if (i == imageIndex_) return;
    imageIndex_ = i;
    Changed();
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_)
        throw EInvalidOperation(L"Menu item '" + item->Caption() + L"' already has a parent");
    for (const TMenuItem* p = this; p; p = p->parent_)
        if (p == item) throw EInvalidOperation(L"A menu item cannot contain itself");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    Changed();
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = items_.at(size_t(index));
    Remove(item);
    item->Free();
}

void TMenuItem::Clear() {
    TMenu* menu = GetParentMenu();
    if (menu) menu->BeginUpdate();
    while (!items_.empty())
        Delete(Count() - 1);
    if (menu) menu->EndUpdate();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : int(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    return root->menu_;
}

void TMenuItem::Changed() {
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    TMenu* menu = GetParentMenu();
    TImageList* images = menu ? menu->Images() : nullptr;
    bool topLevel = parent_ && !parent_->parent_ && dynamic_cast<TMainMenu*>(menu);
    if (IsLine()) {
        width = 10;
        height = 8;
    } else {
        SIZE text = canvas.TextExtent(StripAccel(caption_));
        int sc = shortCut_ ? canvas.TextWidth(ShortCutToText(shortCut_)) + 24 : 0;
        int glyph = images ? std::max(images->Width(), 16) : 16;
        width = topLevel ? text.cx + 8 : glyph + 12 + text.cx + sc + 16;
        height = std::max<int>(text.cy + 6, images ? images->Height() + 4 : 0);
        height = std::max(height, 19);
    }
    if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::AdvancedDrawItem(TCanvas& canvas, const RECT& rect, TOwnerDrawState state,
                                 bool topLevel) {
    if (OnAdvancedDrawItem) {
        OnAdvancedDrawItem(this, canvas, rect, state);
        return;
    }
    if (OnDrawItem) {
        OnDrawItem(this, canvas, rect, state.Contains(odSelected));
        return;
    }
    DrawDefault(canvas, rect, state, topLevel);
}

void TMenuItem::DrawDefault(TCanvas& canvas, const RECT& rect, TOwnerDrawState state,
                            bool topLevel) {
    bool disabled = state.Contains(odDisabled) || state.Contains(odGrayed) || !enabled_;
    bool selected = state.Contains(odSelected) && !disabled;
    canvas.Brush().SetColor(selected ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (IsLine()) {
        int y = (rect.top + rect.bottom) / 2;
        canvas.Pen().SetColor(clBtnShadow);
        canvas.MoveTo(rect.left + 2, y);
        canvas.LineTo(rect.right - 2, y);
        canvas.Pen().SetColor(clBtnHighlight);
        canvas.MoveTo(rect.left + 2, y + 1);
        canvas.LineTo(rect.right - 2, y + 1);
        return;
    }
    TMenu* menu = GetParentMenu();
    TImageList* images = menu ? menu->Images() : nullptr;
    int glyph = images ? std::max(images->Width(), 16) : 16;
    RECT textRect = rect;
    textRect.left += topLevel ? 4 : glyph + 8;
    bool hasImage = images && imageIndex_ >= 0 && imageIndex_ < images->Count();
    if (!topLevel) {
        int gy = (rect.top + rect.bottom) / 2;
        if (hasImage) {
            if (checked_) {
                RECT box{rect.left + 1, rect.top + 1, rect.left + glyph + 5, rect.bottom - 1};
                canvas.Brush().SetColor(clBtnShadow);
                canvas.FrameRect(box);
            }
            images->Draw(canvas, rect.left + 3, gy - images->Height() / 2, imageIndex_, !disabled);
        } else if (checked_) {
            RECT box{rect.left + 2, gy - 8, rect.left + 18, gy + 8};
            DrawFrameControl(canvas.PrepareHandle(), &box, DFC_MENU, DFCS_MENUCHECK);
        }
    }
    canvas.Brush().SetStyle(bsClear);
    if (default_) canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    TColor color = disabled ? clGrayText : selected ? clHighlightText : clMenuText;
    canvas.Font().SetColor(color);
    UINT flags = DT_SINGLELINE | DT_VCENTER | (topLevel ? DT_CENTER : DT_LEFT);
    if (state.Contains(odNoAccel)) flags |= DT_HIDEPREFIX;
    RECT r = textRect;
    canvas.DrawText(caption_, r, flags);
    if (shortCut_ && !topLevel) {
        RECT s = rect;
        s.right -= 12;
        canvas.DrawText(ShortCutToText(shortCut_), s, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
}

// ---------------------------------------------------------------------------
// TMenu

const TClassInfo& TMenu::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TMenu>(L"TMenu", &TComponent::StaticClass())
            .Property(L"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
            .Component(L"Images", &TMenu::ImageList, &TMenu::SetImageList)
            .Custom(L"Items",
                    [](TMenu& menu, const TValue& v) { ApplyItemCollection(*menu.Items(), v); })
            .Event(L"OnChange", &TMenu::OnChange)
            .Build();
    return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
    items_->menu_ = this;
    InstallMenuHandler();
}

TMenu::~TMenu() {
    if (imageList_) {
        imageList_->UnRegisterChanges(this);
        imageList_->RemoveFreeNotification(this);
    }
    items_->menu_ = nullptr;
    items_->Free();
    if (handle_) DestroyMenu(handle_);
}

HMENU TMenu::Handle() {
    if (!handle_) {
        handle_ = CreateMenuHandle();
        Fill(handle_, items_, topLevelBar_);
    }
    return handle_;
}

void TMenu::SetOwnerDraw(bool v) {
    if (v == ownerDraw_) return;
    ownerDraw_ = v;
    MenuChanged();
}

void TMenu::SetImages(TImageList* images) {
    if (images == images_) return;
    if (imageList_ && images != &imageList_->Images()) SetImageList(nullptr);
    images_ = images;
    MenuChanged();
}

void TMenu::SetImageList(TCustomImageList* list) {
    if (list == imageList_) return;
    if (imageList_) {
        imageList_->UnRegisterChanges(this);
        imageList_->RemoveFreeNotification(this);
    }
    imageList_ = list;
    if (list) {
        list->FreeNotification(this);
        // New pictures may change the items' sizes.
        list->RegisterChanges(this, [this] { MenuChanged(); });
    }
    SetImages(list ? &list->Images() : nullptr);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == imageList_) {
        imageList_ = nullptr;
        images_ = nullptr;
        MenuChanged();
    }
}

void TMenu::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) MenuChanged();
}

void TMenu::Loaded() {
    TComponent::Loaded();
    MenuChanged();
}

void TMenu::MenuChanged() {
    if (updateCount_ > 0 || Loading() || Destroying()) return;
    if (handle_) Rebuild();
    if (OnChange) OnChange(this);
}

void TMenu::Rebuild() {
    if (!handle_) {
        (void)Handle();
        return;
    }
    // Deleting an entry destroys its popup menu too.
    while (GetMenuItemCount(handle_) > 0)
        DeleteMenu(handle_, 0, MF_BYPOSITION);
    Fill(handle_, items_, topLevelBar_);
}

void TMenu::Fill(HMENU menu, TMenuItem* parent, bool topLevel) {
    bool ownerDraw = IsOwnerDraw();
    for (TMenuItem* item : parent->items_) {
        item->subMenu_ = nullptr;
        if (!item->Visible()) continue;
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
        mii.wID = item->Command();
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        std::wstring text = item->Caption();
        if (item->IsLine()) {
            mii.fType = MFT_SEPARATOR;
            mii.fState = MFS_DISABLED;
        } else {
            mii.fType = MFT_STRING;
            if (item->ShortCut() && !topLevel) text += L"\t" + ShortCutToText(item->ShortCut());
            mii.fMask |= MIIM_STRING;
            mii.dwTypeData = text.data();
            if (item->Checked()) mii.fState |= MFS_CHECKED;
            if (!item->Enabled()) mii.fState |= MFS_DISABLED;
            if (item->Default()) mii.fState |= MFS_DEFAULT;
        }
        if (ownerDraw) mii.fType |= MFT_OWNERDRAW;
        if (item->Count() > 0 && !item->IsLine()) {
            item->subMenu_ = CreatePopupMenu();
            Fill(item->subMenu_, item, false);
            mii.fMask |= MIIM_SUBMENU;
            mii.hSubMenu = item->subMenu_;
        }
        InsertMenuItemW(menu, UINT(GetMenuItemCount(menu)), TRUE, &mii);
    }
}

TMenuItem* TMenu::FindCommand(UINT command) const {
    auto it = Commands().find(command);
    if (it == Commands().end() || it->second->GetParentMenu() != this) return nullptr;
    return it->second;
}

TMenuItem* TMenu::FindItem(TShortCut shortCut) const {
    if (shortCut == scNone) return nullptr;
    std::vector<TMenuItem*> stack{items_};
    while (!stack.empty()) {
        TMenuItem* item = stack.back();
        stack.pop_back();
        if (item != items_ && item->ShortCut() == shortCut) return item;
        for (auto it = item->items_.rbegin(); it != item->items_.rend(); ++it)
            stack.push_back(*it);
    }
    return nullptr;
}

bool TMenu::IsShortCut(WORD key, TShiftState shift) {
    TShiftState mods;
    for (TShiftStateKind k : {ssShift, ssCtrl, ssAlt})
        if (shift.Contains(k)) mods.Include(k);
    TMenuItem* item = FindItem(::ShortCut(key, mods));
    if (!item) return false;
    // A shortcut works only while every menu above it is enabled.
    for (TMenuItem* p = item; p; p = p->Parent())
        if (!p->Enabled()) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchCommand(UINT command) {
    TMenuItem* item = FindCommand(command);
    if (!item) return false;
    item->Click();
    return true;
}

// ---------------------------------------------------------------------------
// TMainMenu

const TClassInfo& TMainMenu::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TMainMenu>(L"TMainMenu", &TMenu::StaticClass()).Build();
    return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {
    SetTopLevelBar(true);
}

TMainMenu::~TMainMenu() {
    if (window_) SetFormMenu(window_, nullptr);
}

HMENU TMainMenu::CreateMenuHandle() {
    return CreateMenu();
}

void TMainMenu::MenuChanged() {
    TMenu::MenuChanged();
    if (window_ && window_->HandleAllocated()) DrawMenuBar(window_->Handle());
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == window_) {
        FormMenus().erase(window_);
        window_ = nullptr;
        // The form's window took its menu with it.
        ForgetHandle();
    }
}

void SetFormMenu(TForm* form, TMainMenu* menu) {
    if (!form) return;
    TMainMenu* old = FormMenu(form);
    if (old == menu) return;
    if (old) {
        old->window_ = nullptr;
        old->RemoveFreeNotification(form);
        FormMenus().erase(form);
    }
    if (menu) {
        if (menu->window_) SetFormMenu(menu->window_, nullptr);
        menu->window_ = form;
        menu->FreeNotification(form);
        FormMenus()[form] = menu;
    }
    if (form->Destroying()) return;
    if (form->HandleAllocated() || menu) {
        ::SetMenu(form->Handle(), menu ? menu->Handle() : nullptr);
        DrawMenuBar(form->Handle());
    }
}

TMainMenu* FormMenu(const TForm* form) {
    auto it = FormMenus().find(form);
    return it == FormMenus().end() ? nullptr : it->second;
}

bool IsFormShortCut(TForm* form, WORD key, TShiftState shift) {
    if (!form) return false;
    if (TMainMenu* menu = FormMenu(form); menu && menu->IsShortCut(key, shift)) return true;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* popup = dynamic_cast<TPopupMenu*>(form->Components(i));
            popup && popup->IsShortCut(key, shift))
            return true;
    return false;
}

// ---------------------------------------------------------------------------
// TPopupMenu

const TClassInfo& TPopupMenu::StaticClass() {
    static const TClassInfo& info = TClassBuilder<TPopupMenu>(L"TPopupMenu", &TMenu::StaticClass())
                                        .Event(L"OnPopup", &TPopupMenu::OnPopup)
                                        .Build();
    return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

HMENU TPopupMenu::CreateMenuHandle() {
    return CreatePopupMenu();
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup) OnPopup(this);
    HMENU menu = Handle();
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_TOPALIGN;
    flags |= alignment_ == paRight    ? TPM_RIGHTALIGN
             : alignment_ == paCenter ? TPM_CENTERALIGN
                                      : TPM_LEFTALIGN;
    // With TPM_RETURNCMD the pick comes back here instead of as WM_COMMAND.
    UINT command = UINT(TrackPopupMenuEx(menu, flags, x, y, PopupListWindow(), nullptr));
    PostMessageW(PopupListWindow(), WM_NULL, 0, 0);
    if (command) DispatchCommand(command);
}

HWND PopupListWindow() {
    static HWND wnd = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PopupListProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TPopupList";
        RegisterClassExW(&wc);
        return CreateWindowExW(WS_EX_TOOLWINDOW, L"TPopupList", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                               nullptr, wc.hInstance, nullptr);
    }();
    return wnd;
}

// ---------------------------------------------------------------------------
