#include "framework/ControlsInternal.h"

#include "framework/Callbacks.h"
#include "framework/Forms.h"
#include "framework/Utils.h"

#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <map>
#include <unordered_map>
#include <utility>

namespace {

// The control of each of our windows. Not a window property: under Wine
// every GetPropW is a round trip to the server (30-70 us), and the window
// procedure looks its control up for every message.
std::unordered_map<HWND, TWinControl*>& Controls() {
    static auto* controls = new std::unordered_map<HWND, TWinControl*>; // outlives every window
    return *controls;
}

TWinControl* ControlOf(HWND wnd) {
    auto it = Controls().find(wnd);
    return it == Controls().end() ? nullptr : it->second;
}

thread_local TWinControl* gCreating = nullptr;
TMenuMessageHandler gMenuHandler;
int gDispatchDepth = 0;
int gNextControlId = 100;

void SetMouseControl(TControl* c) {
    if (c == gMouseControl) return;
    TControl* old = gMouseControl;
    gMouseControl = c;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (c && gMouseControl == c) c->Perform(CM_MOUSEENTER);
}

LPCWSTR CursorResource(TCursor c) {
    static const std::pair<TCursor, LPCWSTR> cursors[] = {
        {crArrow, IDC_ARROW},    {crCross, IDC_CROSS},
        {crIBeam, IDC_IBEAM},    {crSizeNESW, IDC_SIZENESW},
        {crSizeNS, IDC_SIZENS},  {crSizeNWSE, IDC_SIZENWSE},
        {crSizeWE, IDC_SIZEWE},  {crUpArrow, IDC_UPARROW},
        {crHourGlass, IDC_WAIT}, {crNo, IDC_NO},
        {crHSplit, IDC_SIZEWE},  {crVSplit, IDC_SIZENS},
        {crHandPoint, IDC_HAND}, {crSizeAll, IDC_SIZEALL}};
    for (auto& [cursor, resource] : cursors)
        if (cursor == c) return resource;
    return nullptr;
}

// Window classes we registered, with the procedure of the system class each
// one superclasses (DefWindowProcW for our own).
WNDPROC RegisterWinClass(const TCreateParams& p) {
    static std::map<std::wstring, WNDPROC> registered;
    auto it = registered.find(p.WinClassName);
    if (it != registered.end()) return it->second;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    WNDPROC base = DefWindowProcW;
    if (!p.SystemClassName.empty()) {
        WNDCLASSEXW sys{};
        sys.cbSize = sizeof sys;
        if (!GetClassInfoExW(nullptr, p.SystemClassName.c_str(), &sys)) {
            INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
            InitCommonControlsEx(&icc);
            if (!GetClassInfoExW(nullptr, p.SystemClassName.c_str(), &sys))
                throw EInvalidOperation(L"System window class " + p.SystemClassName +
                                        L" not found");
        }
        wc = sys;
        wc.cbSize = sizeof wc;
        wc.style &= ~UINT(CS_GLOBALCLASS);
        base = sys.lpfnWndProc;
    } else {
        wc.style = p.ClassStyle;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = p.Background;
        // Only a window with a frame shows an icon; Wine makes a small copy of
        // it for every class that names one, a few milliseconds each.
        if (!(p.Style & WS_CHILD)) wc.hIcon = LoadIconW(MainInstance(), L"MAINICON");
    }
    wc.lpfnWndProc = StdWndProc;
    wc.hInstance = MainInstance();
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EInvalidOperation(L"Cannot register window class " + p.WinClassName + L": " +
                                SystemErrorMessage(GetLastError()));
    registered[p.WinClassName] = base;
    return base;
}

} // namespace

// ---------------------------------------------------------------------------
// The one window procedure of every control.

LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* c = ControlOf(wnd);
    if (!c) {
        // Bind at the first message (WM_GETMINMAXINFO comes before WM_NCCREATE).
        c = gCreating;
        if (!c && msg == WM_NCCREATE)
            c = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (!c) return DefWindowProcW(wnd, msg, wParam, lParam);
        gCreating = nullptr;
        c->handle_ = wnd;
        Controls()[wnd] = c;
    }
    TMessage m{msg, wParam, lParam, 0};
    ++gDispatchDepth;
    GuardedCall(c, [&] { c->windowProc_(m); });
    --gDispatchDepth;
    if (msg == WM_NCDESTROY) {
        Controls().erase(wnd);
        if (c->handle_ == wnd) c->handle_ = nullptr;
    }
    if (gDispatchDepth == 0) ReleaseCanvasDCs();
    return m.Result;
}

void SetMenuMessageHandler(TMenuMessageHandler handler) {
    gMenuHandler = std::move(handler);
}

// ---------------------------------------------------------------------------
// TWinControl

const TClassInfo& TWinControl::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TWinControl>(L"TWinControl", &TControl::StaticClass())
            .Property(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
            .Event(L"OnKeyDown", &TWinControl::OnKeyDown)
            .Event(L"OnKeyPress", &TWinControl::OnKeyPress)
            .Event(L"OnKeyUp", &TWinControl::OnKeyUp)
            .Event(L"OnEnter", &TWinControl::OnEnter)
            .Event(L"OnExit", &TWinControl::OnExit)
            .Build();
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    MarkDestroying();
    DestroyHandle();
    // A container frees the controls it still holds, the newest first.
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        c->SetParent(nullptr);
        c->Free();
    }
}

namespace {

// Without a border or scroll bars there is nothing outside the client area
// to paint; Wine's default non-client paint would still fetch a window DC
// and its regions from the server, for each window at every show.
bool HasNonClientArea(HWND wnd) {
    RECT window{}, client{};
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    return window.right - window.left != client.right ||
           window.bottom - window.top != client.bottom;
}

} // namespace

TWinControl* TWinControl::FindControl(HWND wnd) {
    return wnd ? ControlOf(wnd) : nullptr;
}

HWND TWinControl::Handle() {
    if (!handle_) CreateHandle();
    return handle_;
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    if (parent_) parent_->HandleNeeded(); // which may have created ours as well
    if (handle_) return;
    CreateWnd();
    CreateHandleDone();
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = text_;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.WndParent = parent_ ? parent_->handle_ : nullptr;
    p.WinClassName = ClassName();
    // No CS_HREDRAW | CS_VREDRAW: those repaint every child of a window whose
    // size changed. SizeMessage repaints the resized window alone.
    p.ClassStyle = CS_DBLCLKS;
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* systemClass) {
    params.SystemClassName = systemClass;
    params.Style &= ~DWORD(WS_CLIPCHILDREN);
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && !p.WndParent)
        throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
    defWndProc_ = RegisterWinClass(p);
    HMENU id = nullptr;
    if (p.Style & WS_CHILD) {
        if (!controlId_) controlId_ = gNextControlId++;
        id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId_));
    }
    gCreating = this;
    HWND wnd = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X,
                               p.Y, p.Width, p.Height, p.WndParent, id, MainInstance(), this);
    gCreating = nullptr;
    if (!wnd) {
        DWORD err = GetLastError();
        handle_ = nullptr;
        throw EInvalidOperation(L"Cannot create window " + ClassName() + L": " +
                                SystemErrorMessage(err));
    }
    handle_ = wnd;
}

void TWinControl::CreateHandleDone() {
    if (IsSystemControl()) SendFontToWindow();
    if (CreatesChildrenAtOnce()) CreateChildHandles();
    // Windows may have given another size (a form's minimum track size).
    UpdateBoundsFromWindow();
}

void TWinControl::CreateChildHandles() {
    for (TControl* c : std::vector<TControl*>(controls_))
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandle();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    DestroyWindow(handle_);
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    CreateHandle();
}

void TWinControl::InsertControl(TControl* c) {
    controls_.push_back(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) tabList_.push_back(w);
    if (c->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* c) {
    if (gMouseControl == c) gMouseControl = nullptr;
    if (gCaptureControl == c) gCaptureControl = nullptr;
    if (!IsGraphic(c) || !HandleAllocated()) {
    } else {
        RECT r = c->BoundsRect();
        InvalidateRect(handle_, &r, TRUE);
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), c), tabList_.end());
    if (c->Align() != alNone && !Destroying()) Realign();
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent == Parent()) return;
    if (handle_ && (!parent || !parent->HandleAllocated())) DestroyHandle();
    TControl::SetParent(parent);
    if (parent && parent->HandleAllocated()) {
        if (handle_)
            ::SetParent(handle_, parent->handle_);
        else
            CreateHandle();
    }
}

bool TWinControl::ContainsControl(const TControl* c) const {
    for (; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!IsGraphic(c) || !c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

RECT TWinControl::ClientRect() const {
    if (handle_) {
        RECT r;
        GetClientRect(handle_, &r);
        return r;
    }
    return TControl::ClientRect();
}

POINT TWinControl::ClientOrigin() const {
    if (handle_) {
        POINT p{0, 0};
        ::ClientToScreen(handle_, &p);
        return p;
    }
    return TControl::ClientOrigin();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
}

void TWinControl::ApplyBounds(int left, int top, int width, int height) {
    bool sized = width != Width() || height != Height();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (sized) Realign();
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_ || IsIconic(handle_)) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    int w = r.right - r.left, h = r.bottom - r.top;
    bool sized = w != width_ || h != height_;
    left_ = r.left;
    top_ = r.top;
    width_ = w;
    height_ = h;
    if (sized) {
        Realign();
        Resize();
    }
}

void TWinControl::SetVisible(bool v) {
    if (v == Visible()) return;
    TControl::SetVisible(v);
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (v ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::SetEnabled(bool v) {
    if (v == Enabled()) return;
    if (handle_) EnableWindow(handle_, v);
    TControl::SetEnabled(v);
}

std::wstring TWinControl::Text() const {
    if (!handle_) return StoredText();
    int n = GetWindowTextLengthW(handle_);
    std::wstring s(size_t(n) + 1, L'\0');
    n = GetWindowTextW(handle_, s.data(), n + 1);
    s.resize(size_t(std::max(n, 0)));
    return s;
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Realign() {
    if (Loading() || aligning_ || Destroying()) {
        alignPending_ = true;
        return;
    }
    alignPending_ = false;
    aligning_ = true;
    try {
        RECT r = ClientRect();
        AdjustClientRect(r);
        AlignControls(r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AdjustClientRect(RECT&) const {}

void TWinControl::AlignControls(RECT& r) {
    static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign a : order) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == a && c->Visible()) list.push_back(c);
        // Controls of one alignment keep their relative order by position;
        // the control that moved wins ties.
        TControl* requester = alignRequester_;
        auto key = [a](TControl* c) {
            switch (a) {
            case alTop:
                return c->Top();
            case alBottom:
                return -(c->Top() + c->Height());
            case alLeft:
                return c->Left();
            case alRight:
                return -(c->Left() + c->Width());
            default:
                return 0;
            }
        };
        std::stable_sort(list.begin(), list.end(), [&](TControl* x, TControl* y) {
            if (key(x) != key(y)) return key(x) < key(y);
            return x == requester && y != requester;
        });
        for (TControl* c : list) {
            int w = std::max<int>(0, r.right - r.left), h = std::max<int>(0, r.bottom - r.top);
            switch (a) {
            case alTop:
                c->SetBoundsByLayout(r.left, r.top, w, c->Height());
                r.top += c->Height();
                break;
            case alBottom:
                c->SetBoundsByLayout(r.left, r.bottom - c->Height(), w, c->Height());
                r.bottom -= c->Height();
                break;
            case alLeft:
                c->SetBoundsByLayout(r.left, r.top, c->Width(), h);
                r.left += c->Width();
                break;
            case alRight:
                c->SetBoundsByLayout(r.right - c->Width(), r.top, c->Width(), h);
                r.right -= c->Width();
                break;
            case alClient:
                c->SetBoundsByLayout(r.left, r.top, w, h);
                break;
            default:
                break;
            }
        }
    }
    AnchorChildren();
}

void TWinControl::AnchorChildren() {
    int pw = ClientWidth(), ph = ClientHeight();
    for (TControl* c : controls_) {
        if (c->Align() != alNone || !c->anchorValid_ || c->Loading()) continue;
        TAnchors a = c->Anchors();
        const RECT& o = c->anchorOrigin_;
        int dx = pw - c->anchorParentSize_.cx, dy = ph - c->anchorParentSize_.cy;
        int left = o.left, top = o.top, width = o.right - o.left, height = o.bottom - o.top;
        if (a.Contains(akRight)) {
            if (a.Contains(akLeft))
                width += dx;
            else
                left += dx;
        } else if (!a.Contains(akLeft)) {
            left += dx / 2; // neither side: keep the centre where it was
        }
        if (a.Contains(akBottom)) {
            if (a.Contains(akTop))
                height += dy;
            else
                top += dy;
        } else if (!a.Contains(akTop)) {
            top += dy / 2;
        }
        c->SetBoundsByLayout(left, top, width, height);
    }
}

int TWinControl::TabOrder() const {
    if (!Parent()) return tabOrderWanted_;
    auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    tabOrderWanted_ = order;
    if (!Parent() || order < 0) return;
    auto& list = Parent()->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::min<int>(order, int(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::FixupTabList() {
    // Stored tab orders name places among siblings that did not all exist yet.
    std::vector<TWinControl*> list = tabList_;
    std::stable_sort(list.begin(), list.end(), [](TWinControl* a, TWinControl* b) {
        int x = a->tabOrderWanted_ < 0 ? INT_MAX : a->tabOrderWanted_;
        int y = b->tabOrderWanted_ < 0 ? INT_MAX : b->tabOrderWanted_;
        return x < y;
    });
    tabList_ = list;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    int n = int(list.size());
    if (n == 0) return nullptr;
    auto it = std::find(list.begin(), list.end(), current);
    int start = it == list.end() ? (forward ? -1 : n) : int(it - list.begin());
    // Arrow keys move among siblings only; Tab goes through the whole form.
    bool checkParent = !checkTabStop;
    for (int i = 1; i <= n; ++i) {
        int idx = ((start + (forward ? i : -i)) % n + n) % n;
        TWinControl* c = list[size_t(idx)];
        if (c == current) return nullptr;
        if (!c->CanFocus()) continue;
        if (checkTabStop && !c->TabStop()) continue;
        if (checkParent && c->Parent() != this) continue;
        return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* c = FindNextControl(current, forward, checkTabStop)) c->SetFocus();
}

bool TWinControl::CanFocus() const {
    TForm* form = GetParentForm(this);
    if (!form || !form->Visible() || !form->Enabled()) return false;
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    TForm* form = GetParentForm(this);
    if (form && form != this && (!form->HandleAllocated() || !IsWindowVisible(form->handle_))) {
        form->SetActiveControl(this); // takes the focus when the form is shown
        return;
    }
    if (!CanFocus()) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::Loaded() {
    TControl::Loaded();
    FixupTabList();
    Realign();
}

bool TWinControl::DialogKey(WORD key, TShiftState shift) {
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->Perform(CM_DIALOGKEY, key, LPARAM(shift.Bits()))) return true;
    return false;
}

bool TWinControl::DialogChar(wchar_t ch, TShiftState shift) {
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->Perform(CM_DIALOGCHAR, ch, LPARAM(shift.Bits()))) return true;
    return false;
}

HBRUSH TWinControl::ColorBrush() {
    if (!colorBrush_ || colorBrushColor_ != Color()) {
        colorBrush_.Reset(CreateSolidBrush(ColorToRGB(Color())));
        colorBrushColor_ = Color();
    }
    return colorBrush_.Get();
}

void TWinControl::SendFontToWindow() {
    // A window nobody sees yet needs no repaint for it.
    if (handle_)
        SendMessageW(handle_, WM_SETFONT, WPARAM(Font().Handle()), IsWindowVisible(handle_));
}

void TWinControl::ReflectToChild(TMessage& m, HWND child) {
    TWinControl* c = FindControl(child);
    if (c && c != this) {
        m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::TrackMouse(TMessage& m) {
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    RECT r = ClientRect();
    TControl* target = nullptr;
    if (PtInRect(&r, p)) {
        target = ControlAtPos(p);
        if (!target) target = this;
    }
    SetMouseControl(target);
    if (!trackingMouse_ && handle_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
        trackingMouse_ = TrackMouseEvent(&tme) != FALSE;
    }
}

bool TWinControl::SetCursorFor(TMessage& m) {
    if (LOWORD(m.LParam) != HTCLIENT || reinterpret_cast<HWND>(m.WParam) != handle_) return false;
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    TControl* c = ControlAtPos(p);
    TCursor cursor = c ? c->Cursor() : Cursor();
    if (cursor == crDefault) cursor = Cursor();
    if (cursor == crDefault) return false;
    ::SetCursor(cursor == crNone ? nullptr : LoadCursorW(nullptr, CursorResource(cursor)));
    m.Result = TRUE;
    return true;
}

// Each step takes the messages it knows and says whether it handled them;
// what none takes goes to TControl (mouse and CM_* notifications, then Windows).
void TWinControl::WndProc(TMessage& m) {
    const bool handled = RouteMouseToChild(m) || HitTestMessage(m) || MouseStateMessage(m) ||
                         PaintMessage(m) || ReflectNotification(m) || MenuMessage(m) ||
                         ReflectedColorMessage(m) || KeyMessage(m) || FocusMessage(m) ||
                         SizeMessage(m) || DestroyMessage(m);
    if (!handled) TControl::WndProc(m);
}

// Windowless children get the mouse through us, in their own coordinates.
bool TWinControl::RouteMouseToChild(TMessage& m) {
    if (!IsMouseMessage(m.Msg)) return false;
    if (m.Msg == WM_MOUSEMOVE) TrackMouse(m);
    POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* target = nullptr;
    if (gCaptureControl && gCaptureControl != this && gCaptureControl->Parent() == this)
        target = gCaptureControl;
    else if (gCaptureControl != this)
        target = ControlAtPos(p);
    if (!target || !IsGraphic(target)) return false;
    target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
    return true;
}

// A window that draws its own frame answers its resize zones in its hit
// test; a child covering a zone lets the test fall through to the window.
bool TWinControl::HitTestMessage(TMessage& m) {
    if (m.Msg != WM_NCHITTEST || !(GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD)) return false;
    DefaultHandler(m);
    HWND root = GetAncestor(handle_, GA_ROOT);
    if (root && root != handle_) {
        const LRESULT zone = SendMessageW(root, WM_NCHITTEST, 0, m.LParam);
        if (zone >= HTLEFT && zone <= HTBOTTOMRIGHT) m.Result = HTTRANSPARENT;
    }
    return true;
}

// The wheel, the mouse leaving, the capture going elsewhere, the cursor.
bool TWinControl::MouseStateMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_MOUSEWHEEL: {
        POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (DoMouseWheel(KeysToShiftState(GET_KEYSTATE_WPARAM(m.WParam)),
                         GET_WHEEL_DELTA_WPARAM(m.WParam), p))
            m.Result = 1;
        else
            DefaultHandler(m);
        return true;
    }
    case WM_MOUSELEAVE:
        trackingMouse_ = false;
        if (gMouseControl && (gMouseControl == this ||
                              (IsGraphic(gMouseControl) && gMouseControl->Parent() == this)))
            SetMouseControl(nullptr);
        return true;
    case WM_CAPTURECHANGED:
        if (gCaptureControl && (gCaptureControl == this || gCaptureControl->Parent() == this) &&
            reinterpret_cast<HWND>(m.LParam) != handle_)
            gCaptureControl = nullptr;
        DefaultHandler(m);
        return true;
    case WM_SETCURSOR:
        return SetCursorFor(m);
    default:
        return false;
    }
}

// System controls paint themselves; ours paint through PaintHandler.
bool TWinControl::PaintMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (IsSystemControl())
            DefaultHandler(m);
        else
            PaintHandler(m);
        return true;
    case WM_ERASEBKGND:
        if (IsSystemControl()) {
            DefaultHandler(m);
        } else {
            if (!ControlStyle().Contains(csOpaque))
                EraseBackground(reinterpret_cast<HDC>(m.WParam));
            m.Result = 1;
        }
        return true;
    default:
        return false;
    }
}

// What Windows tells a parent about a child goes back to the child as
// CN_BASE + msg; commands and owner-drawn items of menus go to the menus.
bool TWinControl::ReflectNotification(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND:
        if (!m.LParam) return OfferToMenus(m);
        ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
        return true;
    case WM_NOTIFY:
        ReflectToChild(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
        return true;
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (dis->CtlType == ODT_MENU) return OfferToMenus(m);
        ReflectToChild(m, dis->hwndItem);
        return true;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (mis->CtlType == ODT_MENU) return OfferToMenus(m);
        ReflectToChild(m, GetDlgItem(handle_, int(mis->CtlID)));
        return true;
    }
    case WM_COMPAREITEM:
        ReflectToChild(m, reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam)->hwndItem);
        return true;
    case WM_DELETEITEM:
        ReflectToChild(m, reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam)->hwndItem);
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Without a control it is our own scroll bar's.
        if (!m.LParam) return false;
        ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        ReflectToChild(m, reinterpret_cast<HWND>(m.LParam));
        return true;
    default:
        return false;
    }
}

bool TWinControl::MenuMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
    case WM_MENUSELECT:
        return OfferToMenus(m);
    default:
        return false;
    }
}

bool TWinControl::OfferToMenus(TMessage& m) {
    return gMenuHandler && gMenuHandler(*this, m);
}

// A reflected WM_CTLCOLOR*: our colours for the system control's drawing.
bool TWinControl::ReflectedColorMessage(TMessage& m) {
    switch (m.Msg) {
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORSCROLLBAR: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        SetTextColor(dc, ColorToRGB(Font().Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        m.Result = reinterpret_cast<LRESULT>(ColorBrush());
        return true;
    }
    default:
        return false;
    }
}

// Keys go through the key events (the form's first, with KeyPreview); a key
// set to 0 there never reaches the window.
bool TWinControl::KeyMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = WORD(m.WParam);
        if (DoKeyDown(key, KeyboardShiftState())) return true;
        m.WParam = key;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = WORD(m.WParam);
        if (DoKeyUp(key, KeyboardShiftState())) return true;
        m.WParam = key;
        break;
    }
    case WM_CHAR: {
        wchar_t ch = wchar_t(m.WParam);
        if (DoKeyPress(ch)) return true;
        m.WParam = ch;
        break;
    }
    default:
        return false;
    }
    DefaultHandler(m);
    return true;
}

bool TWinControl::FocusMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_SETFOCUS:
        DefaultHandler(m);
        if (!Destroying()) FocusReceived();
        return true;
    case WM_KILLFOCUS:
        DefaultHandler(m);
        if (!Destroying()) FocusLost(reinterpret_cast<HWND>(m.WParam));
        return true;
    default:
        return false;
    }
}

void TWinControl::FocusReceived() {
    if (TForm* f = GetParentForm(this); f && f != this) {
        TWinControl* previous = f->ActiveControl();
        if (previous == this && exitDeferred_) {
            exitDeferred_ = false; // back from another window: never left
            return;
        }
        if (previous && previous != this && previous->exitDeferred_) {
            previous->exitDeferred_ = false;
            previous->DoExit();
        }
        f->SetFocusedControl(this);
    }
    DoEnter();
}

// Focus going to another top-level window leaves the form's focus here: the
// exit waits until the focus moves on inside the form.
void TWinControl::FocusLost(HWND to) {
    TForm* f = GetParentForm(this);
    if (f && f != this && f->ActiveControl() == this &&
        (!to || GetAncestor(to, GA_ROOT) != GetAncestor(Handle(), GA_ROOT)))
        exitDeferred_ = true;
    else
        DoExit();
}

bool TWinControl::SizeMessage(TMessage& m) {
    if (m.Msg != WM_SIZE && m.Msg != WM_WINDOWPOSCHANGED) return false;
    DefaultHandler(m);
    // The picture depends on the size; children that kept theirs keep their bits.
    if (m.Msg == WM_SIZE && m.WParam != SIZE_MINIMIZED)
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    UpdateBoundsFromWindow();
    return true;
}

bool TWinControl::DestroyMessage(TMessage& m) {
    if (m.Msg != WM_DESTROY) return false;
    // Keep what the window held, for a window created again later.
    StoreText(Text());
    if (gMouseControl && (gMouseControl == this || gMouseControl->Parent() == this))
        gMouseControl = nullptr;
    DefaultHandler(m);
    return true;
}

void TWinControl::DefaultHandler(TMessage& m) {
    // Our own notifications never reach Windows.
    if ((m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x100) ||
        (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400)) {
        m.Result = 0;
        return;
    }
    if (!handle_ || (m.Msg == WM_NCPAINT && !HasNonClientArea(handle_))) {
        m.Result = 0;
        return;
    }
    m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::PaintHandler(TMessage& m) {
    if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
        PaintWindow(dc);
        PaintControls(dc);
    } else {
        PaintDC pdc(handle_);
        PaintWindow(pdc.Get());
        PaintControls(pdc.Get());
    }
    m.Result = 0;
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : controls_) {
        if (!IsGraphic(c) || !c->Visible()) continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        SavedDCState state(dc);
        OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        static_cast<TGraphicControl*>(c)->PaintTo(dc);
    }
}

void TWinControl::EraseBackground(HDC dc) {
    RECT r = ClientRect();
    BrushHandle brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, brush.Get());
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
    if (Destroying()) return false;
    TForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(key, shift)) return true;
    KeyDown(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyUp(WORD& key, TShiftState shift) {
    if (Destroying()) return false;
    TForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(key, shift)) return true;
    KeyUp(key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(wchar_t& key) {
    if (Destroying()) return false;
    TForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(key)) return true;
    KeyPress(key);
    return key == 0;
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(wchar_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}
void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}
void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::ColorChanged() {
    Invalidate();
    for (TControl* c : std::vector<TControl*>(controls_))
        c->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::FontChanged() {
    if (IsSystemControl()) SendFontToWindow();
    Invalidate();
    for (TControl* c : std::vector<TControl*>(controls_))
        c->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::TextChanged() {
    Invalidate();
}
void TWinControl::EnabledChanged() {
    Invalidate();
}
void TWinControl::VisibleChanged() {}
void TWinControl::ParentColorChanged() {
    TControl::ParentColorChanged();
}
void TWinControl::ParentFontChanged() {
    TControl::ParentFontChanged();
}
