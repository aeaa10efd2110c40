#pragma once

// The tool bar over the system's tool-bar control. Each TToolButton is a
// windowless control parented to the bar (so a form description nests the
// buttons inside it); the bar mirrors them into the system control, which
// lays them out, tracks hot and pressed states and shows the hints. Buttons
// never take the keyboard focus. Custom-draw hooks let an owner paint the bar
// and any button instead of the system.

#include "framework/Controls.h"

#include <memory>
#include <string>
#include <vector>

class TToolBar;

// An image list a form description can hold and name: images loaded from
// bitmap resources of the executable, keyed by their bottom-left pixel.
class TCustomImageList : public TComponent {
  public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int Width() const { return images_.Width(); }
    void SetWidth(int w) { images_.SetWidth(w); }
    int Height() const { return images_.Height(); }
    void SetHeight(int h) { images_.SetHeight(h); }
    int Count() const { return images_.Count(); }
    TImageList& Images() { return images_; }
    const TImageList& Images() const { return images_; }
    // Replaces the images by the bitmap resources of these names, in order.
    void LoadResourceBitmaps(const std::vector<std::wstring>& names);
    std::vector<std::wstring> ResourceNames() const { return names_; }

    // Users (tool bars) hear of every change of the images until they unregister.
    void RegisterChanges(const void* user, std::function<void()> changed);
    void UnRegisterChanges(const void* user);

  private:
    void Changed();
    TImageList images_;
    std::vector<std::wstring> names_;
    std::vector<std::pair<const void*, std::function<void()>>> users_;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator };
enum TEdgeStyle { esNone, esRaised, esLowered };
enum TEdgeBorder { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = TSet<TEdgeBorder>;

// What the system says about a button being drawn.
enum TToolButtonDrawStateKind { cdsHot, cdsPressed, cdsChecked, cdsDropDown, cdsDisabled };
using TToolButtonDrawState = TSet<TToolButtonDrawStateKind>;

// Return true when the hook drew; false leaves the drawing to the system.
using TToolBarCustomDrawEvent =
    std::function<bool(TToolBar* Sender, TCanvas& Canvas, const RECT& ARect)>;
using TToolBarCustomDrawButtonEvent =
    std::function<bool(TToolBar* Sender, class TToolButton* Button, TCanvas& Canvas,
                       const RECT& ARect, TToolButtonDrawState State)>;

const TEnumInfo& ToolButtonStyleEnum();
const TEnumInfo& EdgeStyleEnum();

class TToolButton : public TGraphicControl {
  public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int i);
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle s);
    // Checked, for tbsCheck buttons.
    bool Down() const { return down_; }
    void SetDown(bool v);
    // As wide as its caption and image need, not the bar's ButtonWidth.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // Of a group of check buttons in a row, at most one of which is down.
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool v);
    // The button's place among the bar's buttons (-1 when not on a bar).
    int Index() const;
    TToolBar* ToolBar() const { return bar_; }
    // The command identifier the system control knows the button by.
    int CommandId() const { return commandId_; }

    void SetParent(TWinControl* parent) override;
    void Click() override;

  protected:
    void TextChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;

  private:
    friend class TToolBar;
    // Bounds from the system's layout; kept as the anchor too, or the bar's next
    // alignment pass would put the button back where the description had it.
    void PlaceByBar(const RECT& r) {
        SetBoundsByLayout(r.left, r.top, r.right - r.left, r.bottom - r.top);
        UpdateAnchorRules();
    }

    TToolBar* bar_ = nullptr;
    int imageIndex_ = -1;
    TToolButtonStyle style_ = tbsButton;
    bool down_ = false;
    bool autoSize_ = false;
    bool grouped_ = false;
    int commandId_ = 0;
};

class TToolBar : public TWinControl {
  public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    int ButtonCount() const { return int(buttons_.size()); }
    TToolButton* Buttons(int index) const { return buttons_.at(size_t(index)); }

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* list);
    // The glyphs of the button under the mouse; none: Images.
    TCustomImageList* HotImages() const { return hotImages_; }
    void SetHotImages(TCustomImageList* list);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool v);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int w);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int h);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    // The bar's height follows its buttons.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // Kept for descriptions; the bar itself draws no edges.
    TEdgeStyle EdgeInner() const { return edgeInner_; }
    void SetEdgeInner(TEdgeStyle e) { edgeInner_ = e; }
    TEdgeStyle EdgeOuter() const { return edgeOuter_; }
    void SetEdgeOuter(TEdgeStyle e) { edgeOuter_ = e; }

    // The button's rectangle as the system control laid it out (empty if hidden).
    RECT ButtonRect(const TToolButton* button);
    // The button the system shows as under the mouse, or nullptr.
    TToolButton* HotButton();
    // Makes the button under the real cursor hot, or none when the cursor is
    // elsewhere or covered by another window.
    void UpdateHotFromCursor();

    // Runs when the background is painted: true means the hook painted it.
    TToolBarCustomDrawEvent OnCustomDraw;
    // Runs before each button is drawn: true means the hook drew the button.
    TToolBarCustomDrawButtonEvent OnCustomDrawButton;

  protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& m) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    void FontChanged() override;

  private:
    friend class TToolButton;
    void AddButton(TToolButton* b);
    void RemoveButton(TToolButton* b);
    void ButtonChanged(TToolButton* b);
    void RebuildButtons();
    void LinkImageList(TCustomImageList*& field, TCustomImageList* list);
    void ApplyImages();
    void ApplySizes();
    void UpdateStyle();
    // Reads the system's layout back into the buttons' bounds; sizes the bar.
    void Relayout();
    TToolButton* FindButton(int commandId) const;
    LRESULT CustomDraw(NMTBCUSTOMDRAW& cd);
    void EraseBar(HDC dc);

    std::vector<TToolButton*> buttons_;
    TCustomImageList* images_ = nullptr;
    TCustomImageList* hotImages_ = nullptr;
    bool showCaptions_ = false;
    int buttonWidth_ = 23, buttonHeight_ = 22;
    bool flat_ = false, transparent_ = false, autoSize_ = false;
    TEdgeStyle edgeInner_ = esRaised, edgeOuter_ = esLowered;
    int nextCommandId_ = 1;
    bool rebuilding_ = false;
    std::vector<std::wstring> tipTexts_; // kept alive while a tooltip shows them
};
