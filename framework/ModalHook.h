#pragma once

// One seam for every modal window the program starts: our own forms run by
// ShowModal, the standard message box, the common file dialogs. Tests install
// a hook that answers each one, so nothing ever waits for a person.

#include <windows.h>

#include <functional>
#include <string>

class TForm;

enum class TModalKind { Form, MessageBox, SaveDialog, OpenDialog, Other };

struct TModalRequest {
    TModalKind kind = TModalKind::Other;
    // Form: the form, already shown, its loop running. The hook answers by
    // setting its ModalResult (or clicking one of its buttons).
    TForm* form = nullptr;
    // MessageBox: text, caption and MB_* flags; the hook sets result (IDOK, ...).
    std::wstring text;
    std::wstring caption;
    UINT flags = 0;
    // File dialogs: proposed name, filter, default extension, initial folder and
    // title; the hook sets fileName and result (nonzero = accepted).
    std::wstring fileName;
    std::wstring filter;
    std::wstring defaultExt;
    std::wstring initialDir;
    std::wstring title;
    // File dialogs: the filter shown (1-based); the hook may pick another,
    // whose extension a name without one then gets, as in the real dialog.
    int filterIndex = 1;
    HWND owner = nullptr;
    // For system windows: the hook sets answered (and result); the real window
    // is then not shown. Our forms need no such flag.
    bool answered = false;
    int result = 0;
};

using TModalHook = std::function<void(TModalRequest&)>;

// Installs hook (empty: none) and returns the previous one.
TModalHook SetModalHook(TModalHook hook);

// Called by the code that starts a modal window. For system windows it
// returns true when the hook answered, and the caller then skips the window.
bool NotifyModalStarted(TModalRequest& request);

// Installs a hook for one scope and puts the previous one back.
class TScopedModalHook {
  public:
    explicit TScopedModalHook(TModalHook hook) : previous_(SetModalHook(std::move(hook))) {}
    TScopedModalHook(const TScopedModalHook&) = delete;
    TScopedModalHook& operator=(const TScopedModalHook&) = delete;
    ~TScopedModalHook() { SetModalHook(std::move(previous_)); }

  private:
    TModalHook previous_;
};
