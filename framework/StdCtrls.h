#pragma once

// The standard controls over the system's own: the single-line edit, the
// memo, the list box and the combo box. Each superclasses its system class
// under its C++ class name and keeps what the program stores (text, items,
// selection) on our side too, so a window can come and go.

#include "framework/Controls.h"
#include "framework/StringList.h"

#include <functional>
#include <string>
#include <vector>

// What the system says about an owner-drawn item (lists, combo boxes, menus).
enum TOwnerDrawStateKind {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateKind>;
// From the ODS_* bits of DRAWITEMSTRUCT::itemState.
TOwnerDrawState OwnerDrawStateFromItemState(UINT itemState);

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TMemoScrollBars { msNone, msHorizontal, msVertical, msBoth };

const TEnumInfo& MemoScrollBarsEnum();

// ---------------------------------------------------------------------------

// The EDIT control. OnChange runs on every change of the text: once for a
// change the control reports (typing, pasting, EN_CHANGE) and, when the text
// is assigned by the program, once more from the framework's text-changed
// notification; an assignment that leaves the text as it is raises nothing.
class TCustomEdit : public TWinControl {
  public:
    explicit TCustomEdit(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    // Select the whole text when the focus comes by keyboard or by program.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool v) { autoSelect_ = v; }
    // 0 = as long as the system allows.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);
    // 0 shows the text as it is.
    wchar_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(wchar_t ch);
    // Single character for descriptions ('*'); empty = none.
    std::wstring PasswordCharText() const;
    void SetPasswordCharText(const std::wstring& s);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase c);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);

    // Selection in characters; the caret sits at its end.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::wstring SelText() const;
    // Replaces the selection (a change the control reports: one OnChange).
    void SetSelText(const std::wstring& text);
    void Select(int start, int length);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(L""); }
    void PasteFromClipboard();

    TNotifyEvent OnChange;

  protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void TextChanged() override;
    void DoEnter() override;
    virtual void Change();

  private:
    bool readOnly_ = false;
    bool autoSelect_ = true;
    int maxLength_ = 0;
    TBorderStyle borderStyle_ = bsSingle;
    wchar_t passwordChar_ = 0;
    TEditCharCase charCase_ = ecNormal;
    bool hideSelection_ = true;
    bool mouseEntering_ = false;
    bool placingText_ = false; // the text of a new window, which changes nothing
    // Kept while there is no window.
    int selStart_ = 0;
    int selLength_ = 0;
};

class TEdit : public TCustomEdit {
  public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

// A multi-line edit whose lines are also a TStringList, kept in step both ways.
class TMemo : public TCustomEdit {
  public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TStringList& Lines() { return lines_; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    TMemoScrollBars ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TMemoScrollBars s);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

  protected:
    void CreateParams(TCreateParams& params) override;
    void Change() override;

  private:
    void LinesChanged();
    TStringList lines_;
    bool wordWrap_ = true;
    TMemoScrollBars scrollBars_ = msNone;
    bool wantReturns_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool syncing_ = false;
};

// ---------------------------------------------------------------------------

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

const TEnumInfo& ListBoxStyleEnum();
const TEnumInfo& ComboBoxStyleEnum();

using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, const RECT& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(TWinControl* Control, int Index, int& Height)>;

// What the list box and the combo box share: items held in a TStringList that
// the control mirrors, and the owner-draw hooks with a canvas on the item's DC.
class TCustomListControl : public TWinControl {
  public:
    explicit TCustomListControl(TComponent* owner);
    ~TCustomListControl() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The items. Changes reach the control at once; Sorted and the
    // name=value separator are those of this list.
    TStringList& Items() { return items_; }
    const TStringList& Items() const { return items_; }
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool v) { items_.SetSorted(v); }
    int Count() const { return items_.Count(); }
    void Clear() { items_.Clear(); }

    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;

    // Valid while OnDrawItem runs: draws on the item's DC.
    TCanvas& Canvas() { return canvas_; }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h);

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

  protected:
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    // Brings the window's items in line with Items (only the part that differs).
    void SyncItems();
    // Drawing of an item when nobody else does: highlight and text.
    virtual void DrawItem(int index, const RECT& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);
    virtual bool OwnerDraw() const = 0;
    // Message numbers of the two system controls.
    struct Messages {
        UINT getCount, getText, getTextLen, addString, insertString, deleteString, resetContent;
    };
    virtual Messages ListMessages() const = 0;
    virtual void ItemsChanged();

  private:
    TStringList items_;
    // What the window holds: only SyncItems changes it, so it need not be
    // read back item by item (slow under Wine) at every change.
    std::vector<std::wstring> shown_;
    TCanvas canvas_;
    int itemHeight_ = 16;
};

// The LISTBOX control. OnClick runs when the user changes the selection.
class TListBox : public TCustomListControl {
  public:
    explicit TListBox(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The selected item (single selection) or the focused one (multi-select); -1 if none.
    int ItemIndex() const override;
    // Selects index alone (-1: nothing); raises no OnClick.
    void SetItemIndex(int index) override;
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool v);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    // Deletes every selected item.
    void DeleteSelected();
    int TopIndex() const;
    void SetTopIndex(int index);
    // The item at a client point, -1 if none (or the next one when !existing).
    int ItemAtPos(POINT p, bool existing = true) const;
    RECT ItemRect(int index) const;

    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle s);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle s);
    // Name=value items: the character between the name and the value.
    std::wstring NameValueSeparatorText() const {
        return std::wstring(1, Items().NameValueSeparator());
    }
    void SetNameValueSeparatorText(const std::wstring& s);

  protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    bool OwnerDraw() const override { return style_ != lbStandard; }
    Messages ListMessages() const override;
    void ItemsChanged() override;

  private:
    std::vector<int> SelectedIndexes() const;
    bool multiSelect_ = false;
    TListBoxStyle style_ = lbStandard;
    TBorderStyle borderStyle_ = bsSingle;
    // Selection while there is no window.
    int itemIndex_ = -1;
    std::vector<bool> selected_;
};

// The COMBOBOX control, a drop-down list by default. OnClick runs once for
// every pick by the user, by mouse in the dropped list or by keyboard; the
// program's own ItemIndex raises nothing.
class TComboBox : public TCustomListControl {
  public:
    explicit TComboBox(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    // The selected item's text (what the edit shows in csDropDown).
    std::wstring Text() const override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    bool DroppedDown() const;
    void SetDroppedDown(bool v);
    // Items visible in the dropped list before it scrolls.
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n);
    // The system's layout: the button and item rectangles and the list window.
    COMBOBOXINFO ComboBoxInfo();
    HWND ListHandle() { return ComboBoxInfo().hwndList; }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnSelect;

  protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void ApplyBounds(int left, int top, int width, int height) override;
    void TextChanged() override;
    void FontChanged() override;
    bool OwnerDraw() const override {
        return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable;
    }
    Messages ListMessages() const override;
    void ItemsChanged() override;
    // A pick by the user: OnSelect, OnClick and OnChange.
    virtual void UserPicked();
    virtual void Change();

  private:
    void SetDroppedHeight();
    TComboBoxStyle style_ = csDropDownList;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    int itemIndex_ = -1; // while there is no window
    bool dropped_ = false;
    bool pickPending_ = false;
    bool changedInDrop_ = false;
    int indexAtDrop_ = -1;
};
