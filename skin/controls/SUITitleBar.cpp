#include "skin/controls/SUITitleBar.h"

#include "skin/SUIFormFrame.h"

#include "framework/FormReader.h"
#include "framework/GdiHandles.h"
#include "framework/Timer.h"
#include "framework/Utils.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

const TEnumInfo& TitleBarAlignEnum() {
    static const TEnumInfo e =
        MakeEnum(L"TsuiTitleBarAlign",
                 {{L"suiLeft", suiLeft}, {L"suiRight", suiRight}, {L"suiClient", suiClient}});
    return e;
}

const TEnumInfo& TitleBarBtnTypeEnum() {
    static const TEnumInfo e = MakeEnum(L"TsuiTitleBarBtnType", {{L"suiMax", suiMax},
                                                                 {L"suiMin", suiMin},
                                                                 {L"suiClose", suiClose},
                                                                 {L"suiHelp", suiHelp},
                                                                 {L"suiControlBox", suiControlBox},
                                                                 {L"suiCustom", suiCustom}});
    return e;
}

const TEnumInfo& BiDiModeEnum() {
    static const TEnumInfo e =
        MakeEnum(L"TBiDiMode", {{L"bdLeftToRight", bdLeftToRight},
                                {L"bdRightToLeft", bdRightToLeft},
                                {L"bdRightToLeftNoAlign", bdRightToLeftNoAlign},
                                {L"bdRightToLeftReadingOnly", bdRightToLeftReadingOnly}});
    return e;
}

namespace {

constexpr int kButtonFrames = 18;

// The first of the three pictures of a kind in the style's button strip.
int ArtworkStart(TsuiTitleBarBtnType type) {
    switch (type) {
    case suiControlBox:
        return 1;
    case suiHelp:
        return 4;
    case suiMax:
        return 7;
    case suiMin:
        return 13;
    case suiClose:
        return 16;
    default:
        return 0;
    }
}

std::wstring LoadProgramString(UINT id, const wchar_t* fallback) {
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, size_t(length)) : std::wstring(fallback);
}

} // namespace

// ---------------------------------------------------------------------------
// Buttons

const TClassInfo& TsuiTitleBarButton::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiTitleBarButton>(L"TsuiTitleBarButton", &TObject::StaticClass())
            .Enum(L"UIStyle", &TsuiTitleBarButton::UIStyle, &TsuiTitleBarButton::SetUIStyle,
                  UIStyleEnum())
            .Enum(L"ButtonType", &TsuiTitleBarButton::ButtonType,
                  &TsuiTitleBarButton::SetButtonType, TitleBarBtnTypeEnum())
            .Property(L"Transparent", &TsuiTitleBarButton::Transparent,
                      &TsuiTitleBarButton::SetTransparent)
            .Property(L"Top", &TsuiTitleBarButton::Top, &TsuiTitleBarButton::SetTop)
            .Component(L"ControlBoxMenu", &TsuiTitleBarButton::ControlBoxMenu,
                       &TsuiTitleBarButton::SetControlBoxMenu)
            .Property(L"Visible", &TsuiTitleBarButton::Visible, &TsuiTitleBarButton::SetVisible)
            .Build();
    return info;
}

TsuiTitleBarButton::TsuiTitleBarButton(TsuiTitleBar* bar, TsuiTitleBarBtnType type)
    : bar_(bar), buttonType_(type) {
    auto changed = [this](TPicture*) { Changed(); };
    picNormal_.OnChange = changed;
    picMouseOn_.OnChange = changed;
    picMouseDown_.OnChange = changed;
}

void TsuiTitleBarButton::Changed() {
    if (bar_) bar_->Invalidate();
}

void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle v) {
    uiStyle_ = v;
    LoadArtwork();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType v) {
    if (v == suiControlBox && buttonType_ != suiControlBox && bar_) {
        for (const auto& other : bar_->buttons_) {
            if (other.get() != this && other->ButtonType() == suiControlBox) {
                RefuseWithMessage(
                    L"Sorry, only one button's ButtonType property can be \"suiControlBox\"");
                return;
            }
        }
    }
    buttonType_ = v;
    LoadArtwork();
}

void TsuiTitleBarButton::SetTransparent(bool v) {
    transparent_ = v;
    Changed();
}

void TsuiTitleBarButton::SetTop(int v) {
    top_ = v;
    Changed();
}

void TsuiTitleBarButton::SetVisible(bool v) {
    visible_ = v;
    Changed();
}

void TsuiTitleBarButton::SetControlBoxMenu(TPopupMenu* v) {
    controlBoxMenu_ = v;
    if (v && bar_) bar_->FreeNotification(v);
}

void TsuiTitleBarButton::LoadArtwork() {
    const int start = ArtworkStart(buttonType_);
    if (start == 0) return;
    const bool maximized = start == 7 && bar_ && bar_->FormMaximized();
    const int first = maximized ? 10 : start;
    shownMaximized_ = maximized;
    // The bar keeps its style's strip, so a theme file counts and nothing
    // is read again; another style is read from the built-in table.
    TBitmap own;
    const TBitmap* strip = bar_ && bar_->UIStyle() == uiStyle_ ? &bar_->strip_ : nullptr;
    if (strip) {
        const TsuiStyleLink& link = bar_->StyleLink();
        transparent_ = link.Bool(ThemeElement::TitleBarButtonTransparentBool);
        top_ = link.Int(ThemeElement::TitleBarButtonTopInt);
    } else {
        TsuiUIStyle style;
        ResolveThemeSource(nullptr, uiStyle_, style);
        GetBuiltInThemeBitmap(style, ThemeElement::TitleBarButtonImage, &own);
        strip = &own;
        transparent_ = GetBuiltInThemeBool(style, ThemeElement::TitleBarButtonTransparentBool);
        top_ = GetBuiltInThemeInt(style, ThemeElement::TitleBarButtonTopInt);
    }
    ExtractBitmapFrame(*strip, picNormal_.Bitmap(), kButtonFrames, first);
    ExtractBitmapFrame(*strip, picMouseOn_.Bitmap(), kButtonFrames, first + 1);
    ExtractBitmapFrame(*strip, picMouseDown_.Bitmap(), kButtonFrames, first + 2);
    Changed();
}

void TsuiTitleBarButton::UpdateMaxPictures() {
    if (buttonType_ != suiMax || !bar_ || bar_->Custom()) return;
    // Only when the glyph has to change: the form resizes often.
    if (bar_->FormMaximized() != shownMaximized_) LoadArtwork();
}

void TsuiTitleBarButton::Click() {
    TForm* form = bar_ ? bar_->Form() : nullptr;
    if (!form) return;
    switch (buttonType_) {
    case suiMax:
        if (bar_->FormMaximized()) {
            form->SetWindowState(wsNormal);
        } else {
            // Clicks outside the restored shape pass a window by, and the
            // maximized window takes a while to lay out.
            bar_->DropRegion();
            form->SetWindowState(wsMaximized);
            if (!bar_->OnFrame()) SetControlBounds(*form, GetWorkArea());
        }
        UpdateMaxPictures();
        break;
    case suiMin:
        if (Application && form == Application->MainForm())
            form->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        else
            ShowWindow(form->Handle(), SW_SHOWMINIMIZED);
        break;
    case suiClose:
        form->Close();
        break;
    case suiControlBox:
        if (controlBoxMenu_) {
            POINT p = bar_->ClientToScreen(POINT{0, bar_->Height()});
            controlBoxMenu_->Popup(p.x, p.y);
        }
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Sections

const TClassInfo& TsuiTitleBarSection::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiTitleBarSection>(L"TsuiTitleBarSection", &TObject::StaticClass())
            .Property(L"AutoSize", &TsuiTitleBarSection::AutoSize,
                      &TsuiTitleBarSection::SetAutoSize)
            .Property(L"Width", &TsuiTitleBarSection::Width, &TsuiTitleBarSection::SetWidth)
            .Enum(L"Align", &TsuiTitleBarSection::Align, &TsuiTitleBarSection::SetAlign,
                  TitleBarAlignEnum())
            .Property(L"Stretch", &TsuiTitleBarSection::Stretch, &TsuiTitleBarSection::SetStretch)
            .Build();
    return info;
}

TsuiTitleBarSection::TsuiTitleBarSection(TsuiTitleBar* bar) : bar_(bar) {
    picture_.OnChange = [this](TPicture*) {
        if (autoSize_ && picture_.Width() > 0) width_ = picture_.Width();
        Changed();
    };
}

void TsuiTitleBarSection::Changed() {
    if (bar_) bar_->Invalidate();
}

void TsuiTitleBarSection::SetAutoSize(bool v) {
    autoSize_ = v;
    if (v && picture_.Width() > 0) width_ = picture_.Width();
    Changed();
}

void TsuiTitleBarSection::SetWidth(int v) {
    width_ = v;
    Changed();
}

void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign v) {
    if (v == suiClient && align_ != suiClient && bar_) {
        for (const auto& other : bar_->sections_) {
            if (other.get() != this && other->Align() == suiClient) {
                RefuseWithMessage(L"Sorry, only one section's Align property can be \"suiClient\"");
                return;
            }
        }
    }
    align_ = v;
    if (v == suiClient) stretch_ = true;
    Changed();
}

void TsuiTitleBarSection::SetStretch(bool v) {
    stretch_ = v || align_ == suiClient;
    Changed();
}

// ---------------------------------------------------------------------------
// The title-bar menu

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TsuiTitleBar* bar) : TsuiPopupMenu(bar), bar_(bar) {
    auto add = [this](const std::wstring& caption) {
        auto* item = new TMenuItem(this);
        item->SetCaption(caption);
        Items()->Add(item);
        return item;
    };
    minimize_ = add(LoadProgramString(SUI_TITLE_MENUITEM_MINIMIZE, L"Mi&nimize"));
    maximize_ = add(LoadProgramString(SUI_TITLE_MENUITEM_MAXIMIZE, L"Ma&ximize/Restore"));
    add(L"-");
    close_ = add(LoadProgramString(SUI_TITLE_MENUITEM_CLOSE, L"&Close"));
    auto runAll = [this](TsuiTitleBarBtnType type) {
        for (int i = 0; i < bar_->ButtonCount(); ++i)
            if (bar_->Buttons(i).ButtonType() == type) bar_->Buttons(i).Click();
    };
    minimize_->OnClick = [runAll](TObject*) { runAll(suiMin); };
    maximize_->OnClick = [runAll](TObject*) { runAll(suiMax); };
    close_->OnClick = [this](TObject*) {
        if (TForm* form = bar_->Form()) form->Close();
    };
    InstallItemHandlers();
}

void TsuiTitleBarPopupMenu::Popup(int x, int y) {
    // Enabled by the buttons present, whether shown or not.
    auto has = [this](TsuiTitleBarBtnType type) {
        for (int i = 0; i < bar_->ButtonCount(); ++i)
            if (bar_->Buttons(i).ButtonType() == type) return true;
        return false;
    };
    minimize_->SetEnabled(has(suiMin));
    maximize_->SetEnabled(has(suiMax));
    close_->SetEnabled(has(suiClose));
    TsuiPopupMenu::Popup(x, y);
}

// ---------------------------------------------------------------------------
// The title bar

const TClassInfo& TsuiTitleBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiTitleBar>(L"TsuiTitleBar", &TCustomControl::StaticClass())
            .Property(L"Custom", &TsuiTitleBar::Custom, &TsuiTitleBar::SetCustom)
            .With(PublishStyle<TsuiTitleBar>)
            .Property(L"AutoSize", &TsuiTitleBar::AutoSize, &TsuiTitleBar::SetAutoSize)
            .Enum(L"BiDiMode", &TsuiTitleBar::BiDiMode, &TsuiTitleBar::SetBiDiMode, BiDiModeEnum())
            .Property(L"ButtonInterval", &TsuiTitleBar::ButtonInterval,
                      &TsuiTitleBar::SetButtonInterval)
            .Property(L"Caption", &TsuiTitleBar::Caption, &TsuiTitleBar::SetCaption)
            .Object(L"Font", &TsuiTitleBar::Font, FontPropertyClass())
            .Property(L"FormActive", &TsuiTitleBar::FormActive, &TsuiTitleBar::SetFormActive)
            .Property(L"LeftBtnXOffset", &TsuiTitleBar::LeftBtnXOffset,
                      &TsuiTitleBar::SetLeftBtnXOffset)
            .Property(L"RightBtnXOffset", &TsuiTitleBar::RightBtnXOffset,
                      &TsuiTitleBar::SetRightBtnXOffset)
            .Property(L"DrawAppIcon", &TsuiTitleBar::DrawAppIcon, &TsuiTitleBar::SetDrawAppIcon)
            .Property(L"RoundCorner", &TsuiTitleBar::RoundCorner, &TsuiTitleBar::SetRoundCorner)
            .Event(L"OnCustomBtnsClick", &TsuiTitleBar::OnCustomBtnsClick)
            .Event(L"OnHelpBtnClick", &TsuiTitleBar::OnHelpBtnClick)
            .Build();
    return info;
}

TsuiTitleBar::TsuiTitleBar(TComponent* owner) : TsuiStyled(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    systemMenu_ = new TsuiTitleBarPopupMenu(this);
    controlBoxTimer_ = new TTimer(this);
    controlBoxTimer_->SetEnabled(false);
    controlBoxTimer_->OnTimer = [this](TObject*) { ShowControlBoxMenu(); };
    for (TsuiTitleBarBtnType type : {suiControlBox, suiClose, suiMax, suiMin})
        AddButton(type);
    SetAlign(alTop);
    SetHeight(22);
    font_.SetName(L"Tahoma");
    font_.SetStyle(TFontStyles{fsBold});
    font_.SetColor(clWhite);
    font_.OnChange = [this](TFont*) { Invalidate(); };
}

TsuiTitleBar::~TsuiTitleBar() = default;

TsuiTitleBarButton& TsuiTitleBar::AddButton(TsuiTitleBarBtnType type) {
    buttons_.push_back(std::make_unique<TsuiTitleBarButton>(this, type));
    TsuiTitleBarButton& b = *buttons_.back();
    b.SetUIStyle(UIStyle());
    return b;
}

void TsuiTitleBar::ClearButtons() {
    buttons_.clear();
    hot_ = -1;
    Invalidate();
}

TsuiTitleBarSection& TsuiTitleBar::AddSection() {
    sections_.push_back(std::make_unique<TsuiTitleBarSection>(this));
    Invalidate();
    return *sections_.back();
}

void TsuiTitleBar::ClearSections() {
    sections_.clear();
    Invalidate();
}

TForm* TsuiTitleBar::Form() const {
    return GetParentForm(this);
}

bool TsuiTitleBar::FormMaximized() const {
    TForm* form = Form();
    return form && form->HandleAllocated() && IsZoomed(form->Handle());
}

bool TsuiTitleBar::OnFrame() const {
    return dynamic_cast<const IsuiFormFrame*>(Parent()) != nullptr;
}

void TsuiTitleBar::ApplyStyle() {
    if (custom_) {
        Invalidate();
        return;
    }
    const TsuiStyleLink& link = StyleLink();
    sections_.clear();
    auto add = [this, &link](int element, TsuiTitleBarAlign align) {
        TsuiTitleBarSection& s = AddSection();
        try {
            link.Bitmap(element, s.Picture().Bitmap());
        } catch (const std::exception&) {
            // A theme without this picture leaves the section empty.
            s.Picture().Clear();
        }
        if (align != suiClient) s.SetAutoSize(true);
        s.SetAlign(align);
    };
    add(ThemeElement::TitleBarLeftImage, suiLeft);
    add(ThemeElement::TitleBarRightImage, suiRight);
    add(ThemeElement::TitleBarClientImage, suiClient);
    leftBtnXOffset_ = link.Int(ThemeElement::TitleBarButtonLeftOffsetInt);
    rightBtnXOffset_ = link.Int(ThemeElement::TitleBarButtonRightOffsetInt);
    outlineColor_ = link.Color(ThemeElement::FormBorderColor);
    try {
        link.Bitmap(ThemeElement::TitleBarButtonImage, strip_);
    } catch (const std::exception&) {
        strip_.SetSize(0, 0);
    }
    captionBandHeight_ = strip_.Height();
    captionBandTop_ = link.Int(ThemeElement::TitleBarButtonTopInt);
    if (TForm* form = Form())
        form->Constraints().SetMinWidth(link.Int(ThemeElement::FormMinWidthInt));
    roundCorner_ = link.Int(ThemeElement::FormRoundCornerInt);
    for (auto& b : buttons_)
        b->SetUIStyle(UIStyle());
    if (systemMenu_->FileTheme() != FileTheme()) systemMenu_->SetFileTheme(FileTheme());
    systemMenu_->SetUIStyle(UIStyle());
    if (OnFrame()) UpdateRegion();
    TsuiUIStyle effective;
    link.Resolve(effective);
    font_.SetColor(effective == TsuiUIStyle::MacOS ? TColor(0x000000) : TColor(0xFFFFFF));
    SetAutoSize(true);
    Invalidate();
}

void TsuiTitleBar::ThemeRemoved() {
    Invalidate();
}

void TsuiTitleBar::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) {
        for (auto& b : buttons_)
            if (component == b->controlBoxMenu_) b->controlBoxMenu_ = nullptr;
        if (component == systemMenu_) systemMenu_ = nullptr;
    }
    TsuiStyled::Notification(component, operation);
}

void TsuiTitleBar::SetAutoSize(bool v) {
    autoSize_ = v;
    ApplyAutoSize();
}

void TsuiTitleBar::ApplyAutoSize() {
    if (!autoSize_) return;
    if (sections_.empty() || sections_.front()->Picture().Height() <= 0) {
        autoSize_ = false;
        return;
    }
    SetHeight(sections_.front()->Picture().Height());
}

void TsuiTitleBar::SetButtonInterval(int v) {
    buttonInterval_ = v;
    Invalidate();
}

void TsuiTitleBar::SetCaption(const std::wstring& v) {
    caption_ = v;
    Invalidate();
}

void TsuiTitleBar::SetFormActive(bool v) {
    formActive_ = v;
    Invalidate();
}

void TsuiTitleBar::SetLeftBtnXOffset(int v) {
    leftBtnXOffset_ = v;
    Invalidate();
}

void TsuiTitleBar::SetRightBtnXOffset(int v) {
    rightBtnXOffset_ = v;
    Invalidate();
}

void TsuiTitleBar::SetDrawAppIcon(bool v) {
    drawAppIcon_ = v;
    Invalidate();
}

void TsuiTitleBar::SetRoundCorner(int v) {
    roundCorner_ = v;
    UpdateRegion();
    Invalidate();
}

// ---------------------------------------------------------------------------
// Layout, shared by painting and the mouse

TsuiTitleBar::TLayout TsuiTitleBar::Layout() const {
    TLayout layout;
    const int width = ClientWidth();
    int x = width + rightBtnXOffset_ + 1;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const TsuiTitleBarButton& b = *buttons_[i];
        if (!b.Visible() || b.ButtonType() == suiControlBox) continue;
        const int w = b.PicNormal().Width(), h = b.PicNormal().Height();
        x -= w + buttonInterval_ + 1;
        layout.buttons.push_back({int(i), RECT{x, b.Top(), x + w, b.Top() + h}});
    }
    layout.captionRight = x;
    int x2 = leftBtnXOffset_;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const TsuiTitleBarButton& b = *buttons_[i];
        if (!b.Visible() || b.ButtonType() != suiControlBox) continue;
        const int w = b.PicNormal().Width(), h = b.PicNormal().Height();
        layout.buttons.push_back({int(i), RECT{x2, b.Top(), x2 + w, b.Top() + h}});
        x2 += drawAppIcon_ ? 21 : w + 5;
        break;
    }
    if (x2 == 0) x2 = 6;
    layout.captionLeft = x2;
    return layout;
}

int TsuiTitleBar::ButtonAt(POINT p) const {
    for (const auto& place : Layout().buttons)
        if (PointInRect(p, place.rect)) return place.index;
    return -1;
}

std::wstring TsuiTitleBar::ShownCaption(TCanvas& canvas, int available) const {
    if (canvas.TextWidth(caption_) <= available) return caption_;
    std::wstring text = caption_;
    while (!text.empty() && canvas.TextWidth(text + L"...") > available)
        text.pop_back();
    // With no room even for "...", the ellipsis is shown clipped.
    return text + L"...";
}

// ---------------------------------------------------------------------------
// Painting

void TsuiTitleBar::DrawSections(TCanvas& canvas, int width, int height) const {
    int L = -1, R = width + 1;
    const TsuiTitleBarSection* client = nullptr;
    auto draw = [&canvas, height](const TsuiTitleBarSection& s, int x, int w) {
        if (!s.Picture().HasGraphic() || w <= 0) return;
        const TGraphic& g = *s.Picture().Graphic();
        if (s.Stretch()) {
            canvas.StretchDraw(RECT{x, 0, x + w, height}, g);
            return;
        }
        TCanvasState state(canvas);
        IntersectClipRect(canvas.Handle(), x, 0, x + w, height);
        canvas.Draw(x, 0, g);
    };
    for (const auto& s : sections_) {
        switch (s->Align()) {
        case suiLeft:
            draw(*s, L + 1, s->Width());
            L += s->Width();
            break;
        case suiRight:
            if (width - L >= s->Width()) {
                draw(*s, R - s->Width() - 1, s->Width());
                R -= s->Width();
            }
            break;
        case suiClient:
            client = s.get();
            break;
        }
    }
    if (client) draw(*client, L + 1, R - 1 - (L + 1));
}

void TsuiTitleBar::DrawButton(TCanvas& canvas, const TsuiTitleBarButton& button, const RECT& r,
                              bool hot) const {
    const TPicture& normal = button.PicNormal();
    if (!normal.HasGraphic()) return;
    const TPicture& picture =
        hot ? (pressed_ ? const_cast<TsuiTitleBarButton&>(button).PicMouseDown()
                        : const_cast<TsuiTitleBarButton&>(button).PicMouseOn())
            : normal;
    const TPicture& shown = picture.HasGraphic() ? picture : normal;
    TBitmap work(normal.Width(), normal.Height());
    work.Canvas().Draw(0, 0, *shown.Graphic());
    work.SetTransparent(button.Transparent());
    canvas.Draw(r.left, r.top, work);
}

void TsuiTitleBar::Paint() {
    const int W = ClientWidth(), H = ClientHeight();
    if (W <= 0 || H <= 0) return;
    TOffscreenPaint paint(Canvas().Handle(), W, H);
    TCanvas& canvas = paint.Canvas();
    FillControlRect(canvas, RECT{0, 0, W, H}, Color());
    DrawSections(canvas, W, H);

    // The mouse handlers keep hot_; a paint only shows it.
    const TLayout layout = Layout();
    for (const auto& place : layout.buttons) {
        const TsuiTitleBarButton& b = *buttons_[size_t(place.index)];
        const bool hot = place.index == hot_;
        if (b.ButtonType() == suiControlBox && drawAppIcon_) {
            IconHandle icon(static_cast<HICON>(
                LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, 0)));
            if (icon)
                DrawIconEx(canvas.Handle(), place.rect.left + 3, b.Top(), icon.Get(), 16, 16, 0,
                           nullptr, DI_NORMAL);
            continue;
        }
        DrawButton(canvas, b, place.rect, hot);
    }

    canvas.Brush().SetStyle(bsClear);
    canvas.SetFont(font_);
    if (!formActive_) canvas.Font().SetColor(TColor(0xFF000003));
    const int available = layout.captionRight - layout.captionLeft;
    const std::wstring text = ShownCaption(canvas, available);
    const int textHeight = canvas.TextHeight(text.empty() ? L"M" : text);
    {
        TCanvasState state(canvas);
        IntersectClipRect(canvas.Handle(), layout.captionLeft, 0,
                          std::max(layout.captionLeft, layout.captionRight), H);
        canvas.TextOut(layout.captionLeft, captionBandTop_ + (captionBandHeight_ - textHeight) / 2,
                       text);
    }

    TsuiUIStyle effective;
    StyleLink().Resolve(effective);
    if (effective != TsuiUIStyle::WinXP && roundCorner_ != 0 && OnFrame()) {
        canvas.Pen().SetColor(outlineColor_);
        canvas.Brush().SetStyle(bsClear);
        canvas.RoundRect(-1, 0, W + 1, H + 50, roundCorner_, roundCorner_ + 1);
    }
}

// ---------------------------------------------------------------------------
// The form's shape

void TsuiTitleBar::FormResized() {
    hot_ = -1; // the buttons moved; the next mouse move finds the hot one
    for (auto& b : buttons_)
        b->UpdateMaxPictures();
    UpdateRegion();
}

void TsuiTitleBar::DropRegion() {
    TForm* form = Form();
    // Cleared first: taking the region away sends the form size messages.
    if (form && form->HandleAllocated() && std::exchange(regionSet_, false))
        SetWindowRgn(form->Handle(), nullptr, TRUE);
}

void TsuiTitleBar::UpdateRegion() {
    TForm* form = Form();
    if (!OnFrame() || !form || !form->HandleAllocated()) return;
    const int r = roundCorner_;
    // A maximized window and a square one need no region.
    if (r <= 0 || FormMaximized()) {
        DropRegion();
        return;
    }
    RECT c{};
    GetClientRect(form->Handle(), &c);
    // The same shape again would only cost the window system a redraw.
    const RECT shape{c.right, c.bottom, r, 0};
    if (regionSet_ && EqualRect(&shape, &regionShape_)) return;
    RegionHandle region(CreateRoundRectRgn(c.left, c.top, c.right + 1, c.bottom + 1, r, r));
    RegionHandle left(CreateRectRgn(c.left, c.bottom - 2 * r, c.left + 2 * r, c.bottom));
    RegionHandle right(CreateRectRgn(c.right - 2 * r, c.bottom - 2 * r, c.right, c.bottom));
    if (!region || !left || !right) return;
    CombineRgn(region.Get(), region.Get(), left.Get(), RGN_OR);
    CombineRgn(region.Get(), region.Get(), right.Get(), RGN_OR);
    // The window owns the region once the call succeeds. What the shape
    // keeps is painted already: no redraw, which would paint every control.
    if (SetWindowRgn(form->Handle(), region.Get(), FALSE)) {
        region.Release();
        regionSet_ = true;
        regionShape_ = shape;
    }
}

// ---------------------------------------------------------------------------
// Mouse

void TsuiTitleBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TsuiStyled::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (shift.Contains(ssDouble)) {
        DoubleClickAt(POINT{x, y});
        return;
    }
    pressed_ = true;
    hot_ = ButtonAt(POINT{x, y});
    Repaint();
    TForm* form = Form();
    // The system moves the window while the button is really held; a click
    // made of messages alone must not start a move that waits for it.
    if (hot_ < 0 && form && !FormMaximized() && (GetKeyState(VK_LBUTTON) & 0x8000)) {
        ReleaseCapture();
        POINT p = ClientToScreen(POINT{x, y});
        SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
        pressed_ = false;
        Repaint();
    } else if (hot_ < 0) {
        pressed_ = false;
    }
}

void TsuiTitleBar::MouseMove(TShiftState shift, int x, int y) {
    TsuiStyled::MouseMove(shift, x, y);
    SetHot(ButtonAt(POINT{x, y}));
}

void TsuiTitleBar::MouseLeave() {
    TsuiStyled::MouseLeave();
    SetHot(-1);
}

void TsuiTitleBar::SetHot(int index) {
    if (index == hot_) return;
    hot_ = index;
    Repaint();
}

void TsuiTitleBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TsuiStyled::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    const int index = pressed_ ? ButtonAt(POINT{x, y}) : -1;
    pressed_ = false;
    Invalidate();
    if (index < 0) return;
    TsuiTitleBarButton& b = *buttons_[size_t(index)];
    if (b.ButtonType() == suiControlBox) {
        // Its menu waits for the double-click time: a second click closes
        // the window instead, and an open menu would swallow that click.
        controlBoxTimer_->SetInterval(GetDoubleClickTime());
        controlBoxTimer_->SetEnabled(true);
        return;
    }
    b.Click();
    if (b.ButtonType() == suiCustom && OnCustomBtnsClick)
        OnCustomBtnsClick(this, index);
    else if (b.ButtonType() == suiHelp && OnHelpBtnClick)
        OnHelpBtnClick(this);
}

void TsuiTitleBar::ShowControlBoxMenu() {
    controlBoxTimer_->SetEnabled(false);
    for (auto& b : buttons_) {
        if (b->ButtonType() != suiControlBox) continue;
        if (b->ControlBoxMenu()) {
            b->Click();
        } else if (systemMenu_) {
            POINT p = ClientToScreen(POINT{0, Height()});
            systemMenu_->Popup(p.x, p.y);
        }
        return;
    }
}

void TsuiTitleBar::DoubleClickAt(POINT p) {
    controlBoxTimer_->SetEnabled(false);
    const int index = ButtonAt(p);
    if (index < 0) {
        for (auto& b : buttons_) {
            if (b->ButtonType() == suiMax) {
                b->Click();
                break;
            }
        }
    } else if (buttons_[size_t(index)]->ButtonType() == suiControlBox) {
        if (TForm* form = Form()) form->Close();
    }
}

void TsuiTitleBar::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONUP:
        // What the window's own zones start belongs to the window.
        if (TForm* form = Form()) {
            m.Result = form->Perform(m.Msg, m.WParam, m.LParam);
            return;
        }
        break;
    default:
        break;
    }
    TsuiStyled::WndProc(m);
}
