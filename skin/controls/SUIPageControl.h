// The page control: a skinned tab control whose tabs are its pages'
// captions. Exactly one page is in front and enabled; the page control
// disables every other page itself.
#pragma once

#include "skin/controls/SUITabControl.h"

#include <string>
#include <vector>

class TsuiTabSheet;

// The strip of a page control; it adds nothing to the tab control's strip.
class TsuiPageControlTopPanel : public TsuiTabControlTopPanel {
  public:
    explicit TsuiPageControlTopPanel(TComponent* owner, TsuiTab* tab = nullptr)
        : TsuiTabControlTopPanel(owner, tab) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
};

class TsuiPageControl : public TsuiTab {
  public:
    explicit TsuiPageControl(TComponent* owner);
    ~TsuiPageControl() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiTabSheet* ActivePage() const { return activePage_; }
    // Brings page to the front, enabled, and selects its tab; pages of other
    // controls are refused.
    void SetActivePage(TsuiTabSheet* page);
    // PageIndex of ActivePage, 0 without one.
    int ActivePageIndex() const;
    int PageCount() const { return int(pages_.size()); }
    TsuiTabSheet* Pages(int index) const { return pages_.at(size_t(index)); }

    void Loaded() override;
    // Ctrl+Tab and Ctrl+Shift+Tab turn to the next and the previous shown tab.
    bool DialogKey(WORD key, TShiftState shift) override;

  protected:
    TsuiTabControlTopPanel* CreateTabPanel() override;
    void BorderColorChanged() override;
    void TabActivated(int index) override;
    void UpdateChildrenStyle(TsuiUIStyle style, TsuiFileTheme* fileTheme) override;
    void ColorChanged() override;
    void CreateHandleDone() override;

  private:
    friend class TsuiTabSheet;
    void InsertPage(TsuiTabSheet* page);
    void RemovePage(TsuiTabSheet* page);
    void MovePage(TsuiTabSheet* page, int index);
    void PageTabVisibleChanged(TsuiTabSheet* page);
    void RenumberPages();
    // Tabs from the pages' captions in page order, with their visibility.
    void RebuildTabs();
    void ActivateByIndex(int index);
    // Visible, enabled, in front, repainted, OnShow.
    void ShowActivePage();
    void FocusFirstControl(TsuiTabSheet& page);

    void SetStoredPageNames(const TValue& value);
    TValue StoredPageNames() const;

    std::vector<TsuiTabSheet*> pages_; // not owned: the window owns its pages
    std::vector<std::wstring> storedNames_;
    TsuiTabSheet* activePage_ = nullptr;
};

class TsuiTabSheet : public TCustomPanel {
  public:
    explicit TsuiTabSheet(TComponent* owner);
    ~TsuiTabSheet() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Position among its page control's pages; -1 outside one. Setting a
    // position outside the pages changes nothing.
    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int index);
    // The tab's text (the panel itself shows no caption).
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);
    TsuiPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TsuiPageControl* control) { SetParent(control); }

    // Becoming a child of a page control makes this one of its pages.
    void SetParent(TWinControl* parent) override;

    TNotifyEvent OnShow;

  protected:
    bool CreatesChildrenAtOnce() const override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;

  private:
    friend class TsuiPageControl;
    void DoShow() {
        if (OnShow) OnShow(this);
    }

    TsuiPageControl* pageControl_ = nullptr;
    int pageIndex_ = -1;
    std::wstring caption_;
    bool tabVisible_ = true;
};
