#include "skin/controls/SUIStatusBar.h"

#include "skin/SUIFormFrame.h"
#include "skin/SUIThemes.h"

#include "framework/SystemPaint.h"
#include "framework/Utils.h"

#include <algorithm>

const TClassInfo& TsuiStatusBar::StaticClass() {
    static const TClassInfo& info =
        TClassBuilder<TsuiStatusBar>(L"TsuiStatusBar", &TStatusBar::StaticClass())
            .With(PublishStyle<TsuiStatusBar>)
            .Color(L"PanelColor", &TsuiStatusBar::PanelColor, &TsuiStatusBar::SetPanelColor)
            .Build();
    return info;
}

TsuiStatusBar::TsuiStatusBar(TComponent* owner) : TsuiStyled(owner) {}

void TsuiStatusBar::ApplyStyle() {
    SetPanelColor(StyleLink().Color(ThemeElement::FormBackgroundColor));
    Invalidate();
}

void TsuiStatusBar::CreateParams(TCreateParams& params) {
    TsuiStyled::CreateParams(params);
    // The system's grip would take the corner's mouse messages for itself
    // and size the frame panel rather than the window: ours replaces it.
    params.Style &= ~DWORD(SBARS_SIZEGRIP);
}

bool TsuiStatusBar::GripWanted() const {
    const auto* frame = dynamic_cast<const IsuiFormFrame*>(Parent());
    return frame && frame->SizeGripAllowed();
}

TsuiStatusBar::TGripLayout TsuiStatusBar::GripLayout() const {
    if (!GripWanted()) return {}; // a maximized window's grip corner reacts no more
    if (grip_.Empty()) {
        grip_.LoadFromResourceName(MainInstance(), L"STATUSBAR_HANDLE");
        grip_.SetTransparent(true); // keyed by its bottom-left pixel
    }
    const int w = Width(), h = Height(), gw = grip_.Width(), gh = grip_.Height();
    return {true, POINT{w - gw - 1, h - gh - 1}, RECT{w - gw / 2 - 2, h - gh / 2 - 2, w, h}};
}

void TsuiStatusBar::WndProc(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1; // the paint below covers every pixel, off screen
        return;
    }
    if (m.Msg != WM_PAINT && m.Msg != WM_PRINTCLIENT) {
        TsuiStyled::WndProc(m);
        return;
    }
    // The system and the grip paint off screen, then reach the screen at once.
    PaintSystemOffscreen(
        Handle(), m, [this](TMessage& paint) { TsuiStyled::WndProc(paint); },
        [this](TOffscreenPaint& off) {
            if (const TGripLayout grip = GripLayout(); grip.shown)
                off.Canvas().Draw(grip.drawAt.x, grip.drawAt.y, grip_);
        });
}

void TsuiStatusBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TsuiStyled::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    buttonDown_ = true;
    TrackGrip(x, y);
    // The pointer runs ahead of the window while it is dragged.
    if (overGrip_) SetMouseCapture(true);
}

void TsuiStatusBar::MouseMove(TShiftState shift, int x, int y) {
    TsuiStyled::MouseMove(shift, x, y);
    // A button released where we did not hear of it ends the drag too.
    if (!shift.Contains(ssLeft)) buttonDown_ = false;
    if (!buttonDown_) {
        TrackGrip(x, y);
        return;
    }
    if (!overGrip_) return;
    TForm* form = GetParentForm(this);
    if (!form) return;
    POINT p = ClientToScreen(POINT{x, y});
    // The window's bottom-right corner follows the pointer, 5 pixels beyond
    // it; the form's constraints still decide the smallest size.
    form->SetBounds(form->Left(), form->Top(), p.x - form->Left() + 5, p.y - form->Top() + 5);
}

void TsuiStatusBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TsuiStyled::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    buttonDown_ = false;
    if (MouseCapture()) SetMouseCapture(false);
    TrackGrip(x, y);
}

void TsuiStatusBar::TrackGrip(int x, int y) {
    const TGripLayout grip = GripLayout();
    overGrip_ = grip.shown && PointInRect(POINT{x, y}, grip.hot);
    SetCursor(overGrip_ ? crSizeNWSE : crDefault);
}
