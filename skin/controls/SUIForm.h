// The skinned frame of a window: a panel covering the form that takes the
// system's caption and border away and draws its own title bar, flat
// border and rounded corners, with moving, sizing, minimising, maximising
// and closing of its own, and an optional skinned menu bar.
#pragma once

#include "skin/SUIFormFrame.h"
#include "skin/SUIStyleLink.h"
#include "skin/controls/SUITitleBar.h"

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TsuiMenuBar;

class TsuiForm : public TsuiStyled<TCustomPanel>, public IsuiFormFrame {
  public:
    // Raises EComponentError when the owner form already holds a TsuiForm.
    explicit TsuiForm(TComponent* owner);
    ~TsuiForm() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // The form the frame was created on (nullptr for any other owner).
    TForm* OwnerForm() const { return ownerForm_; }
    TsuiTitleBar& TitleBar() const { return *titleBar_; }
    // nullptr while no menu is shown.
    TsuiMenuBar* MenuBar() const { return menuBar_; }

    TsuiUIStyle UIStyle() const override { return TsuiStyled::UIStyle(); }
    TsuiFileTheme* FileTheme() const override { return TsuiStyled::FileTheme(); }
    bool UIStyleAutoUpdateSub() const { return autoUpdateSub_; }
    void SetUIStyleAutoUpdateSub(bool v) { autoUpdateSub_ = v; }

    // The panel's size; writing it sizes the window round it.
    int FrameWidth() const { return Width(); }
    void SetFrameWidth(int v);
    int FrameHeight() const { return Height(); }
    void SetFrameHeight(int v);

    // The window title, drawn by the title bar and shown by the task bar.
    const std::wstring& Caption() const { return titleBar_->Caption(); }
    void SetCaption(const std::wstring& v);
    TFont& CaptionFont() { return titleBar_->Font(); }

    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor v);
    // The frame's border round the window, not the panel's inner border.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    int RoundCorner() const { return titleBar_->RoundCorner(); }
    void SetRoundCorner(int v) { titleBar_->SetRoundCorner(v); }
    TBiDiMode BiDiMode() const { return titleBar_->BiDiMode(); }
    void SetBiDiMode(TBiDiMode v) { titleBar_->SetBiDiMode(v); }

    bool TitleBarVisible() const { return titleBar_->Visible(); }
    void SetTitleBarVisible(bool v);
    bool TitleBarCustom() const { return titleBar_->Custom(); }
    void SetTitleBarCustom(bool v) { titleBar_->SetCustom(v); }
    bool TitleBarDrawAppIcon() const { return titleBar_->DrawAppIcon(); }
    void SetTitleBarDrawAppIcon(bool v) { titleBar_->SetDrawAppIcon(v); }
    int TitleBarButtonCount() const { return titleBar_->ButtonCount(); }
    TsuiTitleBarButton& TitleBarButtons(int index) const { return titleBar_->Buttons(index); }
    TsuiTitleBarButton& AddTitleBarButton(TsuiTitleBarBtnType type = suiCustom) {
        return titleBar_->AddButton(type);
    }
    void ClearTitleBarButtons() { titleBar_->ClearButtons(); }
    int TitleBarSectionCount() const { return titleBar_->SectionCount(); }
    TsuiTitleBarSection& TitleBarSections(int index) const { return titleBar_->Sections(index); }
    TsuiTitleBarSection& AddTitleBarSection() { return titleBar_->AddSection(); }
    void ClearTitleBarSections() { titleBar_->ClearSections(); }

    // Refuses the frame itself with a message box; the value stays.
    TCustomPanel* FormPanel() const { return formPanel_; }
    void SetFormPanel(TCustomPanel* v);
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* v) override;
    void MenuChanged() override;
    TColor MenuBarColor() const { return menuBarColor_; }
    void SetMenuBarColor(TColor v);
    int MenuBarHeight() const { return menuBarHeight_; }
    void SetMenuBarHeight(int v);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* v);

    std::wstring Version() const { return L"4.20"; }
    void SetVersion(const std::wstring&) {}

    bool SizeGripAllowed() const override;
    // Places the panel in the form and paints the border round it.
    void LayoutInForm();
    // On dc, or on the form's window when none is given.
    void PaintBorder(HDC dc = nullptr);

    TsuiTitleBarButtonClickEvent OnTitleBarCustomBtnsClick;
    TNotifyEvent OnTitleBarHelpBtnClick;

  protected:
    void Notification(TComponent* component, TOperation operation) override;
    // Border, colour and menu-bar colour from the style; the title bar, the
    // menu and, with UIStyleAutoUpdateSub, the controls inside follow.
    void ApplyStyle() override;
    // The sub-controls lose the theme as well, whatever UIStyleAutoUpdateSub says.
    void ThemeRemoved() override;
    void Paint() override;
    void Loaded() override;
    void CreateHandleDone() override;

  private:
    // Runs after the form's own procedure for every message of the form.
    void OwnerWndProc(TMessage& m);
    // The window's resize zone under a point of the form's client area.
    LRESULT ResizeZone(POINT p) const;
    // What a growing window shows before its controls are laid out anew.
    void CoverGrownArea();
    bool OfferShortCut(const MSG& msg) const;
    void UpdateMenuBar();

    TForm* ownerForm_ = nullptr;
    TsuiTitleBar* titleBar_ = nullptr;
    TsuiMenuBar* menuBar_ = nullptr;
    TWndMethod previousProc_;
    TFormBorderStyle initialBorderStyle_ = bsSizeable;
    RECT creationBounds_{};
    bool startedMaximized_ = false;
    std::unique_ptr<TScopedMessageHook> keyHook_;
    bool autoUpdateSub_ = false;
    TColor borderColor_ = clBlack;
    int borderWidth_ = 1;
    TCustomPanel* formPanel_ = nullptr;
    TMainMenu* menu_ = nullptr;
    TColor menuBarColor_ = clBtnFace;
    int menuBarHeight_ = 22;
    TPopupMenu* popupMenu_ = nullptr;
};
