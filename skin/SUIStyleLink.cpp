#include "skin/SUIStyleLink.h"

TsuiStyleLink::TsuiStyleLink(TComponent& owner, std::function<void()> apply, TThemeReapply reapply)
    : owner_(owner), apply_(std::move(apply)), reapply_(reapply) {
    TrackArtwork();
}

TsuiStyleLink::~TsuiStyleLink() {
    if (fileTheme_) fileTheme_->RemoveFreeNotification(&owner_);
    if (artworkStyle_) ReleaseBuiltInStyleArtwork(*artworkStyle_);
}

void TsuiStyleLink::TrackArtwork() const {
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    std::optional<TsuiUIStyle> reads;
    if (!Resolve(effective)) reads = effective;
    if (reads == artworkStyle_) return;
    // The new style first: a style kept is not dropped in between.
    if (reads) UseBuiltInStyleArtwork(*reads);
    if (artworkStyle_) ReleaseBuiltInStyleArtwork(*artworkStyle_);
    artworkStyle_ = reads;
}

void TsuiStyleLink::SetStyle(TsuiUIStyle style) {
    style_ = style;
    TrackArtwork();
    Apply();
}

void TsuiStyleLink::SetFileTheme(TsuiFileTheme* theme) {
    const bool changed = theme != fileTheme_;
    if (changed) {
        if (fileTheme_) fileTheme_->RemoveFreeNotification(&owner_);
        fileTheme_ = theme;
        // A theme of another owner tells us directly; one of ours through the owner.
        if (fileTheme_) fileTheme_->FreeNotification(&owner_);
        TrackArtwork();
    }
    switch (reapply_) {
    case TThemeReapply::Always:
        Apply();
        break;
    case TThemeReapply::FromThemeFile:
        if (style_ == TsuiUIStyle::FromThemeFile) Apply();
        break;
    case TThemeReapply::WhenChanged:
        if (changed) Apply();
        break;
    }
}

bool TsuiStyleLink::Notification(const TComponent* component, TOperation operation) {
    if (operation != TOperation::opRemove || !fileTheme_ || component != fileTheme_) return false;
    fileTheme_ = nullptr;
    style_ = TsuiUIStyle::DeepBlue;
    TrackArtwork();
    Apply();
    return true;
}

bool TsuiStyleLink::Resolve(TsuiUIStyle& effective) const {
    return ResolveThemeSource(fileTheme_, style_, effective);
}

TColor TsuiStyleLink::Color(int element) const {
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    if (Resolve(effective)) return fileTheme_->GetColor(element);
    return GetBuiltInThemeColor(effective, element);
}

int TsuiStyleLink::Int(int element) const {
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    if (Resolve(effective)) return fileTheme_->GetInt(element);
    return GetBuiltInThemeInt(effective, element);
}

bool TsuiStyleLink::Bool(int element) const {
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    if (Resolve(effective)) return fileTheme_->GetBool(element);
    return GetBuiltInThemeBool(effective, element);
}

void TsuiStyleLink::Bitmap(int element, TBitmap& target, int index, int count) const {
    TrackArtwork(); // a theme file loaded or cleared since
    TsuiUIStyle effective = TsuiUIStyle::DeepBlue;
    if (!Resolve(effective)) {
        GetBuiltInThemeBitmap(effective, element, &target, index, count);
    } else if (count == 0) {
        fileTheme_->GetBitmap(element, target);
    } else {
        fileTheme_->GetBitmapFrame(element, target, index, count);
    }
}
