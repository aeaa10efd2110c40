// Check groups and radio groups: a group box that makes one item control
// per string of Items and lays them out in columns.
#pragma once

#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIGroupBox.h"

#include "framework/StringList.h"

#include <vector>

class TsuiCheckGroup;

// The item controls a group creates; each keeps a link to its group.
class TsuiCheckGroupButton : public TsuiCheckBox {
  public:
    explicit TsuiCheckGroupButton(TComponent* owner) : TsuiCheckBox(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
    TsuiCheckGroup* Group() const { return group_; }
    void SetGroup(TsuiCheckGroup* group) { group_ = group; }

  protected:
    bool ShowsFocus() const override { return Focused(); }

  private:
    TsuiCheckGroup* group_ = nullptr;
};

class TsuiRadioGroupButton : public TsuiRadioButton {
  public:
    explicit TsuiRadioGroupButton(TComponent* owner) : TsuiRadioButton(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
    TsuiCheckGroup* Group() const { return group_; }
    void SetGroup(TsuiCheckGroup* group) { group_ = group; }

  protected:
    bool ShowsFocus() const override;
    void Toggle() override;

  private:
    TsuiCheckGroup* group_ = nullptr;
};

class TsuiCheckGroup : public TsuiCustomGroupBox {
  public:
    explicit TsuiCheckGroup(TComponent* owner);
    ~TsuiCheckGroup() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Any change rebuilds the item controls.
    TStringList& Items() { return items_; }
    int Columns() const { return columns_; }
    void SetColumns(int v);
    int TopMargin() const { return topMargin_; }
    void SetTopMargin(int v);
    TColor FontColor() const { return Font().Color(); }
    void SetFontColor(TColor v) { Font().SetColor(v); }
    void SetTransparent(bool v) override;

    int ItemCount() const { return int(buttons_.size()); }
    TsuiCheckBox* ItemButton(int index) const { return buttons_.at(size_t(index)); }
    // Whether item index is checked.
    bool ItemChecked(int index) const { return ItemButton(index)->Checked(); }

    // The item-click handler: ItemClicked, then OnClick unless loading.
    void Click() override;
    virtual bool CanCheckItem(TsuiCheckBox* item) const;

  protected:
    virtual void ItemClicked() {}
    virtual TsuiCheckBox* CreateItemButton();
    virtual void FocusItem();

    void ApplyStyle() override;
    void WndProc(TMessage& m) override;
    void FontChanged() override;
    void Resize() override;

  private:
    void Rebuild();
    void LayoutItems();

    TStringList items_;
    int columns_ = 1;
    int topMargin_ = 8;
    std::vector<TsuiCheckBox*> buttons_; // children of the group, freed with it
};

class TsuiRadioGroup : public TsuiCheckGroup {
  public:
    explicit TsuiRadioGroup(TComponent* owner) : TsuiCheckGroup(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The first checked item, -1 when none. Writing -1 clears the choice;
    // values beyond the items are ignored.
    int ItemIndex() const;
    void SetItemIndex(int v);

    void Loaded() override;

  protected:
    TsuiCheckBox* CreateItemButton() override;
    void FocusItem() override;

  private:
    int pendingIndex_ = -2; // stored before its items existed
};
