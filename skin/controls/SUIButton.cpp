#include "skin/controls/SUIButton.h"

#include "skin/controls/SUIToolBar.h"

#include "framework/Utils.h"

#include <algorithm>
#include <cwctype>
#include <functional>

const TEnumInfo& ButtonLayoutEnum() {
    static const TEnumInfo info{L"TButtonLayout",
                                {{L"blGlyphLeft", blGlyphLeft},
                                 {L"blGlyphRight", blGlyphRight},
                                 {L"blGlyphTop", blGlyphTop},
                                 {L"blGlyphBottom", blGlyphBottom}}};
    return info;
}

const TEnumInfo& CheckBoxStateEnum() {
    static const TEnumInfo info{
        L"TCheckBoxState",
        {{L"cbUnchecked", cbUnchecked}, {L"cbChecked", cbChecked}, {L"cbGrayed", cbGrayed}}};
    return info;
}

namespace {

constexpr TColor kDisabledText = 0x808080;

bool IsBlank(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t c) { return c == 0 || std::iswspace(c); });
}

RECT Moved(RECT r, int dx, int dy) {
    OffsetRect(&r, dx, dy);
    return r;
}

// The platform's dotted focus rectangle, black on white like a dialog's.
void DrawPlatformFocus(TCanvas& canvas, const RECT& r) {
    HDC dc = canvas.PrepareHandle();
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &r);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

// Tells every control of the form about the focus again, as a change of the
// focused control would.
void RenotifyFocus(TForm& form) {
    const LPARAM focused = reinterpret_cast<LPARAM>(form.ActiveControl());
    std::function<void(TWinControl&)> walk = [&](TWinControl& w) {
        for (int i = 0; i < w.ControlCount(); ++i) {
            TControl* child = w.Controls(i);
            child->Perform(CM_FOCUSCHANGED, 0, focused);
            if (auto* cw = dynamic_cast<TWinControl*>(child)) walk(*cw);
        }
    };
    walk(form);
}

// A glyph or picture in a description: the bytes of a .bmp file, or the
// name of a bitmap resource of the executable.
void LoadStoredBitmap(TBitmap& target, const TValue& v) {
    if (v.kind == TValue::Kind::Binary) {
        if (v.bytes.empty())
            target.SetSize(0, 0);
        else
            target.LoadFromBytes(v.bytes);
    } else if (v.kind == TValue::Kind::String || v.kind == TValue::Kind::Ident) {
        target.LoadFromResourceName(MainInstance(), v.text);
    } else if (v.kind == TValue::Kind::None) {
        target.SetSize(0, 0);
    } else {
        throw EPropertyError(L"a bitmap { … } or a resource name is expected, not " + v.Describe());
    }
}

void LoadStoredPicture(TPicture& target, const TValue& v) {
    auto bitmap = std::make_unique<TBitmap>();
    LoadStoredBitmap(*bitmap, v);
    if (bitmap->Empty())
        target.Clear();
    else
        target.SetGraphic(std::move(bitmap));
}

} // namespace

// ---------------------------------------------------------------------------
// TsuiCustomButton

const TClassInfo& TsuiCustomButton::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiCustomButton>(L"TsuiCustomButton", &TCustomControl::StaticClass())
            .Property(L"ModalResult", &TsuiCustomButton::ModalResult,
                      &TsuiCustomButton::SetModalResult)
            .Property(L"Transparent", &TsuiCustomButton::Transparent,
                      &TsuiCustomButton::SetTransparent)
            .Property(L"AutoSize", &TsuiCustomButton::AutoSize, &TsuiCustomButton::SetAutoSize)
            .Property(L"FocusedRectMargin", &TsuiCustomButton::FocusedRectMargin,
                      &TsuiCustomButton::SetFocusedRectMargin)
            .Property(L"MouseContinuouslyDownInterval",
                      &TsuiCustomButton::MouseContinuouslyDownInterval,
                      &TsuiCustomButton::SetMouseContinuouslyDownInterval)
            .Property(L"Cancel", &TsuiCustomButton::Cancel, &TsuiCustomButton::SetCancel)
            .Property(L"Default", &TsuiCustomButton::Default, &TsuiCustomButton::SetDefault)
            .With(PublishStyle<TsuiCustomButton>)
            .Event(L"OnMouseExit", &TsuiCustomButton::OnMouseExit)
            .Event(L"OnMouseContinuouslyDown", &TsuiCustomButton::OnMouseContinuouslyDown)
            .Build();
    return info;
}

TsuiCustomButton::TsuiCustomButton(TComponent* owner) : TsuiStyled(owner) {
    // No children, no double clicks (two quick presses are two clicks), and
    // the whole area is painted, so no background erase.
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csOpaque});
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
    SetParentColor(true);
}

TsuiCustomButton::~TsuiCustomButton() {
    FreeTimer();
}

void TsuiCustomButton::FreeTimer() {
    timer_.reset();
}

void TsuiCustomButton::SetTransparent(bool v) {
    transparent_ = v;
    TransparentChanged();
}

void TsuiCustomButton::TransparentChanged() {
    pictureTransparent_ = transparent_;
    Invalidate();
}

void TsuiCustomButton::SetAutoSize(bool v) {
    autoSize_ = v;
    UpdateAutoSize();
    Invalidate();
}

void TsuiCustomButton::SetFocusedRectMargin(int v) {
    focusedRectMargin_ = v;
    Invalidate();
}

void TsuiCustomButton::SetDefault(bool v) {
    default_ = v;
    if (TForm* form = GetParentForm(this)) RenotifyFocus(*form);
}

void TsuiCustomButton::UpdateAutoSize() {
    if (!autoSize_) return;
    // Always the built-in strip: a theme file's button does not size the control.
    TBitmap strip;
    GetBuiltInThemeBitmap(UIStyle(), ThemeElement::ButtonImage, &strip);
    const int height = strip.Height() == 0 ? 21 : strip.Height();
    const int width = strip.Width() == 0 ? 74 : strip.Width();
    SetBounds(Left(), Top(), width / 3, height);
}

void TsuiCustomButton::FontChanged() {
    TCustomControl::FontChanged();
    Invalidate();
}

void TsuiCustomButton::TextChanged() {
    Invalidate();
}

void TsuiCustomButton::LoadButtonFrame(TBitmap& graphic, int index) {
    StyleLink().Bitmap(ThemeElement::ButtonImage, graphic, index, 3);
}

void TsuiCustomButton::GetNormalPicture(TBitmap& graphic) {
    LoadButtonFrame(graphic, 1);
}
void TsuiCustomButton::GetHotPicture(TBitmap& graphic) {
    LoadButtonFrame(graphic, 2);
}
void TsuiCustomButton::GetPressedPicture(TBitmap& graphic) {
    LoadButtonFrame(graphic, 3);
}
void TsuiCustomButton::GetDisabledPicture(TBitmap& graphic) {
    LoadButtonFrame(graphic, 1);
}

void TsuiCustomButton::Paint() {
    TBitmap picture;
    try {
        if (!Enabled())
            GetDisabledPicture(picture);
        else if (pressed_)
            GetPressedPicture(picture);
        else if (hot_)
            GetHotPicture(picture);
        else
            GetNormalPicture(picture);
    } catch (const std::exception&) {
        // A missing picture must not stop the paint: the button goes blank-backed.
        picture.SetSize(0, 0);
    }
    if (picture.Empty()) picture.SetSize(74, 21);
    picture.SetTransparent(pictureTransparent_);

    const RECT client = ClientRect();
    const int w = client.right - client.left, h = client.bottom - client.top;
    // The bold flag belongs to one paint only.
    boldCaption_ = false;
    TOffscreenPaint paint(buffer_, Canvas().Handle(), w, h);
    TCanvas& canvas = paint.Canvas();
    if (transparent_ && Parent()) {
        // Buttons on a skinned tool bar take that bar's background.
        const bool onToolBar = dynamic_cast<const TsuiToolBar*>(Parent()) != nullptr;
        TControl& host = onToolBar ? static_cast<TControl&>(*Parent()) : *this;
        PaintParentBackground(canvas, host);
    } else {
        FillControlRect(canvas, RECT{0, 0, w, h}, Color());
    }
    DrawBackground(canvas, picture);
    if (Focused() && TabStop()) DrawFocus(canvas);
    const std::wstring caption = Caption();
    if (!IsBlank(caption)) DrawCaption(canvas, caption);
}

void TsuiCustomButton::DrawBackground(TCanvas& canvas, TBitmap& picture) {
    if (picture.Empty()) return;
    if (Enabled()) {
        // Straight from the bitmap: an image list for one draw costs
        // milliseconds under Wine and draws the same pixels.
        if (pictureTransparent_) picture.SetTransparentColor(picture.Pixel(0, 0));
        picture.SetTransparent(pictureTransparent_);
        canvas.Draw(0, 0, picture);
        return;
    }
    TImageList list(picture.Width(), picture.Height());
    if (pictureTransparent_)
        list.AddMasked(picture, picture.Pixel(0, 0));
    else
        list.Add(picture, nullptr);
    list.Draw(canvas, 0, 0, 0, Enabled());
}

void TsuiCustomButton::DrawCaption(TCanvas& canvas, const std::wstring& caption) {
    DrawCaptionText(canvas, caption, RECT{0, 0, ClientWidth(), ClientHeight()},
                    DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void TsuiCustomButton::DrawCaptionText(TCanvas& canvas, const std::wstring& caption,
                                       const RECT& rect, UINT flags) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().Assign(Font());
    if (boldCaption_) canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    boldCaption_ = false;
    RECT r = rect;
    if (!Enabled()) {
        canvas.Font().SetColor(clWhite);
        r = Moved(rect, 1, 1);
        canvas.DrawText(caption, r, flags);
        canvas.Font().SetColor(kDisabledText);
        r = rect;
        canvas.DrawText(caption, r, flags);
    } else {
        if (pressed_) r = Moved(rect, 1, 1);
        canvas.DrawText(caption, r, flags);
    }
}

void TsuiCustomButton::DrawFocus(TCanvas& canvas) {
    const int m = focusedRectMargin_;
    DrawPlatformFocus(canvas, RECT{m, m, ClientWidth() - m, ClientHeight() - m});
}

void TsuiCustomButton::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::WndProc(m);
        Invalidate();
        return;
    case CM_FOCUSCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::WndProc(m);
}

void TsuiCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        pressed_ = true;
        if (!timer_) {
            timer_.reset(new TTimer(nullptr));
            timer_->OnTimer = [this](TObject*) {
                if (OnMouseContinuouslyDown) OnMouseContinuouslyDown(this);
            };
            timer_->SetInterval(unsigned(std::max(repeatInterval_, 0)));
        }
        Invalidate();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TsuiCustomButton::MouseMove(TShiftState shift, int x, int y) {
    if (x < 0 || y < 0 || x > Width() || y > Height()) {
        hot_ = false;
        pressed_ = false;
        Invalidate();
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TsuiCustomButton::MouseEnter() {
    hot_ = true;
    Invalidate();
    TCustomControl::MouseEnter();
}

void TsuiCustomButton::MouseLeave() {
    hot_ = false;
    pressed_ = false;
    FreeTimer();
    Invalidate();
    if (OnMouseExit && !Destroying()) OnMouseExit(this);
}

void TsuiCustomButton::Click() {
    if (pressed_) {
        FreeTimer();
        pressed_ = false;
        Invalidate();
    }
    if (TabStop() && CanFocus() && Enabled()) SetFocus();
    if (TForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TCustomControl::Click();
}

void TsuiCustomButton::KeyDown(WORD& key, TShiftState shift) {
    if ((key == VK_SPACE || key == VK_RETURN) && Focused() && Enabled()) {
        pressed_ = true;
        Invalidate();
    }
    TCustomControl::KeyDown(key, shift);
}

void TsuiCustomButton::KeyUp(WORD& key, TShiftState shift) {
    if ((key == VK_SPACE || key == VK_RETURN) && Focused() && pressed_ && Enabled()) {
        pressed_ = false;
        Invalidate();
        Click();
    }
    TCustomControl::KeyUp(key, shift);
}

bool TsuiCustomButton::DialogKey(WORD key, TShiftState shift) {
    if (shift.Contains(ssShift) || shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return false;
    const bool wanted = (key == VK_RETURN && default_) || (key == VK_ESCAPE && cancel_);
    if (!wanted || !CanFocus()) return false;
    Click();
    return true;
}

bool TsuiCustomButton::DialogChar(wchar_t ch, TShiftState) {
    if (!IsAccel(ch, Caption()) || !Enabled()) return false;
    Click();
    return true;
}

// ---------------------------------------------------------------------------
// TsuiButton

const TClassInfo& TsuiButton::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiButton>(L"TsuiButton", &TsuiCustomButton::StaticClass())
            .Custom(L"Glyph",
                    [](TsuiButton& b, const TValue& v) {
                        TBitmap glyph;
                        LoadStoredBitmap(glyph, v);
                        b.SetGlyph(glyph);
                    })
            .Enum(L"Layout", &TsuiButton::Layout, &TsuiButton::SetLayout, ButtonLayoutEnum())
            .Property(L"Spacing", &TsuiButton::Spacing, &TsuiButton::SetSpacing)
            .Property(L"ResHandle", &TsuiButton::ResHandle, &TsuiButton::SetResHandle)
            .Build();
    return info;
}

TsuiButton::TsuiButton(TComponent* owner) : TsuiCustomButton(owner) {
    SetBounds(0, 0, 80, 27);
}

void TsuiButton::SetGlyph(const TBitmap& glyph) {
    glyph_.Assign(glyph);
    Invalidate();
}

void TsuiButton::SetLayout(TButtonLayout v) {
    layout_ = v;
    Invalidate();
}

void TsuiButton::SetSpacing(int v) {
    spacing_ = v;
    Invalidate();
}

void TsuiButton::StyleChanged() {
    SetTransparent(StyleLink().Bool(ThemeElement::ButtonTransparentBool));
}

void TsuiButton::DrawBackground(TCanvas& canvas, TBitmap& picture) {
    canvas.Font().Assign(Font());
    const int W = ClientWidth(), H = ClientHeight();
    DrawNinePart(picture, canvas, RECT{0, 0, W, H}, PictureTransparentFlag());
    if (glyph_.Empty()) return;

    int gw = glyph_.Width();
    const int gh = glyph_.Height();
    const bool twoFrames = gw == 2 * gh; // enabled and disabled side by side
    if (twoFrames) gw = gh;
    const SIZE text = canvas.TextExtent(Caption());
    const int tw = text.cx, th = text.cy;
    POINT g{}, t{};
    switch (layout_) {
    case blGlyphLeft:
        g = POINT{(W - gw - tw - spacing_) / 2, (H - gh) / 2};
        t = POINT{g.x + gw + spacing_, (H - th) / 2};
        break;
    case blGlyphRight:
        g = POINT{(W + tw + spacing_ - gw) / 2, (H - gh) / 2};
        t = POINT{g.x - tw - spacing_, (H - th) / 2};
        break;
    case blGlyphTop:
        g = POINT{(W - gw) / 2, (H - th - gh - spacing_) / 2};
        t = POINT{(W - tw) / 2, g.y + gh + spacing_};
        break;
    case blGlyphBottom:
        g = POINT{(W - gw) / 2, (H + th + spacing_ - gh) / 2};
        t = POINT{(W - tw) / 2, g.y - th - spacing_};
        break;
    }
    textPos_ = t;
    if (Pressed()) {
        ++g.x;
        ++g.y;
    }
    glyphPos_ = g;

    TBitmap frame;
    if (twoFrames)
        ExtractBitmapFrame(glyph_, frame, 2, Enabled() ? 1 : 2);
    else
        frame.Assign(glyph_);
    const TColor key = frame.Pixel(0, 0);
    if (!twoFrames && !Enabled()) {
        TImageList list(frame.Width(), frame.Height());
        list.AddMasked(frame, key);
        list.Draw(canvas, g.x, g.y, 0, false);
    } else {
        frame.SetTransparentColor(key);
        frame.SetTransparent(true);
        canvas.Draw(g.x, g.y, frame);
    }
}

void TsuiButton::DrawCaption(TCanvas& canvas, const std::wstring& caption) {
    if (glyph_.Empty()) {
        TsuiCustomButton::DrawCaption(canvas, caption);
        return;
    }
    DrawCaptionText(canvas, caption, RECT{textPos_.x, textPos_.y, ClientWidth(), ClientHeight()},
                    DT_SINGLELINE | DT_LEFT | DT_TOP);
}

void TsuiButton::DrawFocus(TCanvas& canvas) {
    if (UIStyle() == TsuiUIStyle::MacOS || UIStyle() == TsuiUIStyle::BlueGlass)
        SetBoldCaption(true);
    else
        TsuiCustomButton::DrawFocus(canvas);
}

// ---------------------------------------------------------------------------
// TsuiImageButton

const TClassInfo& TsuiImageButton::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiImageButton>(L"TsuiImageButton", &TsuiCustomButton::StaticClass())
            .Custom(L"PicNormal", [](TsuiImageButton& b,
                                     const TValue& v) { LoadStoredPicture(b.PicNormal(), v); })
            .Custom(L"PicMouseOn", [](TsuiImageButton& b,
                                      const TValue& v) { LoadStoredPicture(b.PicMouseOn(), v); })
            .Custom(
                L"PicMouseDown",
                [](TsuiImageButton& b, const TValue& v) { LoadStoredPicture(b.PicMouseDown(), v); })
            .Custom(L"PicDisabled", [](TsuiImageButton& b,
                                       const TValue& v) { LoadStoredPicture(b.PicDisabled(), v); })
            .Property(L"Stretch", &TsuiImageButton::Stretch, &TsuiImageButton::SetStretch)
            .Property(L"DrawFocused", &TsuiImageButton::DrawFocused,
                      &TsuiImageButton::SetDrawFocused)
            .Build();
    return info;
}

TsuiImageButton::TsuiImageButton(TComponent* owner) : TsuiCustomButton(owner) {
    for (TPicture* p : {&picNormal_, &picMouseOn_, &picMouseDown_, &picDisabled_})
        p->OnChange = [this](TPicture*) { Invalidate(); };
}

TsuiImageButton::~TsuiImageButton() {
    for (TPicture* p : {&picNormal_, &picMouseOn_, &picMouseDown_, &picDisabled_})
        p->OnChange = nullptr;
}

void TsuiImageButton::SetStretch(bool v) {
    stretch_ = v;
    Invalidate();
}

void TsuiImageButton::SetDrawFocused(bool v) {
    drawFocused_ = v;
    Invalidate();
}

void TsuiImageButton::CopyPicture(const TPicture& picture, TBitmap& graphic) const {
    if (!picture.HasGraphic()) return;
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(picture.Graphic())) {
        graphic.Assign(*bitmap);
        return;
    }
    // An icon or the like: drawn onto the key colour, which the paint leaves out.
    graphic.SetSize(picture.Width(), picture.Height());
    graphic.Fill(clFuchsia);
    picture.Graphic()->Draw(graphic.Canvas(), RECT{0, 0, picture.Width(), picture.Height()});
}

void TsuiImageButton::GetNormalPicture(TBitmap& graphic) {
    CopyPicture(picNormal_, graphic);
}
void TsuiImageButton::GetHotPicture(TBitmap& graphic) {
    CopyPicture(picMouseOn_.HasGraphic() ? picMouseOn_ : picNormal_, graphic);
}
void TsuiImageButton::GetPressedPicture(TBitmap& graphic) {
    CopyPicture(picMouseDown_.HasGraphic() ? picMouseDown_ : picNormal_, graphic);
}
void TsuiImageButton::GetDisabledPicture(TBitmap& graphic) {
    CopyPicture(picDisabled_.HasGraphic() ? picDisabled_ : picNormal_, graphic);
}

void TsuiImageButton::DrawBackground(TCanvas& canvas, TBitmap& picture) {
    if (picture.Empty()) return;
    picture.SetTransparentColor(picture.Pixel(0, 0));
    picture.SetTransparent(true);
    if (stretch_)
        canvas.StretchDraw(RECT{0, 0, ClientWidth(), ClientHeight()}, picture);
    else
        canvas.Draw(0, 0, picture);
}

void TsuiImageButton::DrawFocus(TCanvas& canvas) {
    if (drawFocused_) TsuiCustomButton::DrawFocus(canvas);
}

// ---------------------------------------------------------------------------
// TsuiCheckBox

const TClassInfo& TsuiCheckBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiCheckBox>(L"TsuiCheckBox", &TCustomControl::StaticClass())
            .Property(L"Checked", &TsuiCheckBox::Checked, &TsuiCheckBox::SetChecked)
            .Enum(L"State", &TsuiCheckBox::State, &TsuiCheckBox::SetState, CheckBoxStateEnum())
            .Property(L"AutoSize", &TsuiCheckBox::AutoSize, &TsuiCheckBox::SetAutoSize)
            .Property(L"Transparent", &TsuiCheckBox::Transparent, &TsuiCheckBox::SetTransparent)
            .With(PublishStyle<TsuiCheckBox>)
            .Event(L"OnClick", &TsuiCheckBox::OnClick)
            .Build();
    return info;
}

TsuiCheckBox::TsuiCheckBox(TComponent* owner) : TsuiStyled(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csOpaque});
    SetBounds(0, 0, 93, 17);
    SetTabStop(true);
    SetParentColor(true);
}

void TsuiCheckBox::SetChecked(bool v) {
    if (v == checked_) return;
    checked_ = v;
    Invalidate();
    CheckedChanged();
}

void TsuiCheckBox::CheckedChanged() {
    if (!Loading() && OnClick) OnClick(this);
}

void TsuiCheckBox::Toggle() {
    SetChecked(!checked_);
}

bool TsuiCheckBox::ShowsFocus() const {
    return TabStop() && Focused();
}

void TsuiCheckBox::SetAutoSize(bool v) {
    autoSize_ = v;
    if (autoSize_) {
        TBitmap picture;
        LoadPicture(picture);
        TMemoryCanvas measure;
        UpdateAutoSize(picture, measure);
    }
    Invalidate();
}

void TsuiCheckBox::SetTransparent(bool v) {
    transparent_ = v;
    Invalidate();
}

void TsuiCheckBox::LoadPicture(TBitmap& picture) {
    // Frames: 1 checked, 2 unchecked, 3 checked disabled, 4 unchecked disabled.
    const int frame = checked_ ? (Enabled() ? 1 : 3) : (Enabled() ? 2 : 4);
    StyleLink().Bitmap(PictureElement(), picture, frame, 4);
}

void TsuiCheckBox::UpdateAutoSize(const TBitmap& picture, TCanvas& canvas) {
    if (!autoSize_) return;
    canvas.Font().Assign(Font());
    const int textHeight = canvas.TextHeight(L"W");
    const int height = std::max(textHeight + 2, picture.Height()) + 4;
    const int width = picture.Width() + canvas.TextWidth(Caption()) + 8;
    if (width != Width() || height != Height()) SetBounds(Left(), Top(), width, height);
}

void TsuiCheckBox::Paint() {
    TBitmap picture;
    LoadPicture(picture);
    picture.SetTransparent(PictureTransparent());
    UpdateAutoSize(picture, Canvas());

    const int w = ClientWidth(), h = ClientHeight();
    TOffscreenPaint paint(buffer_, Canvas().Handle(), w, h);
    TCanvas& canvas = paint.Canvas();
    if (transparent_ && Parent())
        PaintParentBackground(canvas, *this);
    else
        FillControlRect(canvas, RECT{0, 0, w, h}, Color());
    canvas.Draw(1, (h - picture.Height()) / 2, picture);

    canvas.Font().Assign(Font());
    canvas.Brush().SetStyle(bsClear);
    const int textHeight = canvas.TextHeight(L"W");
    const int y = (h - textHeight) / 2;
    // The caption keeps its colour when disabled: only the picture says so.
    RECT text{picture.Width() + 4, y, w, h};
    canvas.DrawText(Caption(), text, DT_SINGLELINE | DT_LEFT | DT_TOP);
    if (ShowsFocus())
        DrawPlatformFocus(canvas, RECT{picture.Width() + 3, y, w, y + textHeight + 2});
}

void TsuiCheckBox::WndProc(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return;
    }
    TCustomControl::WndProc(m);
    switch (m.Msg) {
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        // Sized now rather than at the next paint, so a group lays out real sizes.
        if (autoSize_) SetAutoSize(true);
        Invalidate();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_FOCUSCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
}

void TsuiCheckBox::Click() {
    if (CanFocus() && Enabled()) SetFocus();
    Toggle();
    TCustomControl::Click();
}

void TsuiCheckBox::KeyUp(WORD& key, TShiftState shift) {
    if ((key == VK_SPACE || key == VK_RETURN) && Focused() && Enabled() && KeyToggles()) {
        Invalidate();
        Click();
    }
    TCustomControl::KeyUp(key, shift);
}

bool TsuiCheckBox::DialogChar(wchar_t ch, TShiftState) {
    if (!IsAccel(ch, Caption()) || !Enabled()) return false;
    if (CanFocus()) SetFocus();
    Click();
    return true;
}

// ---------------------------------------------------------------------------
// TsuiRadioButton

const TClassInfo& TsuiRadioButton::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiRadioButton>(L"TsuiRadioButton", &TsuiCheckBox::StaticClass())
            .Property(L"GroupIndex", &TsuiRadioButton::GroupIndex, &TsuiRadioButton::SetGroupIndex)
            .Build();
    return info;
}

TsuiRadioButton::TsuiRadioButton(TComponent* owner) : TsuiCheckBox(owner) {}

void TsuiRadioButton::CheckedChanged() {
    if (!Checked()) return;
    if (TWinControl* parent = Parent()) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            auto* other = dynamic_cast<TsuiRadioButton*>(parent->Controls(i));
            if (other && other != this && other->GroupIndex() == groupIndex_)
                other->SetChecked(false);
        }
    }
    if (!Loading() && OnClick) OnClick(this);
}

void TsuiRadioButton::Toggle() {
    if (!Checked()) SetChecked(true);
}

void TsuiRadioButton::WndProc(TMessage& m) {
    TsuiCheckBox::WndProc(m);
    if (m.Msg != WM_SETFOCUS || Destroying()) return;
    // Arrow keys move the focus between the items of a radio group; arriving
    // from a sibling item selects this one, tabbing in from elsewhere does not.
    HWND lost = reinterpret_cast<HWND>(m.WParam);
    if (!lost || lost == Handle()) return;
    wchar_t name[261] = {};
    GetClassNameW(lost, name, 260);
    if (std::wstring_view(name) == L"TsuiRadioGroupButton") Click();
}
