#include "skin/controls/SUIEdit.h"

#include "skin/controls/SUIFramedControl.h"

#include "numbers/NumberText.h"
#include "framework/Utils.h"

namespace {

// The frame the control paints around its text: one pixel in the border
// colour, one in the field's own colour.
constexpr int kBorderWidth = 2;

bool IsEmptyOrMinus(const std::wstring& text) {
    return text.empty() || text == L"-";
}

} // namespace

// ---------------------------------------------------------------------------
// TsuiEdit

const TClassInfo& TsuiEdit::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiEdit>(L"TsuiEdit", &TCustomEdit::StaticClass())
            .With(PublishStyle<TsuiEdit>)
            .Color(L"BorderColor", &TsuiEdit::BorderColor, &TsuiEdit::SetBorderColor)
            .Build();
    return info;
}

TsuiEdit::TsuiEdit(TComponent* owner) : TsuiStyled(owner) {
    SetBorderStyle(bsNone);
}

void TsuiEdit::SetBorderColor(TColor color) {
    borderColor_ = color;
    if (HandleAllocated()) PaintFrame();
}

void TsuiEdit::ApplyStyle() {
    borderColor_ = StyleLink().Color(ThemeElement::ControlBorderColor);
    Invalidate();
    if (HandleAllocated()) PaintFrame();
}

void TsuiEdit::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    RemoveSystemBorder(params);
}

void TsuiEdit::PaintFrame() {
    FrameWindowEdge(*this, borderColor_, Color(), true);
}

void TsuiEdit::WndProc(TMessage& m) {
    FramedWndProc(
        m, kBorderWidth, [this](TMessage& msg) { TCustomEdit::WndProc(msg); },
        [this] { PaintFrame(); });
}

// ---------------------------------------------------------------------------
// TsuiNumberEdit

const TClassInfo& TsuiNumberEdit::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiNumberEdit>(L"TsuiNumberEdit", &TsuiEdit::StaticClass())
            .Property(L"Mask", &TsuiNumberEdit::Mask, &TsuiNumberEdit::SetMask)
            .Property(L"Value", &TsuiNumberEdit::Value, &TsuiNumberEdit::SetValue)
            .Property(L"AutoSelectSigns", &TsuiNumberEdit::AutoSelectSigns,
                      &TsuiNumberEdit::SetAutoSelectSigns)
            .Build();
    return info;
}

TsuiNumberEdit::TsuiNumberEdit(TComponent* owner) : TsuiEdit(owner) {
    mask_ = L"0.00";
    SetValue(0);
    autoSelectSigns_ = 2;
}

void TsuiNumberEdit::CreateParams(TCreateParams& params) {
    TsuiEdit::CreateParams(params);
    params.Style |= ES_RIGHT;
}

// Formatting step: store, show through the mask; a changed text runs the
// change step, which parses the shown (rounded) number back into Value.
void TsuiNumberEdit::SetValue(double value) {
    value_ = value;
    SetText(numbers::FormatMask(value, mask_, DecimalSeparator()));
}

void TsuiNumberEdit::KeyPress(wchar_t& key) {
    TsuiEdit::KeyPress(key);
    if (key == 0) return;
    if (!numbers::AcceptNumberKey(key, mask_, Text(), SelStart(), DecimalSeparator())) {
        Beep();
        key = 0;
    }
}

void TsuiNumberEdit::Change() {
    const std::wstring text = Text();
    if (!IsEmptyOrMinus(text)) {
        const auto parsed = numbers::ParseNumber(text, DecimalSeparator());
        if (!parsed) {
            // Put the last good number back, then report the refused text.
            SetValue(value_);
            throw EConvertError(L"'" + text + L"' is not a valid floating point value");
        }
        value_ = *parsed;
    }
    TsuiEdit::Change();
}

void TsuiNumberEdit::SelectTrailingSigns() {
    if (autoSelectSigns_ > 0 && AutoSelect()) {
        const int length = static_cast<int>(Text().size());
        Select(length - autoSelectSigns_, autoSelectSigns_);
    }
}

void TsuiNumberEdit::DoEnter() {
    TsuiEdit::DoEnter();
    SelectTrailingSigns();
}

void TsuiNumberEdit::Click() {
    TsuiEdit::Click();
    // Every click in the field counts as entering it again.
    if (OnEnter) OnEnter(this);
    SelectTrailingSigns();
}

void TsuiNumberEdit::DoExit() {
    TsuiEdit::DoExit();
    if (IsEmptyOrMinus(Text())) SetText(L"0");
    const auto parsed = numbers::ParseNumber(Text(), DecimalSeparator());
    SetValue(parsed ? *parsed : value_);
}
