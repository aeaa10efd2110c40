#include "skin/controls/SUIForm.h"

#include "skin/SUIImagePanel.h"
#include "skin/controls/SUIMainMenu.h"
#include "skin/controls/SUIMenuBar.h"

#include "framework/Exceptions.h"
#include "framework/FormReader.h"
#include "framework/GdiHandles.h"
#include "framework/Utils.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace {

// Collections stored as < item ... end >: the items replace what was there.
template <class Add, class Clear> void ReadCollection(const TValue& v, Clear clear, Add add) {
    if (v.kind != TValue::Kind::Collection || !v.items)
        throw EPropertyError(L"a collection < item ... end > is expected, not " + v.Describe());
    clear();
    for (const auto& item : *v.items)
        ApplyStoredProperties(add(), item);
}

bool Sizeable(TFormBorderStyle style) {
    return style == bsSizeable || style == bsSizeToolWin;
}

TShiftState CurrentShiftState() {
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}

// How far the window's resize zones reach in from its edges.
constexpr int kResizeZone = 5;

} // namespace

// ---------------------------------------------------------------------------
// TsuiForm

const TClassInfo& TsuiForm::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiForm>(L"TsuiForm", &TCustomPanel::StaticClass())
            .Property(L"Width", &TsuiForm::FrameWidth, &TsuiForm::SetFrameWidth)
            .Property(L"Height", &TsuiForm::FrameHeight, &TsuiForm::SetFrameHeight)
            .Property(L"TitleBarCustom", &TsuiForm::TitleBarCustom, &TsuiForm::SetTitleBarCustom)
            .With(PublishStyle<TsuiForm>)
            .Property(L"UIStyleAutoUpdateSub", &TsuiForm::UIStyleAutoUpdateSub,
                      &TsuiForm::SetUIStyleAutoUpdateSub)
            .Color(L"BorderColor", &TsuiForm::BorderColor, &TsuiForm::SetBorderColor)
            .Property(L"BorderWidth", &TsuiForm::BorderWidth, &TsuiForm::SetBorderWidth)
            .Property(L"TitleBarVisible", &TsuiForm::TitleBarVisible, &TsuiForm::SetTitleBarVisible)
            .Enum(L"BiDiMode", &TsuiForm::BiDiMode, &TsuiForm::SetBiDiMode, BiDiModeEnum())
            .Property(L"Caption", &TsuiForm::Caption, &TsuiForm::SetCaption)
            .Component(L"FormPanel", &TsuiForm::FormPanel, &TsuiForm::SetFormPanel)
            .Custom(L"TitleBarButtons",
                    [](TsuiForm& f, const TValue& v) {
                        ReadCollection(
                            v, [&f] { f.ClearTitleBarButtons(); },
                            [&f]() -> TObject& { return f.AddTitleBarButton(); });
                    })
            .Custom(L"TitleBarSections",
                    [](TsuiForm& f, const TValue& v) {
                        ReadCollection(
                            v, [&f] { f.ClearTitleBarSections(); },
                            [&f]() -> TObject& { return f.AddTitleBarSection(); });
                    })
            .Property(L"TitleBarDrawAppIcon", &TsuiForm::TitleBarDrawAppIcon,
                      &TsuiForm::SetTitleBarDrawAppIcon)
            .Object(L"CaptionFont", &TsuiForm::CaptionFont, FontPropertyClass())
            .Component(L"Menu", &TsuiForm::Menu, &TsuiForm::SetMenu)
            .Color(L"MenuBarColor", &TsuiForm::MenuBarColor, &TsuiForm::SetMenuBarColor)
            .Property(L"MenuBarHeight", &TsuiForm::MenuBarHeight, &TsuiForm::SetMenuBarHeight)
            .Property(L"RoundCorner", &TsuiForm::RoundCorner, &TsuiForm::SetRoundCorner)
            .Component(L"PopupMenu", &TsuiForm::PopupMenu, &TsuiForm::SetPopupMenu)
            .Property(L"Version", &TsuiForm::Version, &TsuiForm::SetVersion)
            .Event(L"OnTitleBarCustomBtnsClick", &TsuiForm::OnTitleBarCustomBtnsClick)
            .Event(L"OnTitleBarHelpBtnClick", &TsuiForm::OnTitleBarHelpBtnClick)
            .Build();
    return info;
}

TsuiForm::TsuiForm(TComponent* owner)
    : TsuiStyled(owner, TsuiStyleLink::TThemeReapply::WhenChanged) {
    ownerForm_ = dynamic_cast<TForm*>(owner);
    if (ownerForm_) {
        // Refused before the form is touched.
        for (int i = 0; i < ownerForm_->ComponentCount(); ++i) {
            TComponent* other = ownerForm_->Components(i);
            if (other != this && dynamic_cast<TsuiForm*>(other))
                throw EComponentError(
                    L"Sorry, You can create only one TsuiForm component in one form!");
        }
        // A smallest size for the frame to fit in; a larger stored one stays.
        TSizeConstraints& limits = ownerForm_->Constraints();
        limits.SetMinHeight(std::max(limits.MinHeight(), 50));
        limits.SetMinWidth(std::max(limits.MinWidth(), 125));
        initialBorderStyle_ = ownerForm_->BorderStyle();
        creationBounds_ =
            RECT{ownerForm_->Left(), ownerForm_->Top(), ownerForm_->Left() + ownerForm_->Width(),
                 ownerForm_->Top() + ownerForm_->Height()};
        startedMaximized_ = ownerForm_->WindowState() == wsMaximized;
    }
    titleBar_ = new TsuiTitleBar(this);
    titleBar_->SetParent(this);
    titleBar_->OnCustomBtnsClick = [this](TObject*, int index) {
        if (OnTitleBarCustomBtnsClick) OnTitleBarCustomBtnsClick(this, index);
    };
    titleBar_->OnHelpBtnClick = [this](TObject*) {
        if (OnTitleBarHelpBtnClick) OnTitleBarHelpBtnClick(this);
    };
    menuBarColor_ = Color();
    SetBevelInner(bvNone);
    SetBevelOuter(bvNone);
    SetAlign(alNone);
    // The title bar shows the title; the panel would draw it in the middle.
    SetText(L" ");
    if (!ownerForm_) return;
    SetCaption(ownerForm_->Caption());
    ownerForm_->SetScaled(false);
    ownerForm_->SetBorderStyle(bsNone);
    ownerForm_->SetAutoScroll(false);
    previousProc_ = ownerForm_->WindowProc();
    ownerForm_->SetWindowProc([this](TMessage& m) { OwnerWndProc(m); });
    // Keys typed into any control of the form reach the menu's shortcuts.
    if (Application)
        keyHook_ = std::make_unique<TScopedMessageHook>([this](MSG& msg, bool& handled) {
            if (msg.message == WM_KEYDOWN && OfferShortCut(msg)) handled = true;
        });
}

TsuiForm::~TsuiForm() {
    MarkDestroying();
    keyHook_.reset();
    // The form may outlive us, and its messages must not reach us any more.
    if (ownerForm_ && previousProc_) ownerForm_->SetWindowProc(previousProc_);
}

void TsuiForm::ApplyStyle() {
    borderColor_ = StyleLink().Color(ThemeElement::FormBorderColor);
    borderWidth_ = StyleLink().Int(ThemeElement::FormBorderWidthInt);
    SetColor(StyleLink().Color(ThemeElement::FormBackgroundColor));
    menuBarColor_ = Color();
    // Each assignment restyles the bar; the theme only when it is another.
    if (titleBar_->FileTheme() != FileTheme()) titleBar_->SetFileTheme(FileTheme());
    titleBar_->SetUIStyle(UIStyle());
    if (auto* menu = dynamic_cast<TsuiMainMenu*>(menu_)) {
        menu->SetUIStyle(UIStyle());
        menu->SetFileTheme(FileTheme());
    }
    UpdateMenuBar();
    if (autoUpdateSub_) ApplyStyleToChildren(*this, UIStyle(), FileTheme());
    LayoutInForm();
    Invalidate();
    PaintBorder();
}

void TsuiForm::ThemeRemoved() {
    ApplyStyleToChildren(*this, TsuiUIStyle::DeepBlue, nullptr);
}

void TsuiForm::Loaded() {
    TsuiStyled::Loaded();
    // The frame places itself; an alignment stored with it would fight that.
    SetAlign(alNone);
    LayoutInForm();
}

void TsuiForm::CreateHandleDone() {
    TsuiStyled::CreateHandleDone();
    LayoutInForm();
}

// ---------------------------------------------------------------------------
// Size, layout and border

void TsuiForm::SetFrameWidth(int v) {
    if (ownerForm_)
        ownerForm_->SetWidth(v + 2 * borderWidth_);
    else
        SetWidth(v);
}

void TsuiForm::SetFrameHeight(int v) {
    if (ownerForm_)
        ownerForm_->SetHeight(v + borderWidth_ + borderWidth_ / 2);
    else
        SetHeight(v);
}

void TsuiForm::LayoutInForm() {
    if (!ownerForm_ || Parent() != ownerForm_) return;
    const RECT c = ownerForm_->ClientRect();
    const int cw = c.right - c.left, ch = c.bottom - c.top;
    const int top = TitleBarVisible() ? 0 : borderWidth_;
    SetBounds(borderWidth_, top, std::max(0, cw - 2 * borderWidth_),
              std::max(0, ch - borderWidth_ - top));
}

void TsuiForm::PaintBorder(HDC dc) {
    if (!ownerForm_ || !ownerForm_->HandleAllocated() || Parent() != ownerForm_) return;
    HWND wnd = ownerForm_->Handle();
    WindowDC own;
    if (!dc) own = WindowDC(wnd);
    HDC target = dc ? dc : own.Get();
    if (!target) return;
    {
        TCanvas canvas(target);
        RECT c{};
        GetClientRect(wnd, &c);
        const int w = c.right, h = c.bottom, b = borderWidth_;
        canvas.Brush().SetColor(borderColor_);
        canvas.Pen().SetColor(borderColor_);
        canvas.Pen().SetWidth(std::max(1, b));
        canvas.FillRect(RECT{0, 0, b, h});
        canvas.FillRect(RECT{0, h - b, w, h});
        canvas.FillRect(RECT{w - b, 0, w, h});
        canvas.MoveTo(0, 0);
        canvas.LineTo(w, 0);
    }
}

void TsuiForm::CoverGrownArea() {
    // What the window grew by beyond the panel is fresh memory, and black.
    const RECT c = ownerForm_->ClientRect();
    if (c.right <= Left() + Width() + borderWidth_ && c.bottom <= Top() + Height() + borderWidth_)
        return;
    WindowDC dc(ownerForm_->Handle());
    if (!dc) return;
    {
        // The children clip themselves out.
        TCanvas canvas(dc.Get());
        FillControlRect(canvas, c, Color());
    }
    // On the screen now, not after the layout and its paints.
    GdiFlush();
}

void TsuiForm::Paint() {
    const int w = ClientWidth(), h = ClientHeight();
    if (w <= 0 || h <= 0) return;
    // One fill reaches the screen whole, so no off-screen picture: the
    // children cover nearly all of a window-sized one. Children that show
    // the frame through have it painted into their own pictures.
    TCanvas& canvas = Canvas();
    TsuiUIStyle effective;
    const bool fromFile = StyleLink().Resolve(effective);
    const wchar_t* pattern = fromFile                            ? nullptr
                             : effective == TsuiUIStyle::MacOS   ? L"MACOS_FORM_BACKGROUND"
                             : effective == TsuiUIStyle::Protein ? L"PROTEIN_FORM_BACKGROUND"
                                                                 : nullptr;
    if (pattern) {
        // A pattern brush tiles in one call what bitmap draws would take hundreds for.
        TBitmap tile;
        tile.LoadFromResourceName(GetModuleHandleW(nullptr), pattern);
        BitmapHandle copy = tile.CopyHandle();
        BrushHandle brush(CreatePatternBrush(copy.Get()));
        RECT all{0, 0, w, h};
        // The tiles start at the frame's corner in a child's picture too.
        POINT origin{}, previous{};
        ::GetViewportOrgEx(canvas.Handle(), &origin);
        ::SetBrushOrgEx(canvas.Handle(), origin.x, origin.y, &previous);
        if (brush)
            ::FillRect(canvas.Handle(), &all, brush.Get());
        else
            TileDraw(canvas, tile, all);
        ::SetBrushOrgEx(canvas.Handle(), previous.x, previous.y, nullptr);
    } else {
        FillControlRect(canvas, RECT{0, 0, w, h}, Color());
    }
}

void TsuiForm::SetCaption(const std::wstring& v) {
    titleBar_->SetCaption(v);
    // The task bar shows the window's own text.
    if (ownerForm_) ownerForm_->SetCaption(v);
}

void TsuiForm::SetBorderColor(TColor v) {
    borderColor_ = v;
    PaintBorder();
}

void TsuiForm::SetBorderWidth(int v) {
    const int w = Width(), h = Height();
    borderWidth_ = v;
    if (ownerForm_ && Parent() == ownerForm_) {
        SetFrameWidth(w);
        SetFrameHeight(h);
    }
    LayoutInForm();
    PaintBorder();
}

void TsuiForm::SetTitleBarVisible(bool v) {
    titleBar_->SetVisible(v);
    LayoutInForm();
    PaintBorder();
}

bool TsuiForm::SizeGripAllowed() const {
    return ownerForm_ && Sizeable(initialBorderStyle_) &&
           !(ownerForm_->HandleAllocated() && IsZoomed(ownerForm_->Handle()));
}

LRESULT TsuiForm::ResizeZone(POINT p) const {
    if (!ownerForm_ || !Sizeable(initialBorderStyle_)) return 0;
    const RECT c = ownerForm_->ClientRect();
    const int W = c.right - c.left, H = c.bottom - c.top, z = kResizeZone;
    const bool left = p.x<z, top = p.y<z, right = p.x> W - z, bottom = p.y> H - z;
    if (left && top) return HTTOPLEFT;
    if (right && top) return HTTOPRIGHT;
    if (right && bottom) return HTBOTTOMRIGHT;
    if (left && bottom) return HTBOTTOMLEFT;
    if (left) return HTLEFT;
    if (top) return HTTOP;
    if (right) return HTRIGHT;
    if (bottom) return HTBOTTOM;
    return 0;
}

// ---------------------------------------------------------------------------
// The form's messages

void TsuiForm::OwnerWndProc(TMessage& m) {
    // Alt+Space opens the skinned title-bar menu instead of the system's.
    if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_KEYMENU && m.LParam == VK_SPACE &&
        titleBar_ && titleBar_->Visible() && !Destroying()) {
        titleBar_->ShowControlBoxMenu();
        m.Result = 0;
        return;
    }
    previousProc_(m);
    if (Destroying() || ownerForm_->Destroying() || !ownerForm_->HandleAllocated()) return;
    HWND wnd = ownerForm_->Handle();
    switch (m.Msg) {
    case WM_ACTIVATE:
        titleBar_->SetFormActive(LOWORD(m.WParam) != WA_INACTIVE);
        titleBar_->Update();
        break;
    case WM_KEYDOWN: {
        MSG msg{wnd, m.Msg, m.WParam, m.LParam, 0, {}};
        if (OfferShortCut(msg)) m.Result = 1;
        break;
    }
    case WM_SHOWWINDOW:
        // The frame draws the menu; the system's menu bar never shows.
        if (FormMenu(ownerForm_)) SetFormMenu(ownerForm_, nullptr);
        break;
    case WM_GETMINMAXINFO:
        if (initialBorderStyle_ != bsNone) {
            // Maximized straight onto the work area, the task bar left visible.
            auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
            const RECT work = GetWorkArea();
            HMONITOR monitor = MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST);
            MONITORINFO mi{sizeof mi, {}, {}, 0};
            GetMonitorInfoW(monitor, &mi);
            info->ptMaxPosition = POINT{work.left - mi.rcMonitor.left, work.top - mi.rcMonitor.top};
            info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
        }
        break;
    case WM_WINDOWPOSCHANGING:
        // A maximized window has no region: it goes before the window grows,
        // or clicks outside the old shape would pass the window by.
        if (IsZoomed(wnd)) titleBar_->UpdateRegion();
        break;
    case WM_SIZE: {
        // The region before the layout, which takes a while: clicks outside
        // a region that does not fit yet would pass the window by.
        titleBar_->FormResized();
        const bool zoomed = IsZoomed(wnd) != FALSE;
        if (startedMaximized_ && !zoomed && m.WParam != SIZE_MINIMIZED) {
            startedMaximized_ = false;
            SetWindowPos(wnd, nullptr, creationBounds_.left, creationBounds_.top,
                         creationBounds_.right - creationBounds_.left,
                         creationBounds_.bottom - creationBounds_.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (zoomed && initialBorderStyle_ != bsNone) {
            const RECT work = GetWorkArea();
            RECT now{};
            GetWindowRect(wnd, &now);
            if (!EqualRect(&now, &work))
                SetWindowPos(wnd, nullptr, work.left, work.top, work.right - work.left,
                             work.bottom - work.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        CoverGrownArea();
        LayoutInForm();
        PaintBorder();
        break;
    }
    case WM_ERASEBKGND:
        PaintBorder(reinterpret_cast<HDC>(m.WParam));
        break;
    case WM_NCHITTEST:
        if (!IsZoomed(wnd)) {
            POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
            ::ScreenToClient(wnd, &p);
            if (LRESULT zone = ResizeZone(p)) m.Result = zone;
        }
        break;
    default:
        break;
    }
}

bool TsuiForm::OfferShortCut(const MSG& msg) const {
    if (!menu_ || !ownerForm_ || !IsFormActive(ownerForm_) || !ownerForm_->Active()) return false;
    return menu_->IsShortCut(WORD(msg.wParam), CurrentShiftState());
}

// ---------------------------------------------------------------------------
// Panel, menu and removals

void TsuiForm::SetFormPanel(TCustomPanel* v) {
    if (v == this) {
        RefuseWithMessage(L"Sorry, you can't select the Form assign to FormPanel property");
        return;
    }
    formPanel_ = v;
    if (!v) return;
    FreeNotification(v);
    v->SetAlign(alClient);
    v->SetCaption(L"");
    if (!dynamic_cast<TsuiImagePanel*>(v)) {
        v->SetBevelInner(bvNone);
        v->SetBevelOuter(bvNone);
        v->SetBorderWidth(0);
    }
}

void TsuiForm::SetMenu(TMainMenu* v) {
    menu_ = v;
    if (v) FreeNotification(v);
    UpdateMenuBar();
}

void TsuiForm::MenuChanged() {
    UpdateMenuBar();
}

void TsuiForm::SetMenuBarColor(TColor v) {
    menuBarColor_ = v;
    UpdateMenuBar();
}

void TsuiForm::SetMenuBarHeight(int v) {
    menuBarHeight_ = v;
    UpdateMenuBar();
}

void TsuiForm::UpdateMenuBar() {
    if (!menu_) {
        if (TsuiMenuBar* bar = std::exchange(menuBar_, nullptr)) bar->Free();
        return;
    }
    if (!menuBar_) {
        menuBar_ = new TsuiMenuBar(this);
        // Among the top-aligned controls it goes right under the title bar.
        menuBar_->SetTop(titleBar_->Top() + titleBar_->Height());
        menuBar_->SetAlign(alTop);
        menuBar_->SetParent(this);
    }
    menuBar_->SetBarHeight(menuBarHeight_);
    menuBar_->SetBarColor(menuBarColor_);
    menuBar_->SetLook(UIStyle(), FileTheme());
    if (menuBar_->Menu() != menu_)
        menuBar_->SetMenu(menu_);
    else
        menuBar_->UpdateFromMenu();
}

void TsuiForm::SetPopupMenu(TPopupMenu* v) {
    popupMenu_ = v;
    if (v) FreeNotification(v);
}

void TsuiForm::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) {
        if (component == formPanel_) formPanel_ = nullptr;
        if (component == menu_) {
            menu_ = nullptr;
            UpdateMenuBar();
        }
        if (component == popupMenu_) popupMenu_ = nullptr;
        if (component == titleBar_) titleBar_ = nullptr;
        if (component == menuBar_) menuBar_ = nullptr;
    }
    TsuiStyled::Notification(component, operation);
}
