#include "framework/SystemPaint.h"

#include "framework/GdiHandles.h"

#include <algorithm>
#include <optional>

void PaintSystemOffscreen(HWND wnd, TMessage& m, const TWndMethod& systemPaint,
                          const TOffscreenStep& over, const TOffscreenStep& under) {
    std::optional<PaintDC> window;
    HDC target = reinterpret_cast<HDC>(m.WParam);
    if (!target) target = window.emplace(wnd).Get();
    RECT r{};
    GetClientRect(wnd, &r);
    {
        TOffscreenPaint off(target, std::max<int>(1, r.right), std::max<int>(1, r.bottom));
        if (under) under(off);
        TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(off.Canvas().Handle()), 0, 0};
        systemPaint(paint);
        if (over) over(off);
    }
    m.Result = 0;
}
