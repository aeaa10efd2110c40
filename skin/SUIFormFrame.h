// The skinned frame of a window as the rest of the skin sees it: the style
// and theme that new controls on the window start with. The frame control
// implements it; the title bar and the menu bar meet the frame through it.
#pragma once

#include "skin/SUIThemeTables.h"

class TComponent;
class TMainMenu;
class TsuiFileTheme;

class IsuiFormFrame {
  public:
    virtual TsuiUIStyle UIStyle() const = 0;
    virtual TsuiFileTheme* FileTheme() const = 0;
    // The skinned main menu the frame's menu bar shows (not owned; nullptr:
    // none). A frame without a menu bar ignores it.
    virtual void SetMenu(TMainMenu*) {}
    // The menu's items, their captions or states, or its font changed.
    virtual void MenuChanged() {}
    // The window was designed sizeable and is not maximized now, so a size
    // grip on the frame may resize it.
    virtual bool SizeGripAllowed() const { return false; }

  protected:
    ~IsuiFormFrame() = default;
};

// The first direct child control of owner that is a frame; nullptr for a
// null owner, an owner that is no form, or a form without one.
IsuiFormFrame* FindFormFrame(const TComponent* owner);

// A property value the frame's parts refuse, shown as an error box.
void RefuseWithMessage(const std::wstring& text);
