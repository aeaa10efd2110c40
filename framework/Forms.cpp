#include "framework/Forms.h"

#include "framework/Callbacks.h"
#include "framework/FormReader.h"
#include "framework/Utils.h"

#include <algorithm>

namespace {

BOOL CALLBACK CollectThreadWindow(HWND wnd, LPARAM list) {
    return GuardedCall(nullptr, FALSE, [=] {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
        return TRUE;
    });
}

TApplication& DefaultApplication() {
    static TApplication app;
    return app;
}

} // namespace

TApplication* Application = &DefaultApplication();

const TEnumInfo& BorderIconsEnum() {
    static const TEnumInfo e = MakeEnum(L"TBorderIcons", {{L"biSystemMenu", biSystemMenu},
                                                          {L"biMinimize", biMinimize},
                                                          {L"biMaximize", biMaximize},
                                                          {L"biHelp", biHelp}});
    return e;
}
const TEnumInfo& WindowStateEnum() {
    static const TEnumInfo e = MakeEnum(
        L"TWindowState",
        {{L"wsNormal", wsNormal}, {L"wsMinimized", wsMinimized}, {L"wsMaximized", wsMaximized}});
    return e;
}
const TEnumInfo& PositionEnum() {
    static const TEnumInfo e = MakeEnum(L"TPosition", {{L"poDesigned", poDesigned},
                                                       {L"poDefault", poDefault},
                                                       {L"poDefaultPosOnly", poDefaultPosOnly},
                                                       {L"poDefaultSizeOnly", poDefaultSizeOnly},
                                                       {L"poScreenCenter", poScreenCenter},
                                                       {L"poDesktopCenter", poDesktopCenter},
                                                       {L"poMainFormCenter", poMainFormCenter},
                                                       {L"poOwnerFormCenter", poOwnerFormCenter}});
    return e;
}

// ---------------------------------------------------------------------------
// TForm

const TClassInfo& TForm::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TForm>(L"TForm", &TCustomControl::StaticClass())
            .Enum(L"BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle,
                  FormBorderStyleEnum())
            .Set(L"BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons, BorderIconsEnum())
            .Enum(L"Position", &TForm::Position, &TForm::SetPosition, PositionEnum())
            .Enum(L"WindowState", &TForm::WindowState, &TForm::SetWindowState, WindowStateEnum())
            .Property(L"KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview)
            .Property(L"Scaled", &TForm::Scaled, &TForm::SetScaled)
            .Property(L"AutoScroll", &TForm::AutoScroll, &TForm::SetAutoScroll)
            .Component(L"ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl)
            .Property(L"ModalResult", &TForm::ModalResult, &TForm::SetModalResult)
            .Event(L"OnCreate", &TForm::OnCreate)
            .Event(L"OnDestroy", &TForm::OnDestroy)
            .Event(L"OnShow", &TForm::OnShow)
            .Event(L"OnHide", &TForm::OnHide)
            .Event(L"OnClose", &TForm::OnClose)
            .Event(L"OnCloseQuery", &TForm::OnCloseQuery)
            .Event(L"OnActivate", &TForm::OnActivate)
            .Event(L"OnDeactivate", &TForm::OnDeactivate)
            .Build();
    return info;
}

TForm::TForm(TComponent* owner) : TCustomControl(owner) {
    TControl::SetVisible(false);
    SetControlStyle(
        TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks});
    SetParentFont(false);
    SetColor(clBtnFace);
    SetBounds(100, 100, 320, 240);
}

TForm::~TForm() {
    MarkDestroying();
    DestroyHandle();
    if (Application) {
        auto& pending = Application->pendingFree_;
        pending.erase(std::remove(pending.begin(), pending.end(), this), pending.end());
        if (Application->mainForm_ == this) Application->mainForm_ = nullptr;
    }
}

void TForm::BeforeDestruction() {
    if (destroyed_) return;
    destroyed_ = true;
    MarkDestroying();
    if (OnDestroy) GuardedCall(this, [this] { OnDestroy(this); });
    // The window goes while the whole form still answers its messages.
    DestroyHandle();
}

void TForm::LoadDescription(std::wstring_view resourceName) {
    ReadComponentResource(*this, resourceName);
    if (OnCreate) OnCreate(this);
    if (showAfterLoading_) {
        showAfterLoading_ = false;
        Show();
    }
}

void TForm::LoadDescriptionText(std::wstring_view text, std::wstring_view sourceName) {
    ReadComponentText(*this, text, sourceName);
    if (OnCreate) OnCreate(this);
    if (showAfterLoading_) {
        showAfterLoading_ = false;
        Show();
    }
}

DWORD TForm::WindowStyle() const {
    DWORD s = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    switch (borderStyle_) {
    case bsNone:
        s |= WS_POPUP;
        break;
    case bsSingle:
        s |= WS_CAPTION;
        break;
    case bsSizeable:
        s |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        s |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        break;
    case bsToolWindow:
        s |= WS_CAPTION;
        break;
    case bsSizeToolWin:
        s |= WS_CAPTION | WS_THICKFRAME;
        break;
    }
    // A window without a frame keeps the bits the task bar needs to
    // minimise and restore it.
    if (borderStyle_ == bsNone && borderIcons_.Contains(biSystemMenu)) {
        s |= WS_SYSMENU;
        if (borderIcons_.Contains(biMinimize)) s |= WS_MINIMIZEBOX;
        if (borderIcons_.Contains(biMaximize)) s |= WS_MAXIMIZEBOX;
    }
    if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
        s |= WS_SYSMENU;
        if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
            if (borderIcons_.Contains(biMinimize)) s |= WS_MINIMIZEBOX;
            if (borderIcons_.Contains(biMaximize)) s |= WS_MAXIMIZEBOX;
        }
    }
    return s;
}

DWORD TForm::WindowExStyle() const {
    DWORD s = 0;
    if (borderStyle_ == bsDialog) s |= WS_EX_DLGMODALFRAME;
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) s |= WS_EX_TOOLWINDOW;
    if (borderStyle_ == bsDialog && borderIcons_.Contains(biHelp)) s |= WS_EX_CONTEXTHELP;
    return s;
}

void TForm::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WindowStyle();
    p.ExStyle = WindowExStyle();
    p.WndParent = nullptr;
    // Secondary windows belong to the main window, so they stay above it.
    if (Application && Application->MainForm() && Application->MainForm() != this &&
        Application->MainForm()->HandleAllocated())
        p.WndParent = Application->MainForm()->Handle();
}

SIZE TForm::NonClientSize() const {
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, WindowStyle(), FALSE, WindowExStyle());
    return {r.right - r.left, r.bottom - r.top};
}

RECT TForm::ClientRect() const {
    if (HandleAllocated()) return TCustomControl::ClientRect();
    SIZE nc = NonClientSize();
    return {0, 0, std::max<int>(0, Width() - nc.cx), std::max<int>(0, Height() - nc.cy)};
}

POINT TForm::ClientOrigin() const {
    if (HandleAllocated()) return TCustomControl::ClientOrigin();
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, WindowStyle(), FALSE, WindowExStyle());
    return {Left() - r.left, Top() - r.top};
}

void TForm::SetClientWidth(int v) {
    // Stored before the border style perhaps: applied once the whole description is in.
    if (Loading()) {
        wantedClientWidth_ = v;
        return;
    }
    TCustomControl::SetClientWidth(v);
}

void TForm::SetClientHeight(int v) {
    if (Loading()) {
        wantedClientHeight_ = v;
        return;
    }
    TCustomControl::SetClientHeight(v);
}

void TForm::Loaded() {
    SetLoading(false);
    if (wantedClientWidth_ >= 0) SetClientWidth(std::exchange(wantedClientWidth_, -1));
    if (wantedClientHeight_ >= 0) SetClientHeight(std::exchange(wantedClientHeight_, -1));
    TCustomControl::Loaded();
}

void TForm::UpdateWindowStyle() {
    if (!HandleAllocated()) return;
    HWND h = Handle();
    LONG_PTR keep =
        GetWindowLongPtrW(h, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MAXIMIZE | WS_MINIMIZE);
    SetWindowLongPtrW(h, GWL_STYLE, keep | LONG_PTR(WindowStyle()));
    SetWindowLongPtrW(h, GWL_EXSTYLE, LONG_PTR(WindowExStyle()));
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetBorderStyle(TFormBorderStyle s) {
    if (s == borderStyle_) return;
    borderStyle_ = s;
    UpdateWindowStyle();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == borderIcons_) return;
    borderIcons_ = icons;
    UpdateWindowStyle();
}

TWindowState TForm::WindowState() const {
    if (HandleAllocated() && IsWindowVisible(const_cast<TForm*>(this)->Handle())) {
        HWND h = const_cast<TForm*>(this)->Handle();
        if (IsZoomed(h)) return wsMaximized;
        if (IsIconic(h)) return wsMinimized;
        return wsNormal;
    }
    return windowState_;
}

void TForm::SetWindowState(TWindowState s) {
    windowState_ = s;
    if (HandleAllocated() && IsWindowVisible(Handle()))
        ShowWindow(Handle(), s == wsMaximized   ? SW_MAXIMIZE
                             : s == wsMinimized ? SW_MINIMIZE
                                                : SW_RESTORE);
}

void TForm::SetActiveControl(TWinControl* c) {
    if (c && !ContainsControl(c))
        throw EInvalidOperation(L"Invalid ActiveControl: " + c->Name() + L" is not on " + Name());
    activeControl_ = c;
    if (c && !Loading() && HandleAllocated() && IsWindowVisible(Handle()) && c->CanFocus())
        ::SetFocus(c->Handle());
}

void TForm::SetFocusedControl(TWinControl* c) {
    if (c == activeControl_) return;
    activeControl_ = c;
    SendFocusChanged(c);
}

void TForm::SendFocusChanged(TWinControl* c) {
    std::function<void(TWinControl*)> walk = [&](TWinControl* w) {
        for (int i = 0; i < w->ControlCount(); ++i) {
            TControl* child = w->Controls(i);
            child->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(c));
            if (auto* cw = dynamic_cast<TWinControl*>(child)) walk(cw);
        }
    };
    walk(this);
}

void TForm::ControlRemoved(TControl* c) {
    if (!activeControl_) return;
    auto* w = dynamic_cast<TWinControl*>(c);
    if (activeControl_ == c || (w && w->ContainsControl(activeControl_))) activeControl_ = nullptr;
}

void TForm::FocusFirst() {
    if (activeControl_ && activeControl_->CanFocus()) {
        ::SetFocus(activeControl_->Handle());
        return;
    }
    if (TWinControl* c = FindNextControl(nullptr, true, true)) {
        ::SetFocus(c->Handle());
        return;
    }
    ::SetFocus(Handle());
}

namespace {

RECT WorkAreaAround(const RECT& bounds) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

} // namespace

RECT (*TForm::MonitorWorkArea)(const RECT& bounds) = WorkAreaAround;

void TForm::ApplyPosition() {
    // Centred as stored, but never with the title bar off the work area: on a
    // small or scaled screen a window taller than the work area would open
    // with its caption, and the buttons that move and close it, out of reach.
    // One larger than the work area starts at its top-left corner.
    auto centreIn = [this](RECT area) {
        RECT r{area.left + (area.right - area.left - Width()) / 2,
               area.top + (area.bottom - area.top - Height()) / 2, 0, 0};
        r.right = r.left + Width();
        r.bottom = r.top + Height();
        const RECT work = MonitorWorkArea(r);
        const LONG left = std::max(work.left, std::min(r.left, work.right - Width()));
        const LONG top = std::max(work.top, std::min(r.top, work.bottom - Height()));
        SetBounds(left, top, Width(), Height());
    };
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
        centreIn(screen);
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TForm* main = Application ? Application->MainForm() : nullptr;
        if (main && main != this && main->Visible())
            centreIn(main->BoundsRect());
        else
            centreIn(screen);
        break;
    }
    default:
        break;
    }
}

void TForm::SetVisible(bool v) {
    if (Loading()) {
        showAfterLoading_ = v;
        return;
    }
    bool windowVisible = HandleAllocated() && IsWindowVisible(Handle());
    if (v == Visible() && v == windowVisible) return;
    if (v) {
        HandleNeeded();
        ApplyPosition();
        TControl::SetVisible(true);
        DoShow(); // before the window appears, so it shows the prepared state
        if (Destroying() || !HandleAllocated()) return;
        int cmd = windowState_ == wsMaximized   ? SW_SHOWMAXIMIZED
                  : windowState_ == wsMinimized ? SW_SHOWMINIMIZED
                                                : SW_SHOWNORMAL;
        ShowWindow(Handle(), cmd);
        shownOnce_ = true;
        if (GetActiveWindow() == Handle() && !IsIconic(Handle())) FocusFirst();
    } else {
        DoHide();
        TControl::SetVisible(false);
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    }
}

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoHide() {
    if (OnHide && !Destroying()) OnHide(this);
}

void TForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

bool TForm::CloseQuery() {
    bool can = true;
    if (OnCloseQuery) OnCloseQuery(this, can);
    return can;
}

void TForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

void TForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        modalResult_ = mrNone;
    else if (action == caFree)
        Release();
}

void TForm::Release() {
    if (!Application) return;
    auto& pending = Application->pendingFree_;
    if (std::find(pending.begin(), pending.end(), this) == pending.end()) pending.push_back(this);
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0); // wakes the loop
}

void TForm::BringToFrontWindow() {
    if (HandleAllocated()) SetForegroundWindow(Handle());
}

TModalResult TForm::ShowModal() {
    if (Visible() || modal_) throw EInvalidOperation(L"Cannot make a visible window modal");
    if (!Enabled()) throw EInvalidOperation(L"Cannot make a disabled window modal");
    ReleaseCapture();
    HWND previousActive = GetActiveWindow();
    HandleNeeded();
    std::vector<HWND> windows, disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectThreadWindow,
                      reinterpret_cast<LPARAM>(&windows));
    for (HWND w : windows)
        if (w != Handle() && IsWindowVisible(w) && IsWindowEnabled(w)) {
            EnableWindow(w, FALSE);
            disabled.push_back(w);
        }
    auto restore = [&] {
        // Enabled again before we hide, so the activation goes back to them.
        for (HWND w : disabled)
            if (IsWindow(w)) EnableWindow(w, TRUE);
        disabled.clear();
    };
    modal_ = true;
    modalResult_ = mrNone;
    TModalResult result = mrNone;
    try {
        Show();
        PostMessageW(Handle(), CM_MODALSTARTED, 0, 0);
        for (;;) {
            Application->HandleMessage();
            if (Application->Terminated()) modalResult_ = mrCancel;
            if (modalResult_ != mrNone) {
                CloseModal();
                if (modalResult_ != mrNone) break;
            }
        }
        result = modalResult_;
    } catch (...) {
        restore();
        modal_ = false;
        Hide();
        throw;
    }
    restore();
    modal_ = false;
    Hide();
    if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
    return result;
}

bool TForm::IsShortCut(WORD, TShiftState) {
    return false;
}

bool TForm::DialogKey(WORD key, TShiftState shift) {
    if (TCustomControl::DialogKey(key, shift)) return true;
    switch (key) {
    case VK_TAB:
        if (shift.Contains(ssCtrl)) return false;
        SelectNext(activeControl_, !shift.Contains(ssShift), true);
        return true;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if (activeControl_ && activeControl_->Parent()) {
            activeControl_->Parent()->SelectNext(activeControl_, key == VK_RIGHT || key == VK_DOWN,
                                                 false);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_CLOSE:
        Close(); // never straight to DestroyWindow
        m.Result = 0;
        return;
    case WM_ACTIVATE:
        DefaultHandler(m);
        active_ = LOWORD(m.WParam) != WA_INACTIVE;
        if (active_) {
            if (!HIWORD(m.WParam) && Visible()) FocusFirst();
            if (OnActivate && !Destroying()) OnActivate(this);
        } else if (OnDeactivate && !Destroying()) {
            OnDeactivate(this);
        }
        return;
    case WM_ACTIVATEAPP:
        if (Application) Application->active_ = m.WParam != 0;
        DefaultHandler(m);
        return;
    case WM_GETMINMAXINFO: {
        DefaultHandler(m);
        auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
        TSizeConstraints& c = Constraints();
        if (c.MinWidth() > 0) info->ptMinTrackSize.x = c.MinWidth();
        if (c.MinHeight() > 0) info->ptMinTrackSize.y = c.MinHeight();
        if (c.MaxWidth() > 0) info->ptMaxTrackSize.x = c.MaxWidth();
        if (c.MaxHeight() > 0) info->ptMaxTrackSize.y = c.MaxHeight();
        return;
    }
    case WM_SIZE:
        if (m.WParam == SIZE_MAXIMIZED)
            windowState_ = wsMaximized;
        else if (m.WParam == SIZE_MINIMIZED)
            windowState_ = wsMinimized;
        else if (m.WParam == SIZE_RESTORED)
            windowState_ = wsNormal;
        break;
    case CM_MODALSTARTED: {
        TModalRequest request;
        request.kind = TModalKind::Form;
        request.form = this;
        request.owner = Handle();
        NotifyModalStarted(request);
        return;
    }
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TApplication

const TClassInfo& TApplication::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TApplication>(L"TApplication", &TComponent::StaticClass()).Build();
    return info;
}

TApplication::TApplication() : TComponent(nullptr) {
    std::wstring exe(MAX_PATH, L'\0');
    exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
    size_t slash = exe.find_last_of(L"\\/");
    title_ = exe.substr(slash == std::wstring::npos ? 0 : slash + 1);
    if (size_t dot = title_.find_last_of(L'.'); dot != std::wstring::npos) title_.resize(dot);
}

TApplication::~TApplication() {
    if (Application == this) Application = nullptr;
    DestroyComponents();
}

void TApplication::Initialize() {
    if (initialized_) return;
    initialized_ = true;
    INITCOMMONCONTROLSEX icc{sizeof icc,
                             ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
    TComponent::Notification(component, operation);
}

void TApplication::Run() {
    if (mainForm_) mainForm_->Show();
    while (!terminated_)
        HandleMessage();
}

void TApplication::Terminate() {
    terminated_ = true;
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0); // wakes a waiting loop
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

void TApplication::Idle() {
    bool done = true;
    if (OnIdle) GuardedCall(this, [&] { OnIdle(this, done); });
    ReleaseCanvasDCs();
    if (done) WaitMessage();
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    GuardedCall(this, [&] {
        bool handled = false;
        if (OnMessage) OnMessage(msg, handled);
        if (!handled && !IsKeyMsg(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    });
    FreePendingForms();
    return true;
}

void TApplication::FreePendingForms() {
    while (!pendingFree_.empty()) {
        TForm* f = pendingFree_.back();
        pendingFree_.pop_back();
        f->Free();
    }
}

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
        msg.message != WM_SYSCHAR)
        return false;
    // Windows inside a system control (a combo box's edit) belong to it.
    TWinControl* control = nullptr;
    for (HWND h = msg.hwnd; h && !control; h = GetParent(h))
        control = TWinControl::FindControl(h);
    if (!control) return false;
    TForm* form = dynamic_cast<TForm*>(control);
    if (!form) form = GetParentForm(control);
    if (!form) return false;
    TShiftState shift = KeyboardShiftState();
    auto dialogCode = [&msg] {
        return SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    };
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // Disabled while a modal window runs: its keys are its own.
        if (IsWindowEnabled(form->Handle()) && form->IsShortCut(WORD(msg.wParam), shift))
            return true;
        LRESULT mask = 0;
        switch (msg.wParam) {
        case VK_TAB:
            mask = DLGC_WANTTAB;
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            mask = DLGC_WANTARROWS;
            break;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL:
            mask = DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
            break;
        default:
            return false;
        }
        if (dialogCode() & mask) return false;
        return form->Perform(CM_DIALOGKEY, msg.wParam, LPARAM(shift.Bits())) != 0;
    }
    case WM_CHAR:
        // Plain letters are accelerators only where the focus takes no typing.
        if (dialogCode() & DLGC_WANTCHARS) return false;
        return form->Perform(CM_DIALOGCHAR, msg.wParam, LPARAM(shift.Bits())) != 0;
    default: // WM_SYSCHAR: Alt+letter
        shift.Include(ssAlt);
        return form->Perform(CM_DIALOGCHAR, msg.wParam, LPARAM(shift.Bits())) != 0;
    }
}

struct TScopedMessageHook::TLink {
    THandler handler;
    THandler previous;
};

struct TScopedMessageHook::TChain {
    std::shared_ptr<TLink> link;
    void operator()(MSG& msg, bool& handled) const {
        const std::shared_ptr<TLink> keep = link; // a handler may end the hook
        if (keep->handler) keep->handler(msg, handled);
        if (!handled && keep->previous) keep->previous(msg, handled);
    }
};

TScopedMessageHook::TScopedMessageHook(THandler handler)
    : link_(std::make_shared<TLink>(TLink{std::move(handler), Application->OnMessage})) {
    Application->OnMessage = TChain{link_};
}

TScopedMessageHook::~TScopedMessageHook() {
    const auto* top = Application ? Application->OnMessage.target<TChain>() : nullptr;
    if (top && top->link == link_)
        Application->OnMessage = std::move(link_->previous);
    else
        link_->handler = nullptr;
}

void TApplication::HandleException(TObject* sender, const std::exception& e) {
    try {
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    } catch (...) {
        // The error report itself must never take the program down.
    }
}

void TApplication::ShowException(const std::exception& e) {
    ShowMessageBox(ExceptionMessage(e), title_, MB_OK | MB_ICONERROR);
}

HICON TApplication::Icon() const {
    return LoadIconW(MainInstance(), L"MAINICON");
}
