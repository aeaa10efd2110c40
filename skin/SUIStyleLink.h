// What every skinned component keeps about its look: the style, the theme
// component it reads when the style is FromThemeFile, the removal link to
// that theme, and the component's own style step. A component holds one as a
// member, publishes UIStyle and FileTheme through it and passes its
// Notification on to it.
#pragma once

#include "skin/SUIMgr.h"
#include "skin/SUIThemes.h"

#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/FormReader.h"

#include <functional>
#include <optional>
#include <type_traits>

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
    // Stores the style only; the owner runs its step itself.
    void StoreStyle(TsuiUIStyle style) {
        style_ = style;
        TrackArtwork();
    }
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
    // Counts the owner in as a user of the built-in style it reads, so that
    // style's artwork stays decoded while it is shown.
    void TrackArtwork() const;

    TComponent& owner_;
    std::function<void()> apply_;
    TThemeReapply reapply_;
    TsuiUIStyle style_ = TsuiUIStyle::DeepBlue;
    TsuiFileTheme* fileTheme_ = nullptr;
    mutable std::optional<TsuiUIStyle> artworkStyle_;
};

// FileTheme and UIStyle, published the same way by every skinned class:
// TClassBuilder<T>(...).With(PublishStyle<T>).
template <class T> void PublishStyle(TClassBuilder<T>& b) {
    b.Component(L"FileTheme", &T::FileTheme, &T::SetFileTheme)
        .Enum(L"UIStyle", &T::UIStyle, &T::SetUIStyle, UIStyleEnum());
}

namespace detail {
// Where a skinned control runs its owner's style when none was chosen: when
// it is first parented. A description parents a control before it applies
// the stored values, so those win.
template <class Base, bool = std::is_base_of_v<TControl, Base>> class TsuiStyleHost : public Base {
  protected:
    using Base::Base;
    virtual void PickUpOwnerStyle() = 0;
};

template <class Base> class TsuiStyleHost<Base, true> : public Base {
  public:
    void SetParent(TWinControl* parent) override {
        // Before the window is made, so that it is made in the style's colours.
        if (parent) PickUpOwnerStyle();
        Base::SetParent(parent);
    }

  protected:
    using Base::Base;
    virtual void PickUpOwnerStyle() = 0;
};
} // namespace detail

// A component whose look follows a style: UIStyle and FileTheme published
// through one link, removals passed on to it. The class itself states only
// its style step. No style step runs from here in a constructor: a component
// starts with its owner form's style stored, and a control runs it when first
// parented, unless a style was chosen for it before (a stored UIStyle, a call
// to SetUIStyle). A component that is never parented runs its own step by
// name in its constructor.
template <class Base> class TsuiStyled : public detail::TsuiStyleHost<Base>, public IsuiStyled {
  public:
    TsuiUIStyle UIStyle() const override { return link_.Style(); }
    // Stores the style and runs the style step.
    void SetUIStyle(TsuiUIStyle v) override {
        styleSet_ = true;
        link_.SetStyle(v);
    }
    TsuiFileTheme* FileTheme() const override { return link_.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* v) override { link_.SetFileTheme(v); }

  protected:
    explicit TsuiStyled(TComponent* owner,
                        TsuiStyleLink::TThemeReapply reapply = TsuiStyleLink::TThemeReapply::Always)
        : detail::TsuiStyleHost<Base>(owner), link_(
                                                  *this, [this] { ApplyStyle(); }, reapply) {
        link_.StoreStyle(GetOwnerFormStyle(owner));
    }

    // Reads the style's elements through StyleLink() and repaints.
    virtual void ApplyStyle() = 0;
    // After the theme went away and the style fell back to DeepBlue.
    virtual void ThemeRemoved() {}
    // The style taken when none was chosen.
    virtual TsuiUIStyle OwnerStyle() const { return GetOwnerFormStyle(this->Owner()); }
    const TsuiStyleLink& StyleLink() const { return link_; }

    // Runs the style step with OwnerStyle once, unless a style was set or
    // the description being read stores one, whose step then runs alone.
    void PickUpOwnerStyle() override {
        if (styleSet_ || DescriptionStores(*this, L"UIStyle")) return;
        styleSet_ = true;
        link_.SetStyle(OwnerStyle());
    }

    void Notification(TComponent* component, TOperation operation) override {
        detail::TsuiStyleHost<Base>::Notification(component, operation);
        if (!link_.Notification(component, operation)) return;
        styleSet_ = true;
        ThemeRemoved();
    }

  private:
    TsuiStyleLink link_;
    bool styleSet_ = false;
};
