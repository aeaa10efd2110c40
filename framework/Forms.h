#pragma once

// Forms (top-level windows, modal or not, built from their description) and
// the application object with the message loop.

#include "framework/Controls.h"
#include "framework/ModalHook.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

const TEnumInfo& BorderIconsEnum();
const TEnumInfo& WindowStateEnum();
const TEnumInfo& PositionEnum();

class TForm : public TCustomControl {
  public:
    // A form without a description; derived forms call LoadDescription at the
    // end of their constructor.
    explicit TForm(TComponent* owner);
    ~TForm() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Applies the description in the RCDATA resource of that name, then OnCreate.
    void LoadDescription(std::wstring_view resourceName);
    // The same from a text (tests, tools).
    void LoadDescriptionText(std::wstring_view text, std::wstring_view sourceName);

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition p) { position_ = p; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState s);
    // Stored by descriptions; we never scale to the screen font nor scroll a
    // form, so they only keep their value.
    bool Scaled() const { return scaled_; }
    void SetScaled(bool v) { scaled_ = v; }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool v) { autoScroll_ = v; }
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* c);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult r) { modalResult_ = r; }
    bool Modal() const { return modal_; }
    // The window is the active one of the application.
    bool Active() const { return active_; }

    void SetVisible(bool v) override;
    void SetClientWidth(int v) override;
    void SetClientHeight(int v) override;
    RECT ClientRect() const override;
    POINT ClientOrigin() const override;

    // Runs a nested message loop until ModalResult is set; the other windows of
    // the program are disabled meanwhile. Closing by the title bar gives mrCancel.
    TModalResult ShowModal();
    // Asks OnCloseQuery and OnClose; a modal form just gets mrCancel.
    void Close();
    // Frees the form once the current message is done.
    void Release();
    virtual bool CloseQuery();
    void BringToFrontWindow();

    // Focus bookkeeping (called by the controls).
    void SetFocusedControl(TWinControl* c);
    void ControlRemoved(TControl* c);
    void FocusFirst();

    bool DialogKey(WORD key, TShiftState shift) override;
    // Offered every key going down in the form before the focused control
    // sees it (and before it becomes a character): true = consumed. A form
    // with keys of its own overrides it.
    virtual bool IsShortCut(WORD key, TShiftState shift);
    void Loaded() override;
    void BeforeDestruction() override;

    // The work area of the monitor holding a rectangle of the screen; tests
    // put in a smaller screen.
    static RECT (*MonitorWorkArea)(const RECT& bounds);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

  protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    void DoShow();
    void DoHide();
    virtual void DoClose(TCloseAction& action);

  private:
    friend class TWinControl;
    DWORD WindowStyle() const;
    DWORD WindowExStyle() const;
    SIZE NonClientSize() const;
    void ApplyPosition();
    void UpdateWindowStyle();
    void CloseModal();
    void SendFocusChanged(TWinControl* c);

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    bool scaled_ = true;
    bool autoScroll_ = false;
    TWinControl* activeControl_ = nullptr;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool active_ = false;
    bool shownOnce_ = false;
    bool destroyed_ = false;
    int wantedClientWidth_ = -1;
    int wantedClientHeight_ = -1;
    bool showAfterLoading_ = false;
};

class TApplication : public TComponent {
  public:
    TApplication();
    ~TApplication() override;
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }

    // Common controls, the framework's classes.
    void Initialize();
    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& t) { title_ = t; }

    // Creates a form owned by the application; the first becomes MainForm.
    template <class T> void CreateForm(T*& ref) {
        ref = new T(this);
        if (!mainForm_) mainForm_ = ref;
    }
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* f) { mainForm_ = f; }

    // Shows the main form and runs the message loop until it closes.
    void Run();
    // Handles every waiting message, then returns.
    void ProcessMessages();
    // Handles one message, waiting for it if none is there.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The general error report: OnException if set, else the standard error box
    // (MB_ICONERROR, the exception's text, the title as caption). The program goes on.
    void HandleException(TObject* sender, const std::exception& e);
    void ShowException(const std::exception& e);

    bool Active() const { return active_; }
    // The icon "MAINICON" of the executable, or nullptr.
    HICON Icon() const;

    // Routes a key message of the loop: Tab, arrows, Enter, Escape and
    // accelerators go to the form of the focused control. True = consumed.
    bool IsKeyMsg(MSG& msg);

    std::function<void(MSG& Msg, bool& Handled)> OnMessage;
    std::function<void(TObject* Sender, const std::exception& E)> OnException;
    std::function<void(TObject* Sender, bool& Done)> OnIdle;

  protected:
    void Notification(TComponent* component, TOperation operation) override;

  private:
    friend class TForm;
    bool ProcessMessage(MSG& msg);
    void Idle();
    void FreePendingForms();

    std::wstring title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool active_ = false;
    bool initialized_ = false;
    std::vector<TForm*> pendingFree_; // released forms, freed after the current message
};

// The program's application object.
extern TApplication* Application;

// Puts a handler in front of Application->OnMessage while it lives; the one
// that was there runs after it for the messages it leaves unhandled. At the
// end it puts that one back only if its own is still installed; when another
// has been chained over it since, it just stops handling, so neither the
// later handler nor the earlier one is lost.
class TScopedMessageHook {
  public:
    using THandler = std::function<void(MSG& Msg, bool& Handled)>;
    explicit TScopedMessageHook(THandler handler);
    TScopedMessageHook(const TScopedMessageHook&) = delete;
    TScopedMessageHook& operator=(const TScopedMessageHook&) = delete;
    ~TScopedMessageHook();

  private:
    struct TLink;
    struct TChain;
    std::shared_ptr<TLink> link_;
};
