#include "skin/controls/SUIListControls.h"

#include "skin/controls/SUIFramedControl.h"

#include "framework/GdiHandles.h"
#include "framework/Utils.h"

// ---------------------------------------------------------------------------
// TsuiComboBox

const TClassInfo& TsuiComboBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiComboBox>(L"TsuiComboBox", &TComboBox::StaticClass())
            .Enum(L"UIStyle", &TsuiComboBox::UIStyle, &TsuiComboBox::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiComboBox::FileTheme, &TsuiComboBox::SetFileTheme)
            .Color(L"BorderColor", &TsuiComboBox::BorderColor, &TsuiComboBox::SetBorderColor)
            .Color(L"ArrowColor", &TsuiComboBox::ArrowColor, &TsuiComboBox::SetArrowColor)
            .Color(L"ButtonColor", &TsuiComboBox::ButtonColor, &TsuiComboBox::SetButtonColor)
            .Build();
    return info;
}

TsuiComboBox::TsuiComboBox(TComponent* owner) : TsuiStyled(owner) {
    SetUIStyle(GetOwnerFormStyle(owner));
}

void TsuiComboBox::ApplyStyle() {
    // The arrow is black in every style.
    arrowColor_ = clBlack;
    borderColor_ = StyleLink().Color(ThemeElement::ControlBorderColor);
    buttonColor_ = StyleLink().Color(ThemeElement::FormBackgroundColor);
    if (UIStyle() == TsuiUIStyle::MacOS)
        buttonPicture_.LoadFromResourceName(MainInstance(), L"MACOS_COMBOBOX_BUTTON");
    else if (UIStyle() == TsuiUIStyle::WinXP)
        buttonPicture_.LoadFromResourceName(MainInstance(), L"WINXP_COMBOBOX_BUTTON");
    else
        buttonPicture_.SetSize(0, 0);
    Invalidate();
}

void TsuiComboBox::EnabledChanged() {
    TsuiStyled::EnabledChanged();
    Invalidate();
}

void TsuiComboBox::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
        TsuiStyled::WndProc(m);
        PaintSkin(reinterpret_cast<HDC>(m.WParam));
        return;
    case CN_COMMAND:
        TsuiStyled::WndProc(m);
        // The closed list leaves its frame's pixels on whatever lay below.
        if (HIWORD(m.WParam) == CBN_CLOSEUP && Parent()) Parent()->Invalidate();
        return;
    default:
        TsuiStyled::WndProc(m);
    }
}

void TsuiComboBox::PaintSkin(HDC dc) {
    // The simple style shows its list for good: the system's look stays.
    if (Style() == csSimple || !HandleAllocated()) return;
    const COMBOBOXINFO info = ComboBoxInfo();
    std::unique_ptr<TCanvas> canvas =
        dc ? std::make_unique<TCanvas>(dc) : std::make_unique<TWindowCanvas>(Handle());

    RECT r{0, 0, ClientWidth(), ClientHeight()};
    FrameControlRect(*canvas, r, borderColor_);
    InflateRect(&r, -1, -1);
    FrameControlRect(*canvas, r, Color());

    const RECT& b = info.rcButton;
    if (!buttonPicture_.Empty()) {
        canvas->StretchDraw(b, buttonPicture_);
    } else {
        FillControlRect(*canvas, b, buttonColor_);
        canvas->Pen().SetColor(borderColor_);
        canvas->MoveTo(b.left, b.top - 1);
        canvas->LineTo(b.left, b.bottom + 1);
    }

    // The WinXP picture brings its own arrow.
    if (UIStyle() != TsuiUIStyle::WinXP) {
        const int x = b.left + (b.right - b.left) / 2 - 3;
        const int y = (b.bottom - b.top) / 2;
        auto triangle = [&](int dx, TColor color) {
            const POINT points[] = {
                {x + dx, y + dx}, {x + 6 + dx, y + dx}, {x + 3 + dx, y + 3 + dx}};
            canvas->Pen().SetColor(color);
            canvas->Brush().SetColor(color);
            canvas->Polygon(points);
        };
        if (Enabled()) {
            triangle(0, arrowColor_);
        } else {
            triangle(1, clWhite);
            triangle(0, TColor(0x808080));
        }
    }

    // The dropped list is a window of its own: its edge gets the border too.
    if (info.hwndList && IsWindowVisible(info.hwndList)) {
        WindowDC listDc(info.hwndList, true);
        RECT lr{};
        GetWindowRect(info.hwndList, &lr);
        OffsetRect(&lr, -lr.left, -lr.top);
        BrushHandle brush(CreateSolidBrush(ColorToRGB(borderColor_)));
        FrameRect(listDc.Get(), &lr, brush.Get());
    }
}

void TsuiComboBox::SetBorderColor(TColor v) {
    borderColor_ = v;
    Invalidate();
}

void TsuiComboBox::SetArrowColor(TColor v) {
    arrowColor_ = v;
    Invalidate();
}

void TsuiComboBox::SetButtonColor(TColor v) {
    buttonColor_ = v;
    Invalidate();
}

// ---------------------------------------------------------------------------
// TsuiListBox and TsuiMemo

template <class Base>
TsuiFramedControl<Base>::TsuiFramedControl(TComponent* owner) : TsuiStyled<Base>(owner) {
    this->SetUIStyle(GetOwnerFormStyle(owner));
}

template <class Base> void TsuiFramedControl<Base>::ApplyStyle() {
    SetBorderColor(this->StyleLink().Color(ThemeElement::ControlBorderColor));
}

template <class Base> void TsuiFramedControl<Base>::SetBorderColor(TColor v) {
    borderColor_ = v;
    if (this->HandleAllocated()) FrameWindowEdge(*this, borderColor_, this->Color(), true);
}

template <class Base> void TsuiFramedControl<Base>::CreateParams(TCreateParams& params) {
    Base::CreateParams(params);
    RemoveSystemBorder(params);
}

template <class Base> void TsuiFramedControl<Base>::WndProc(TMessage& m) {
    FramedWndProc(
        m, 2, [this](TMessage& msg) { Base::WndProc(msg); },
        [this] { FrameWindowEdge(*this, borderColor_, this->Color(), true); });
}

template class TsuiFramedControl<TListBox>;
template class TsuiFramedControl<TMemo>;

const TClassInfo& TsuiListBox::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiListBox>(L"TsuiListBox", &TListBox::StaticClass())
            .Enum(L"UIStyle", &TsuiListBox::UIStyle, &TsuiListBox::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiListBox::FileTheme, &TsuiListBox::SetFileTheme)
            .Color(L"BorderColor", &TsuiListBox::BorderColor, &TsuiListBox::SetBorderColor)
            .Build();
    return info;
}

const TClassInfo& TsuiMemo::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiMemo>(L"TsuiMemo", &TMemo::StaticClass())
            .Enum(L"UIStyle", &TsuiMemo::UIStyle, &TsuiMemo::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiMemo::FileTheme, &TsuiMemo::SetFileTheme)
            .Color(L"BorderColor", &TsuiMemo::BorderColor, &TsuiMemo::SetBorderColor)
            .Build();
    return info;
}

// ---------------------------------------------------------------------------
// TsuiStringGrid

const TClassInfo& TsuiStringGrid::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiStringGrid>(L"TsuiStringGrid", &TStringGrid::StaticClass())
            .Enum(L"UIStyle", &TsuiStringGrid::UIStyle, &TsuiStringGrid::SetUIStyle, UIStyleEnum())
            .Component(L"FileTheme", &TsuiStringGrid::FileTheme, &TsuiStringGrid::SetFileTheme)
            .Color(L"BorderColor", &TsuiStringGrid::BorderColor, &TsuiStringGrid::SetBorderColor)
            .Color(L"FocusedColor", &TsuiStringGrid::FocusedColor, &TsuiStringGrid::SetFocusedColor)
            .Color(L"SelectedColor", &TsuiStringGrid::SelectedColor,
                   &TsuiStringGrid::SetSelectedColor)
            .Color(L"FixedFontColor", &TsuiStringGrid::FixedFontColor,
                   &TsuiStringGrid::SetFixedFontColor)
            .Color(L"BGColor", &TsuiStringGrid::BGColor, &TsuiStringGrid::SetBGColor)
            .Color(L"FixedBGColor", &TsuiStringGrid::FixedBGColor, &TsuiStringGrid::SetFixedBGColor)
            .Color(L"FontColor", &TsuiStringGrid::FontColor, &TsuiStringGrid::SetFontColor)
            .Property(L"Ctl3D", &TsuiStringGrid::Ctl3D, &TsuiStringGrid::SetCtl3D)
            .Build();
    return info;
}

TsuiStringGrid::TsuiStringGrid(TComponent* owner) : TsuiStyled(owner) {
    SetUIStyle(GetOwnerFormStyle(owner));
}

void TsuiStringGrid::ApplyStyle() {
    borderColor_ = StyleLink().Color(ThemeElement::ControlBorderColor);
    SetFixedColor(StyleLink().Color(ThemeElement::MenuSelectedBackgroundColor));
    SetColor(StyleLink().Color(ThemeElement::ControlBackgroundColor));
    fixedFontColor_ = StyleLink().Color(ThemeElement::MenuSelectedFontColor);
    SetFontColor(StyleLink().Color(ThemeElement::MenuFontColor));
}

void TsuiStringGrid::SetBorderColor(TColor v) {
    borderColor_ = v;
    Invalidate();
}

void TsuiStringGrid::SetFocusedColor(TColor v) {
    focusedColor_ = v;
    Invalidate();
}

void TsuiStringGrid::SetSelectedColor(TColor v) {
    selectedColor_ = v;
    Invalidate();
}

void TsuiStringGrid::SetFixedFontColor(TColor v) {
    fixedFontColor_ = v;
    Invalidate();
}

void TsuiStringGrid::SetFontColor(TColor v) {
    Font().SetColor(v);
    Invalidate();
}

void TsuiStringGrid::DrawCell(int col, int row, const RECT& rect, TGridDrawState state) {
    if (DefaultDrawing()) {
        TCanvas& canvas = Canvas();
        if (state.Contains(gdFixed)) {
            canvas.Font().SetColor(fixedFontColor_);
        } else {
            // The focused cell wins over the selection round it.
            TColor fill = Color();
            bool paint = state.Empty();
            if (state.Contains(gdSelected)) fill = selectedColor_, paint = true;
            if (state.Contains(gdFocused)) fill = focusedColor_, paint = true;
            if (paint) {
                canvas.Brush().SetStyle(bsSolid);
                canvas.Brush().SetColor(fill);
                canvas.FillRect(rect);
            }
        }
    }
    TStringGrid::DrawCell(col, row, rect, state);
}

void TsuiStringGrid::CreateParams(TCreateParams& params) {
    TStringGrid::CreateParams(params);
    RemoveSystemBorder(params);
}

void TsuiStringGrid::WndProc(TMessage& m) {
    switch (m.Msg) {
    case WM_PAINT: {
        // The erase that BeginPaint sends comes before a paint of every cell.
        const bool was = painting_;
        painting_ = true;
        TStringGrid::WndProc(m);
        painting_ = was;
        FrameWindowEdge(*this, borderColor_, Color(), false);
        return;
    }
    case WM_ERASEBKGND:
        // No erase under the cells, so they never flicker: the grid is
        // painted again whole instead.
        if (!painting_ && HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
        m.Result = 1;
        return;
    default:
        break;
    }
    FramedWndProc(
        m, 1, [this](TMessage& msg) { TStringGrid::WndProc(msg); },
        [this] {
            if (HandleAllocated()) FrameWindowEdge(*this, borderColor_, Color(), false);
        });
}
