#pragma once

// The common file dialogs. Execute goes through the modal seam first, so a
// test hook can answer it (setting the file name) instead of a person.

#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/ModalHook.h"

#include <commdlg.h>

#include <string>

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

const TEnumInfo& OpenOptionsEnum();

class TOpenDialog : public TComponent {
  public:
    explicit TOpenDialog(TComponent* owner);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& s) { fileName_ = s; }
    // Without a dot: "xls".
    const std::wstring& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::wstring& s);
    // "Excel files (*.xls)|*.xls|All files (*.*)|*.*"
    const std::wstring& Filter() const { return filter_; }
    void SetFilter(const std::wstring& s) { filter_ = s; }
    // 1-based, as the system counts.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int i) { filterIndex_ = i; }
    const std::wstring& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::wstring& s) { initialDir_ = s; }
    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& s) { title_ = s; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions o) { options_ = o; }

    // True if the user chose a file (FileName then holds it).
    virtual bool Execute();

    // The filter with '|' turned into the NUL separators the system wants.
    static std::wstring SystemFilter(const std::wstring& filter);
    // The name with DefaultExt added when it has no extension of its own.
    std::wstring WithDefaultExt(const std::wstring& name) const;
    // The same with the extension of the filter at filterIndex when that
    // filter names one ("*.xlsx"), as the system dialog does.
    std::wstring WithFilterExt(const std::wstring& name, int filterIndex) const;

  protected:
    virtual TModalKind Kind() const { return TModalKind::OpenDialog; }
    virtual bool RunSystemDialog(OPENFILENAMEW& ofn);
    DWORD SystemFlags() const;

  private:
    std::wstring fileName_;
    std::wstring defaultExt_;
    std::wstring filter_;
    int filterIndex_ = 1;
    std::wstring initialDir_;
    std::wstring title_;
    TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
};

// The save dialog. Without ofOverwritePrompt (the default) choosing an
// existing file is not questioned: the caller decides about replacing it.
class TSaveDialog : public TOpenDialog {
  public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

  protected:
    TModalKind Kind() const override { return TModalKind::SaveDialog; }
    bool RunSystemDialog(OPENFILENAMEW& ofn) override;
};
