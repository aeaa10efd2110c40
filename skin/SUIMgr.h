// Theme files as components: TsuiFileThemeMgr answers element queries from
// the parsed file, TsuiFileTheme is what skinned controls point their
// FileTheme at.
#pragma once

#include "skin/SUIThemeFile.h"

#include "framework/Component.h"
#include "framework/Graphics.h"

#include <string>

// Element numbers to keys, over the current theme. A failed load keeps the
// theme it had.
class TsuiFileThemeMgr {
  public:
    // false when the file is missing or malformed; the previous theme stays.
    bool Load(const std::wstring& fileName);
    bool HasTheme() const { return slot_.HasTheme(); }

    // Loads graphic from the element's image; a theme without that image, or
    // an image the bitmap reader refuses, leaves graphic as it was.
    void GetImage(int element, TBitmap& graphic) const;
    // Without a theme: false and 0; a key the file lacks: false and -1.
    bool GetBool(int element) const { return slot_.GetBool(element); }
    TColor GetColor(int element) const { return slot_.GetColor(element); }
    int GetInt(int element) const { return slot_.GetInt(element); }

  private:
    ThemeFileSlot slot_;
};

class TsuiFileTheme : public TComponent {
  public:
    explicit TsuiFileTheme(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    const std::wstring& ThemeFile() const { return themeFile_; }
    // An unchanged value does nothing. A bare name that is not found here is
    // looked for beside the executable. On a successful load the controls
    // of the owner form that refer to this theme get it assigned again; a
    // missing or malformed file keeps the path and the theme as they were.
    void SetThemeFile(const std::wstring& value);
    bool IsLoaded() const { return loaded_; }

    void GetBitmap(int element, TBitmap& graphic) const { mgr_.GetImage(element, graphic); }
    // Frame index (from 1) of count; graphic stays as it was without the image.
    void GetBitmapFrame(int element, TBitmap& graphic, int index, int count) const;
    bool GetBool(int element) const { return mgr_.GetBool(element); }
    TColor GetColor(int element) const { return mgr_.GetColor(element); }
    int GetInt(int element) const { return mgr_.GetInt(element); }

  private:
    void ReassignToControls();

    std::wstring themeFile_;
    TsuiFileThemeMgr mgr_;
    bool loaded_ = false;
};

// effective := style; true only for FromThemeFile with a loaded file theme,
// in which case the caller reads the element from fileTheme. FromThemeFile
// without one gives false and effective DeepBlue.
bool ResolveThemeSource(const TsuiFileTheme* fileTheme, TsuiUIStyle style, TsuiUIStyle& effective);
