#include "skin/SUIMgr.h"

#include "skin/SUIThemes.h"

#include "framework/Forms.h"
#include "framework/Utils.h"

#include <filesystem>

// ---------------------------------------------------------------------------
// TsuiFileThemeMgr

bool TsuiFileThemeMgr::Load(const std::wstring& fileName) {
    return slot_.LoadFile(std::filesystem::path(fileName));
}

void TsuiFileThemeMgr::GetImage(int element, TBitmap& graphic) const {
    auto image = slot_.GetImage(element);
    if (!image) return;
    try {
        graphic.LoadFromBytes(*image);
    } catch (const EGraphicError&) {
        // A broken picture in a theme must not stop a control from painting;
        // it keeps the picture it had, as for a missing one.
    }
}

// ---------------------------------------------------------------------------
// TsuiFileTheme

const TClassInfo& TsuiFileTheme::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiFileTheme>(L"TsuiFileTheme", &TComponent::StaticClass())
            .Property(L"ThemeFile", &TsuiFileTheme::ThemeFile, &TsuiFileTheme::SetThemeFile)
            .Build();
    return info;
}

TsuiFileTheme::TsuiFileTheme(TComponent* owner) : TComponent(owner) {}

void TsuiFileTheme::SetThemeFile(const std::wstring& value) {
    if (value == themeFile_) return;
    auto found =
        ResolveThemeFilePath(std::filesystem::path(value), std::filesystem::path(ExeDirectory()));
    if (!found) return;
    // Parsed into a new reader first: a malformed file changes nothing.
    if (!mgr_.Load(found->wstring())) return;
    themeFile_ = found->wstring();
    loaded_ = true;
    ReassignToControls();
}

void TsuiFileTheme::GetBitmapFrame(int element, TBitmap& graphic, int index, int count) const {
    TBitmap whole;
    mgr_.GetImage(element, whole);
    if (whole.Empty()) return;
    ExtractBitmapFrame(whole, graphic, count, index);
}

void TsuiFileTheme::ReassignToControls() {
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form) return;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* skinned = dynamic_cast<IsuiStyled*>(form->Components(i));
        // Setters that re-apply unconditionally re-skin from the new file.
        if (skinned && skinned->FileTheme() == this) skinned->SetFileTheme(this);
    }
}

bool ResolveThemeSource(const TsuiFileTheme* fileTheme, TsuiUIStyle style, TsuiUIStyle& effective) {
    return ChooseThemeSource(fileTheme && fileTheme->IsLoaded(), style, effective);
}
