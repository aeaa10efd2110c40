// The skinned frame of a window: a panel on the form that carries the
// window's style, title, border and title-bar settings. Until it draws the
// title bar itself the window keeps the system's frame, so the caption also
// goes to the form.
#pragma once

#include "skin/SUIFormFrame.h"
#include "skin/SUIStyleLink.h"

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TsuiForm;

enum TsuiTitleBarAlign { suiLeft, suiRight, suiClient };
enum TsuiTitleBarBtnType { suiMax, suiMin, suiClose, suiHelp, suiControlBox, suiCustom };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

const TEnumInfo& TitleBarAlignEnum();
const TEnumInfo& TitleBarBtnTypeEnum();
const TEnumInfo& BiDiModeEnum();

using TsuiTitleBarButtonClickEvent = std::function<void(TObject* Sender, int ButtonIndex)>;

// One button of the title bar, as a description stores it.
class TsuiTitleBarButton : public TObject {
  public:
    explicit TsuiTitleBarButton(TsuiForm* frame, TsuiTitleBarBtnType type = suiCustom)
        : frame_(frame), buttonType_(type) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    TsuiUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TsuiUIStyle v) { uiStyle_ = v; }
    TsuiTitleBarBtnType ButtonType() const { return buttonType_; }
    // A second control box is refused: the old type stays.
    void SetButtonType(TsuiTitleBarBtnType v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; }
    int Top() const { return top_; }
    void SetTop(int v) { top_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    TPopupMenu* ControlBoxMenu() const { return controlBoxMenu_; }
    void SetControlBoxMenu(TPopupMenu* v);

  private:
    friend class TsuiForm;
    TsuiForm* frame_;
    TsuiUIStyle uiStyle_ = TsuiUIStyle::DeepBlue;
    TsuiTitleBarBtnType buttonType_;
    bool transparent_ = false;
    int top_ = 2;
    bool visible_ = true;
    TPopupMenu* controlBoxMenu_ = nullptr;
};

// One picture band of the title bar; the pictures come from the style.
class TsuiTitleBarSection : public TObject {
  public:
    explicit TsuiTitleBarSection(TsuiForm* frame) : frame_(frame) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v) { autoSize_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    TsuiTitleBarAlign Align() const { return align_; }
    // A second client section is refused; a client section always stretches.
    void SetAlign(TsuiTitleBarAlign v);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v) { stretch_ = v; }

  private:
    TsuiForm* frame_;
    bool autoSize_ = false;
    int width_ = 10;
    TsuiTitleBarAlign align_ = suiLeft;
    bool stretch_ = false;
};

class TsuiForm : public TsuiStyled<TCustomPanel>, public IsuiFormFrame {
  public:
    // Raises EComponentError when the owner form already holds a TsuiForm.
    explicit TsuiForm(TComponent* owner);
    ~TsuiForm() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The form the frame was created on (nullptr for any other owner).
    TForm* OwnerForm() const { return ownerForm_; }

    TsuiUIStyle UIStyle() const override { return TsuiStyled::UIStyle(); }
    TsuiFileTheme* FileTheme() const override { return TsuiStyled::FileTheme(); }
    bool UIStyleAutoUpdateSub() const { return autoUpdateSub_; }
    void SetUIStyleAutoUpdateSub(bool v) { autoUpdateSub_ = v; }

    // The window title; the panel's own text stays blank.
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& v);
    TFont& CaptionFont() { return captionFont_; }

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v);
    // The frame's border round the window, not the panel's inner border.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    int RoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int v);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode v) { biDiMode_ = v; }

    bool TitleBarVisible() const { return titleBarVisible_; }
    void SetTitleBarVisible(bool v);
    bool TitleBarCustom() const { return titleBarCustom_; }
    void SetTitleBarCustom(bool v) { titleBarCustom_ = v; }
    bool TitleBarDrawAppIcon() const { return titleBarDrawAppIcon_; }
    void SetTitleBarDrawAppIcon(bool v) { titleBarDrawAppIcon_ = v; }
    int TitleBarButtonCount() const { return int(buttons_.size()); }
    TsuiTitleBarButton& TitleBarButtons(int index) const { return *buttons_.at(size_t(index)); }
    TsuiTitleBarButton& AddTitleBarButton(TsuiTitleBarBtnType type = suiCustom);
    void ClearTitleBarButtons() { buttons_.clear(); }
    int TitleBarSectionCount() const { return int(sections_.size()); }
    TsuiTitleBarSection& TitleBarSections(int index) const { return *sections_.at(size_t(index)); }
    TsuiTitleBarSection& AddTitleBarSection();
    void ClearTitleBarSections() { sections_.clear(); }

    // Refuses the frame itself with a message box; the value stays.
    TCustomPanel* FormPanel() const { return formPanel_; }
    void SetFormPanel(TCustomPanel* v);
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* v) override;
    void MenuChanged() override;
    TColor MenuBarColor() const { return menuBarColor_; }
    void SetMenuBarColor(TColor v) { menuBarColor_ = v; }
    int MenuBarHeight() const { return menuBarHeight_; }
    void SetMenuBarHeight(int v) { menuBarHeight_ = v; }
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* v);

    std::wstring Version() const { return L"4.20"; }
    void SetVersion(const std::wstring&) {}

    TsuiTitleBarButtonClickEvent OnTitleBarCustomBtnsClick;
    TNotifyEvent OnTitleBarHelpBtnClick;

  protected:
    void Notification(TComponent* component, TOperation operation) override;
    // Border, colour and menu-bar colour from the style; the sub-controls
    // too with UIStyleAutoUpdateSub.
    void ApplyStyle() override;
    // The sub-controls lose the theme as well, whatever UIStyleAutoUpdateSub says.
    void ThemeRemoved() override;

  private:
    friend class TsuiTitleBarButton;
    friend class TsuiTitleBarSection;

    TForm* ownerForm_ = nullptr;
    bool autoUpdateSub_ = false;
    std::wstring caption_;
    TFont captionFont_;
    TColor borderColor_ = clBlack;
    int borderWidth_ = 1;
    int roundCorner_ = 0;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool titleBarVisible_ = true;
    bool titleBarCustom_ = false;
    bool titleBarDrawAppIcon_ = false;
    std::vector<std::unique_ptr<TsuiTitleBarButton>> buttons_;
    std::vector<std::unique_ptr<TsuiTitleBarSection>> sections_;
    TCustomPanel* formPanel_ = nullptr;
    TMainMenu* menu_ = nullptr;
    TColor menuBarColor_ = clBtnFace;
    int menuBarHeight_ = 22;
    TPopupMenu* popupMenu_ = nullptr;
};
