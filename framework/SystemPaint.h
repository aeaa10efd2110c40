#pragma once

// A system control that we draw over paints off screen: the system paints
// into a bitmap, our drawing goes on top, and the window gets the finished
// picture in one step, so nothing flickers between the two.

#include "framework/Controls.h"
#include "framework/Graphics.h"

#include <functional>

using TOffscreenStep = std::function<void(TOffscreenPaint& off)>;

// Answers WM_PAINT or WM_PRINTCLIENT m of window wnd: under prepares the
// bitmap (it starts blank), systemPaint is the control's own WM_PAINT, given
// the bitmap's DC in wParam, and over draws on the result. The picture goes
// to wParam's DC when there is one, else to the window between BeginPaint
// and EndPaint.
void PaintSystemOffscreen(HWND wnd, TMessage& m, const TWndMethod& systemPaint,
                          const TOffscreenStep& over, const TOffscreenStep& under = {});
