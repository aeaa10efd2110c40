#pragma once

// What a control paints, taken off screen so a test can probe its pixels.

#include "framework/Controls.h"
#include "framework/Graphics.h"

#include <windows.h>

#include <memory>

// What WM_PAINT with a DC in wParam puts on a bitmap of the control's size;
// `before` shows where the control paints nothing.
inline std::unique_ptr<TBitmap> Painted(TWinControl& control, TColor before = 0x00ABCDEF) {
    auto out = std::make_unique<TBitmap>(control.Width(), control.Height());
    out->Fill(before);
    control.Perform(WM_PAINT, reinterpret_cast<WPARAM>(out->Canvas().Handle()), 0);
    return out;
}
