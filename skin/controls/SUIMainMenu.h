// The skinned main menu: the popup menu's look, its own check-mark list, and
// a tie to the window frame whose menu bar shows it.
#pragma once

#include "skin/controls/SUIPopupMenu.h"

// A main menu shown by the window's skinned frame rather than by the system.
class TsuiMainMenu : public TsuiMenuSkin<TMainMenu> {
  public:
    explicit TsuiMainMenu(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // nullptr while the menu's own check-mark list stands in; nullptr
    // installs that list again.
    TImageList* Images() const;
    void SetImages(TImageList* images);
    TCustomImageList* ImageList() const;
    void SetImageList(TCustomImageList* list);

    // The frame shows the new font as well.
    void SetUseSystemFont(bool v) override;
    // The window frame whose menu bar shows this menu (nullptr: none).
    IsuiFormFrame* Frame() const { return frame_; }

  protected:
    const TImageList& CheckMarks() const override { return checkMarks_; }
    void Loaded() override;
    void MenuChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

  private:
    void AttachTo(IsuiFormFrame* frame);

    TImageList checkMarks_;
    IsuiFormFrame* frame_ = nullptr;
    TComponent* frameComponent_ = nullptr;
};
