// The skinned tab control: a bordered body (TsuiTab) that owns a strip of
// tabs along its top (TsuiTabControlTopPanel). The strip draws the tabs and
// the scroll arrows, hit-tests clicks and holds the captions and the
// selected index; the body reports selections through its events.
#pragma once

#include "skin/SUIStyleLink.h"

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/StringList.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class TsuiTab;

using TTabActiveNotify = std::function<void(TObject* Sender, int TabIndex)>;
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// ---------------------------------------------------------------------------

class TsuiTabControlTopPanel : public TsuiStyled<TCustomPanel> {
  public:
    // tab is the body the strip belongs to (colours, font, events); a strip
    // without one draws with its own defaults and reports nothing.
    explicit TsuiTabControlTopPanel(TComponent* owner, TsuiTab* tab = nullptr);
    ~TsuiTabControlTopPanel() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TStringList& Tabs() { return tabs_; }
    const TStringList& Tabs() const { return tabs_; }
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int margin);

    // Whether tab i is drawn (the pages' TabVisible); unknown tabs count as shown.
    bool TabVisible(int index) const;
    void SetTabVisible(int index, bool visible);

    // What the last drawing left behind, for the hit test (and for tests):
    // the width of tab i as drawn, 0 when hidden, -1 when not reached.
    int TabWidth(int index) const;
    int TabHeight() const { return tabHeight_; }
    int FirstShown() const { return firstShown_; }
    bool ArrowsNeeded() const { return arrowsNeeded_; }
    int ArrowWidth() const { return arrowWidth_; }
    int ArrowHeight() const { return arrowHeight_; }
    // Height the style asks for: whole tab picture plus bar picture.
    int StripHeight() const { return stripHeight_; }
    // Where the arrows go (also when they are not shown).
    RECT RightArrowRect() const;
    RECT LeftArrowRect() const;

    // Repaints the window now if it has one; the scroll offset, the widths
    // and the hovered arrow follow the drawing.
    void Redraw();
    // Puts the strip at (0, 0) of its body, full width, at its own height.
    void PlaceInTab();

  protected:
    void Paint() override;
    void ApplyBounds(int left, int top, int width, int height) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    // Reloads the tab, bar and arrow pictures, takes the height they need and repaints.
    void ApplyStyle() override;
    // A strip follows its tab.
    TsuiUIStyle OwnerStyle() const override;

  private:
    friend class TsuiTab;
    void TabsChanged();
    void SyncTables();
    // Paints the strip into canvas of the client size; pointer is the mouse
    // in strip coordinates.
    void Render(TCanvas& canvas, std::optional<POINT> pointer = std::nullopt);
    int DrawTabs(TCanvas& canvas);
    void DrawArrows(TCanvas& canvas, POINT pointer);
    void DrawBackground(TCanvas& canvas);
    POINT PointerPosition() const;
    int VisibleOrdinal(int index) const;
    TColor BorderColorForLines() const;
    const TFont& CaptionFont() const;

    TsuiTab* tab_ = nullptr;
    TStringList tabs_;
    int tabIndex_ = 0;
    int leftMargin_ = 10;

    // Grow with the tab list: one entry per tab.
    std::vector<int> widths_;
    std::vector<bool> visible_;
    int tabHeight_ = 0;
    bool userClick_ = false;
    int firstShown_ = 0;
    bool arrowsNeeded_ = false;
    int hoveredArrow_ = 0; // -1 left, 0 none, +1 right
    int arrowWidth_ = 0;
    int arrowHeight_ = 0;
    bool keepSelectionVisible_ = false;
    int stripHeight_ = 0;

    TBitmap activeTab_;
    TBitmap inactiveTab_;
    TBitmap bar_;
    TBitmap arrows_[4]; // right, right hovered, left, left hovered
    TOffscreenBuffer buffer_;
};

// ---------------------------------------------------------------------------

class TsuiTab : public TsuiStyled<TCustomPanel> {
  public:
    ~TsuiTab() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int LeftMargin() const;
    void SetLeftMargin(int margin);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color);
    // The caption font of the tabs: an object of its own, not the panel's
    // (children that follow their parent's font keep the panel's).
    TFont& Font() { return tabFont_; }
    const TFont& Font() const { return tabFont_; }
    void SetFont(const TFont& font) { tabFont_.Assign(font); }
    // The strip shows the same cursor.
    void SetCursor(TCursor cursor);

    TsuiTabControlTopPanel& TabPanel() { return *strip_; }
    const TsuiTabControlTopPanel& TabPanel() const { return *strip_; }

    // Forwards to the strip's TabIndex.
    virtual void SelectTab(int index);

    TTabActiveNotify OnTabActive;
    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

  protected:
    explicit TsuiTab(TComponent* owner);
    // The most derived constructor calls this once: creates the strip through
    // CreateTabPanel and takes the owner form's style.
    void ConstructTabPanel();

    virtual TsuiTabControlTopPanel* CreateTabPanel() = 0;
    virtual void BorderColorChanged() {}
    // A tab became the selected one: OnTabActive, then OnChange (not while loading).
    virtual void TabActivated(int index);
    virtual void UpdateChildrenStyle(TsuiUIStyle style, TsuiFileTheme* fileTheme);

    void Paint() override;
    void Resize() override;
    void AdjustClientRect(RECT& r) const override;
    void AlignControls(RECT& rect) override;
    void ApplyStyle() override;

  private:
    friend class TsuiTabControlTopPanel;
    TOwned<TsuiTabControlTopPanel> strip_;
    TColor borderColor_ = clBlack;
    TFont tabFont_;
};
