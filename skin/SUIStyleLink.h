// What every skinned component keeps about its look: the style, the theme
// component it reads when the style is FromThemeFile, the removal link to
// that theme, and the component's own style step. A component holds one as a
// member, publishes UIStyle and FileTheme through it and passes its
// Notification on to it.
#pragma once

#include "skin/SUIMgr.h"
#include "skin/SUIThemes.h"

#include "framework/Component.h"

#include <functional>

class TsuiStyleLink {
  public:
    // When assigning FileTheme runs the style step again.
    enum class TThemeReapply {
        Always,        // every assignment, the same theme too: a reloaded file re-skins
        FromThemeFile, // only while the style reads the file
        WhenChanged,   // only for another theme
    };

    // apply is the owner's style step; none for a component that only keeps
    // the values for later.
    TsuiStyleLink(TComponent& owner, std::function<void()> apply,
                  TThemeReapply reapply = TThemeReapply::Always);
    ~TsuiStyleLink();
    TsuiStyleLink(const TsuiStyleLink&) = delete;
    TsuiStyleLink& operator=(const TsuiStyleLink&) = delete;

    TsuiUIStyle Style() const { return style_; }
    // Stores the style and runs the style step.
    void SetStyle(TsuiUIStyle style);
    TsuiFileTheme* FileTheme() const { return fileTheme_; }
    void SetFileTheme(TsuiFileTheme* theme);

    // The owner's Notification, passed on. When the theme goes away the
    // owner drops it, falls back to DeepBlue and restyles; true then.
    bool Notification(const TComponent* component, TOperation operation);

    // effective := the built-in style to read; true when the file theme is
    // read instead (FromThemeFile with a loaded theme).
    bool Resolve(TsuiUIStyle& effective) const;
    // One element of the current style, from wherever the style says.
    TColor Color(int element) const;
    int Int(int element) const;
    bool Bool(int element) const;
    // The whole picture with count 0, otherwise frame index (from 1) of count.
    void Bitmap(int element, TBitmap& target, int index = 0, int count = 0) const;

  private:
    void Apply() const {
        if (apply_) apply_();
    }

    TComponent& owner_;
    std::function<void()> apply_;
    TThemeReapply reapply_;
    TsuiUIStyle style_ = TsuiUIStyle::DeepBlue;
    TsuiFileTheme* fileTheme_ = nullptr;
};
