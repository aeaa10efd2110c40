#include "skin/controls/SUIListControls.h"

#include "skin/controls/SUIFramedControl.h"

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
    Invalidate();
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
