#include "skin/controls/SUIRadioGroup.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Items

const TClassInfo& TsuiCheckGroupButton::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiCheckGroupButton>(L"TsuiCheckGroupButton", &TsuiCheckBox::StaticClass())
            .Build();
    return info;
}

const TClassInfo& TsuiRadioGroupButton::StaticClass() {
    static const TClassInfo& info = TClassBuilder<TsuiRadioGroupButton>(
                                        L"TsuiRadioGroupButton", &TsuiRadioButton::StaticClass())
                                        .Build();
    return info;
}

bool TsuiRadioGroupButton::ShowsFocus() const {
    return Checked() && (Focused() || (group_ && group_->Focused()));
}

void TsuiRadioGroupButton::Toggle() {
    if (group_ && !group_->CanCheckItem(this)) return;
    TsuiRadioButton::Toggle();
}

// ---------------------------------------------------------------------------
// TsuiCheckGroup

const TClassInfo& TsuiCheckGroup::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiCheckGroup>(L"TsuiCheckGroup", &TsuiCustomGroupBox::StaticClass())
            .Strings(L"Items", &TsuiCheckGroup::Items)
            .Property(L"Columns", &TsuiCheckGroup::Columns, &TsuiCheckGroup::SetColumns)
            .Property(L"TopMargin", &TsuiCheckGroup::TopMargin, &TsuiCheckGroup::SetTopMargin)
            .Color(L"FontColor", &TsuiCheckGroup::FontColor, &TsuiCheckGroup::SetFontColor)
            .Color(L"BorderColor", &TsuiCustomGroupBox::BorderColor,
                   &TsuiCustomGroupBox::SetBorderColor)
            .Event(L"OnClick", &TControl::OnClick)
            .Build();
    return info;
}

TsuiCheckGroup::TsuiCheckGroup(TComponent* owner) : TsuiCustomGroupBox(owner) {
    SetTabStop(true);
    items_.OnChange = [this](TStringList*) { Rebuild(); };
}

TsuiCheckGroup::~TsuiCheckGroup() {
    items_.OnChange = nullptr;
    // The buttons are our children: the window control frees them.
    buttons_.clear();
}

bool TsuiCheckGroup::CanCheckItem(TsuiCheckBox*) const {
    return true;
}

TsuiCheckBox* TsuiCheckGroup::CreateItemButton() {
    auto* item = new TsuiCheckGroupButton(nullptr);
    item->SetGroup(this);
    return item;
}

void TsuiCheckGroup::Rebuild() {
    const size_t count = size_t(items_.Count());
    bool created = false;
    while (buttons_.size() < count) {
        TsuiCheckBox* item = CreateItemButton();
        item->SetParent(this);
        item->SetFont(Font());
        item->SetAutoSize(true);
        item->SetFileTheme(FileTheme());
        item->SetUIStyle(UIStyle());
        item->SetTransparent(Transparent());
        item->SetParentColor(true);
        item->SetTabStop(false);
        item->OnClick = [this](TObject*) { Click(); };
        buttons_.push_back(item);
        created = true;
    }
    while (buttons_.size() > count) {
        TsuiCheckBox* item = buttons_.back();
        buttons_.pop_back();
        item->Free();
    }
    for (size_t i = 0; i < count; ++i) {
        buttons_[i]->SetCaption(items_[int(i)]);
        buttons_[i]->SetAutoSize(true);
    }
    LayoutItems();
    if (created) {
        // Twice: every item, old and new, repaints with the group's setting.
        SetTransparent(!Transparent());
        SetTransparent(!Transparent());
    }
}

void TsuiCheckGroup::LayoutItems() {
    if (buttons_.empty()) return;
    const RECT client = ClientRect();
    const RECT inner{client.left + 3, client.top + FontHeight(), client.right - 2,
                     client.bottom - 2};
    const int count = int(buttons_.size());
    // No columns cannot be laid out: it counts as one.
    const int columns = std::max(columns_, 1);
    const int top = inner.top + topMargin_;
    const int avail = inner.bottom - top;
    const int rows = (count + columns - 1) / columns;
    const int columnWidth = (Width() - 10) / columns;
    const int rowHeight = avail / rows;
    const int firstY = top + (avail % rows) / 2;
    for (int i = 0; i < count; ++i) {
        TsuiCheckBox* item = buttons_[size_t(i)];
        const int column = i / rows, row = i % rows;
        item->SetBounds(8 + column * columnWidth, firstY + row * rowHeight, item->Width(),
                        item->Height());
    }
}

void TsuiCheckGroup::SetColumns(int v) {
    if (v < 0) return;
    columns_ = v;
    LayoutItems();
}

void TsuiCheckGroup::SetTopMargin(int v) {
    if (v < 0) return;
    topMargin_ = v;
    LayoutItems();
}

void TsuiCheckGroup::SetTransparent(bool v) {
    TsuiCustomGroupBox::SetTransparent(v);
    for (TsuiCheckBox* item : buttons_)
        item->SetTransparent(v);
}

void TsuiCheckGroup::ApplyStyle() {
    TsuiCustomGroupBox::ApplyStyle();
    for (TsuiCheckBox* item : buttons_) {
        item->SetFileTheme(FileTheme());
        item->SetUIStyle(UIStyle());
        item->SetColor(Color());
    }
}

void TsuiCheckGroup::FontChanged() {
    TsuiCustomGroupBox::FontChanged();
    for (TsuiCheckBox* item : buttons_)
        item->SetFont(Font());
}

void TsuiCheckGroup::Resize() {
    TsuiCustomGroupBox::Resize();
    LayoutItems();
}

void TsuiCheckGroup::Click() {
    ItemClicked();
    if (!Loading()) TsuiCustomGroupBox::Click();
}

void TsuiCheckGroup::FocusItem() {
    if (buttons_.empty()) return;
    if (buttons_.front()->CanFocus()) buttons_.front()->SetFocus();
}

void TsuiCheckGroup::WndProc(TMessage& m) {
    TsuiCustomGroupBox::WndProc(m);
    if (Destroying()) return;
    if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) {
        // Radio items show the focus while their group has it.
        for (TsuiCheckBox* item : buttons_)
            item->Invalidate();
        if (m.Msg == WM_SETFOCUS) FocusItem();
    }
}

// ---------------------------------------------------------------------------
// TsuiRadioGroup

const TClassInfo& TsuiRadioGroup::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiRadioGroup>(L"TsuiRadioGroup", &TsuiCheckGroup::StaticClass())
            .Property(L"ItemIndex", &TsuiRadioGroup::ItemIndex, &TsuiRadioGroup::SetItemIndex)
            .Build();
    return info;
}

TsuiCheckBox* TsuiRadioGroup::CreateItemButton() {
    auto* item = new TsuiRadioGroupButton(nullptr);
    item->SetGroup(this);
    return item;
}

int TsuiRadioGroup::ItemIndex() const {
    for (int i = 0; i < ItemCount(); ++i)
        if (ItemChecked(i)) return i;
    return -1;
}

void TsuiRadioGroup::SetItemIndex(int v) {
    if (v > ItemCount() - 1 || v < -1) {
        // A description may name the index before it lists the items.
        if (Loading()) pendingIndex_ = v;
        return;
    }
    pendingIndex_ = -2;
    if (v == -1) {
        for (int i = 0; i < ItemCount(); ++i)
            ItemButton(i)->SetChecked(false);
        return;
    }
    // The radio rule unchecks the others and routes OnClick to us.
    ItemButton(v)->SetChecked(true);
}

void TsuiRadioGroup::Loaded() {
    TsuiCheckGroup::Loaded();
    if (pendingIndex_ == -2) return;
    const int v = pendingIndex_;
    pendingIndex_ = -2;
    SetItemIndex(v);
}

void TsuiRadioGroup::FocusItem() {
    const int index = ItemIndex();
    if (index < 0) return;
    if (ItemButton(index)->CanFocus()) ItemButton(index)->SetFocus();
}
