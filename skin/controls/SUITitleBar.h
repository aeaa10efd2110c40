// The skinned title bar: picture sections from the style, buttons drawn from
// the style's button strip, the caption between them, dragging, double
// clicks and the title-bar menu. It sits at the top of a window's frame and
// also works on its own on any form.
#pragma once

#include "skin/SUIStyleLink.h"
#include "skin/controls/SUIPopupMenu.h"

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TsuiTitleBar;
class TTimer;

enum TsuiTitleBarAlign { suiLeft, suiRight, suiClient };
enum TsuiTitleBarBtnType { suiMax, suiMin, suiClose, suiHelp, suiControlBox, suiCustom };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

const TEnumInfo& TitleBarAlignEnum();
const TEnumInfo& TitleBarBtnTypeEnum();
const TEnumInfo& BiDiModeEnum();

using TsuiTitleBarButtonClickEvent = std::function<void(TObject* Sender, int ButtonIndex)>;

// String resources of the title-bar menu.
constexpr UINT SUI_TITLE_MENUITEM_MINIMIZE = 64800;
constexpr UINT SUI_TITLE_MENUITEM_MAXIMIZE = 64801;
constexpr UINT SUI_TITLE_MENUITEM_CLOSE = 64802;

// One button of the title bar with its three pictures.
class TsuiTitleBarButton : public TObject {
  public:
    explicit TsuiTitleBarButton(TsuiTitleBar* bar, TsuiTitleBarBtnType type = suiCustom);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiUIStyle UIStyle() const { return uiStyle_; }
    // Loads the pictures of the button's kind from the style.
    void SetUIStyle(TsuiUIStyle v);
    TsuiTitleBarBtnType ButtonType() const { return buttonType_; }
    // A second control box is refused with a message: the old type stays.
    void SetButtonType(TsuiTitleBarBtnType v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    int Top() const { return top_; }
    void SetTop(int v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    TPopupMenu* ControlBoxMenu() const { return controlBoxMenu_; }
    void SetControlBoxMenu(TPopupMenu* v);
    TPicture& PicNormal() { return picNormal_; }
    TPicture& PicMouseOn() { return picMouseOn_; }
    TPicture& PicMouseDown() { return picMouseDown_; }
    const TPicture& PicNormal() const { return picNormal_; }

    // What the button does when clicked: maximize or restore, minimize,
    // close, or drop the control-box menu. Nothing without a form.
    void Click();
    // The maximize button shows the restore glyph while the form is maximized.
    void UpdateMaxPictures();

  private:
    friend class TsuiTitleBar;
    // Pictures of the kind from frames of the style's button strip.
    void LoadArtwork();
    void Changed();

    TsuiTitleBar* bar_;
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    TsuiTitleBarBtnType buttonType_;
    bool transparent_ = false;
    int top_ = 2;
    bool visible_ = true;
    bool shownMaximized_ = false;
    TPopupMenu* controlBoxMenu_ = nullptr;
    TPicture picNormal_, picMouseOn_, picMouseDown_;
};

// One picture band of the title bar.
class TsuiTitleBarSection : public TObject {
  public:
    explicit TsuiTitleBarSection(TsuiTitleBar* bar);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // With AutoSize the picture's width.
    int Width() const { return width_; }
    void SetWidth(int v);
    TsuiTitleBarAlign Align() const { return align_; }
    // A second client section is refused with a message; a client section
    // always stretches.
    void SetAlign(TsuiTitleBarAlign v);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }

  private:
    void Changed();

    TsuiTitleBar* bar_;
    bool autoSize_ = false;
    int width_ = 10;
    TsuiTitleBarAlign align_ = suiLeft;
    bool stretch_ = false;
    TPicture picture_;
};

// Minimize, Maximize/Restore and Close, each enabled by a button of its kind.
class TsuiTitleBarPopupMenu : public TsuiPopupMenu {
  public:
    explicit TsuiTitleBarPopupMenu(TsuiTitleBar* bar);
    void Popup(int x, int y) override;

  private:
    TsuiTitleBar* bar_;
    TMenuItem* minimize_;
    TMenuItem* maximize_;
    TMenuItem* close_;
};

class TsuiTitleBar : public TsuiStyled<TCustomControl> {
  public:
    explicit TsuiTitleBar(TComponent* owner);
    ~TsuiTitleBar() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Custom keeps the sections and pictures the user set across styles.
    bool Custom() const { return custom_; }
    void SetCustom(bool v) { custom_ = v; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode v) { biDiMode_ = v; }
    int ButtonInterval() const { return buttonInterval_; }
    void SetButtonInterval(int v);
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& v);
    TFont& Font() { return font_; }
    bool FormActive() const { return formActive_; }
    void SetFormActive(bool v);
    int LeftBtnXOffset() const { return leftBtnXOffset_; }
    void SetLeftBtnXOffset(int v);
    int RightBtnXOffset() const { return rightBtnXOffset_; }
    void SetRightBtnXOffset(int v);
    bool DrawAppIcon() const { return drawAppIcon_; }
    void SetDrawAppIcon(bool v);
    int RoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int v);
    TColor OutlineColor() const { return outlineColor_; }

    int ButtonCount() const { return int(buttons_.size()); }
    TsuiTitleBarButton& Buttons(int index) const { return *buttons_.at(size_t(index)); }
    TsuiTitleBarButton& AddButton(TsuiTitleBarBtnType type = suiCustom);
    void ClearButtons();
    int SectionCount() const { return int(sections_.size()); }
    TsuiTitleBarSection& Sections(int index) const { return *sections_.at(size_t(index)); }
    TsuiTitleBarSection& AddSection();
    void ClearSections();

    TsuiTitleBarPopupMenu& SystemMenu() { return *systemMenu_; }
    // The control box's menu, or the title-bar menu, under the bar's left end.
    void ShowControlBoxMenu();

    // Where the buttons and the caption go at the bar's present width.
    struct TLayout {
        struct TButtonPlace {
            int index;
            RECT rect;
        };
        std::vector<TButtonPlace> buttons; // every visible button, control box included
        int captionLeft = 0;
        int captionRight = 0;
    };
    TLayout Layout() const;
    // The button under p (edges inclusive), or -1.
    int ButtonAt(POINT p) const;
    // The caption as painted: shortened with "..." to fit its space.
    std::wstring ShownCaption(TCanvas& canvas, int available) const;

    // After every resize of the form: the max/restore glyphs and the region.
    void FormResized();
    // Rounded top corners on the form the bar's frame sits on.
    void UpdateRegion();
    // The window's whole rectangle takes the mouse again, as when maximized.
    void DropRegion();
    // The form the bar belongs to (nullptr if none).
    TForm* Form() const;
    bool FormMaximized() const;

    TsuiTitleBarButtonClickEvent OnCustomBtnsClick;
    TNotifyEvent OnHelpBtnClick;

  protected:
    void ApplyStyle() override;
    void ThemeRemoved() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void WndProc(TMessage& m) override;
    void Notification(TComponent* component, TOperation operation) override;

  private:
    friend class TsuiTitleBarButton;
    friend class TsuiTitleBarSection;
    bool OnFrame() const;
    void DrawSections(TCanvas& canvas, int width, int height) const;
    void DrawButton(TCanvas& canvas, const TsuiTitleBarButton& button, const RECT& r,
                    bool hot) const;
    void ApplyAutoSize();
    void DoubleClickAt(POINT p);
    // The button the mouse is over (-1: none), repainted when it changes.
    void SetHot(int index);

    bool custom_ = false;
    bool autoSize_ = false;
    TBiDiMode biDiMode_ = bdLeftToRight;
    int buttonInterval_ = 0;
    std::wstring caption_;
    TFont font_;
    bool formActive_ = true;
    int leftBtnXOffset_ = 0;
    int rightBtnXOffset_ = 0;
    bool drawAppIcon_ = false;
    int roundCorner_ = 0;
    TColor outlineColor_ = clBlack;
    int captionBandTop_ = 0;
    int captionBandHeight_ = 0;
    bool pressed_ = false;
    int hot_ = -1;
    bool assigningTheme_ = false;
    std::vector<std::unique_ptr<TsuiTitleBarButton>> buttons_;
    std::vector<std::unique_ptr<TsuiTitleBarSection>> sections_;
    TsuiTitleBarPopupMenu* systemMenu_ = nullptr;
    TTimer* controlBoxTimer_ = nullptr;
    bool regionSet_ = false;
    RECT regionShape_{}; // width, height and corner of the region set
    TBitmap strip_;      // the style's button pictures, all 18
};
